#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <Qt>

#include <optional>

#include "platform/MessageBoxes.h"

class QAbstractButton;
class QLineEdit;
class QWidget;

// The rules of the numeric entry boxes: octet boxes (one per octet of an address or
// mask), digit boxes (VPI, VCI, digit limits of phone numbers) and phone boxes. Each
// kind has a change rule (after every change of the text, typed, pasted or set by
// the program), a focus-entry rule and a focus-exit rule, the same on every screen.

// ---- The decisions, free of widgets ----
namespace fieldrules {

[[nodiscard]] bool IsDigitChar(QChar c);
[[nodiscard]] bool EndsWithDigitOrIsEmpty(const QString& text);
// The value of a text made of the digits 0 to 9 alone ("007" is 7). Signs, blanks,
// separators and exponents are not whole numbers here; nor is the empty text. A
// value too large for an int comes back as the largest int.
[[nodiscard]] std::optional<int> WholeNumber(const QString& text);
// The octet's text once accepted ("007" becomes "7"); nothing when refused.
[[nodiscard]] std::optional<QString> NormalisedOctet(const QString& text);
// A digit box's text once accepted (1 to maxValue, "09" becomes "9"); nothing when
// refused.
[[nodiscard]] std::optional<QString> NormalisedDigitValue(const QString& text, int maxValue);
// An empty phone box passes; the screens check emptiness when they use the number.
[[nodiscard]] bool PhoneLengthAccepted(qsizetype length, int minDigits, int maxDigits);
[[nodiscard]] QString PhoneLengthMessage(int minDigits, int maxDigits);
// The loading button after a change of the phone text; nothing: leave it as it is.
[[nodiscard]] std::optional<bool> LoadButtonAfterChange(const QString& text, int minDigits);

// How the focus came into a box.
enum class FocusWay {
  Key,      // Tab, Shift+Tab or an access key
  Click,
  Program,  // put there by the program, as after a refusal
  Back,     // back from another window, a popup or a menu: not an entry
};
[[nodiscard]] FocusWay WayOf(Qt::FocusReason reason);

// The caret, and the selection that runs from it.
struct Selection {
  int start = 0;
  int length = 0;
};

// The entry rule of octet and digit boxes. A text the program set (shown at opening,
// loaded, or written back by the exit rule) is selected whole, so typing replaces it;
// a text the user typed gets the selection from where the caret stood to its end,
// which is none when the caret was at the end. Nothing to do when the focus only came
// back to the window, or when a click put the caret in the user's own text.
[[nodiscard]] std::optional<Selection> EntrySelection(const QString& text, int caret, bool programText,
                                                      FocusWay way);

}  // namespace fieldrules

// ---- Texts ----
inline constexpr const char* kKeystrokeTitle = "Error: Formato no válido";
inline constexpr const char* kKeystrokeText = "Sólo se permite introducir números entre 0 y 9";
inline constexpr const char* kOctetRangeTitle = "Formato no válido";
inline constexpr const char* kOctetRangeText = "Se debe introducir un número comprendido entre 0 y 255";
inline constexpr const char* kDigitTitle = "Formato no válido";
inline constexpr const char* kPhoneLengthTitle = "Error: Formato no válido";

// What differs between the digit boxes.
struct DigitBoxTexts {
  const char* keystroke;  // shown when a character other than a digit is typed
  const char* exit;       // shown when the box is left empty, at 0 or too large
  int lengthLimit;
  int maxValue;
};

inline constexpr DigitBoxTexts kVpiBox{
    "Introduzca un valor entre 1 y 9 (ambos inclusive)",
    "Debe introducir un valor entre 1 y 9 (ambos inclusive)", 1, 9};
inline constexpr DigitBoxTexts kVciBox{
    "Introduzca un valor entre 1 y 99 (ambos inclusive)",
    "Debe introducir un valor entre 1 y 99 (ambos inclusive)", 2, 99};
inline constexpr DigitBoxTexts kPhoneDigitsBox{
    "Introduzca dígitos comprendidos entre 1 y 9 (ambos inclusive)",
    "Debe introducir un valor entre 1 y 99 (ambos inclusive)", 2, 99};

inline constexpr int kOctetLengthLimit = 3;

// ---- The screens' shared functions ----
// True when the text is empty or ends with a digit; otherwise shows the keystroke
// message and returns false.
[[nodiscard]] bool LastCharIsDigit(const QString& text);
// True when the text is a whole number from 0 to 255 written with digits; otherwise
// shows the range message and returns false.
[[nodiscard]] bool IsValidOctet(const QString& text);
// A modal box with the critical icon and an OK button.
platform::MsgAnswer ShowCriticalMessage(const QString& text, const QString& caption);

// ---- The rules attached to a box ----
// Lives as a child of its box and applies the decisions above to it. The entry rule
// runs as the focus arrives, after the box's own focus handling; the exit rule runs
// once the focus has settled in another control of the same window. Focus lost to
// another window, to a popup or to the window closing is not leaving the box.
class FieldRules : public QObject {
 public:
  // The rules attached to a box, if any.
  [[nodiscard]] static FieldRules* Of(const QObject* box);

  // Sets the text as the program does: entering the box then selects it all, and a
  // text longer than the length limit is kept whole for the exit rule to judge (the
  // box would otherwise cut it silently).
  void SetText(const QString& text);
  // Runs the exit rule now, for actions that leave the focus where it is (access
  // keys). False when the text is refused; the focus is then in the box.
  [[nodiscard]] bool CheckNow();

 protected:
  FieldRules(QLineEdit* box, int lengthLimit, bool entryRule);
  ~FieldRules() override;

  [[nodiscard]] QLineEdit* Box() const { return box_; }
  virtual void OnTextChanged(const QString& text) = 0;
  // Judges the text on leaving: normalises it and returns true, or reports why not
  // and returns false.
  [[nodiscard]] virtual bool Accept() = 0;

  void RemoveLastCharacter();

 private:
  // Where the focus went from the box, noted until the move is over.
  struct Departure {
    Qt::FocusReason reason;
    int caret;
  };

  bool eventFilter(QObject* watched, QEvent* event) override;
  static void OnFocusChanged(QWidget* old, QWidget* now);
  void Enter(fieldrules::FocusWay way, int caret);
  [[nodiscard]] bool Leave(Qt::FocusReason reason, int caret);
  void Select(const fieldrules::Selection& selection);

  QLineEdit* box_ = nullptr;
  int lengthLimit_ = 0;  // 0: the screen sets the box's limit itself
  bool entryRule_ = false;
  bool programText_ = true;  // false once the user has edited the text
  std::optional<Departure> departure_;
  bool pressBroughtFocus_ = false;  // the click that entered the box is still to come
};

class OctetRules final : public FieldRules {
 public:
  explicit OctetRules(QLineEdit* box);

 private:
  void OnTextChanged(const QString& text) override;
  [[nodiscard]] bool Accept() override;
};

class DigitRules final : public FieldRules {
 public:
  DigitRules(QLineEdit* box, const DigitBoxTexts& texts);

 private:
  void OnTextChanged(const QString& text) override;
  [[nodiscard]] bool Accept() override;

  DigitBoxTexts texts_;
};

// The length limits come from ServiceSettings at each check; the screen sets the
// box's length limit to PhoneMaxDigits when it opens.
class PhoneRules final : public FieldRules {
 public:
  explicit PhoneRules(QLineEdit* box);
  // The loading screen's button, enabled once the number is long enough.
  void SetLoadButton(QAbstractButton* button);

 private:
  void OnTextChanged(const QString& text) override;
  [[nodiscard]] bool Accept() override;
  void SetLoadButtonEnabled(bool enabled);

  QPointer<QAbstractButton> loadButton_;
};

// Attach the rules to a box (and set its length limit, for octets and digits).
OctetRules* AttachOctetRules(QLineEdit* box);
DigitRules* AttachDigitRules(QLineEdit* box, const DigitBoxTexts& texts);
PhoneRules* AttachPhoneRules(QLineEdit* box, QAbstractButton* loadButton = nullptr);

// Sets a box's text as the program does (see FieldRules::SetText); for a box without
// rules, the caret goes to the start as well.
void SetFieldText(QLineEdit* box, const QString& text);
// Runs the exit rule of the box that has the focus in this window, if it has rules:
// an action started by an access key must not act on a box that was never left.
[[nodiscard]] bool CheckFocusedField(const QWidget* window);
