#include "screens/FieldRules.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <limits>

#include "core/Def_Globales.h"
#include "platform/Platform.h"

namespace fieldrules {

bool IsDigitChar(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool EndsWithDigitOrIsEmpty(const QString& text) { return text.isEmpty() || IsDigitChar(text.back()); }

std::optional<int> WholeNumber(const QString& text) {
  if (text.isEmpty() || !std::all_of(text.begin(), text.end(), IsDigitChar)) return std::nullopt;
  qsizetype first = 0;
  while (first + 1 < text.size() && text.at(first) == QLatin1Char('0')) ++first;
  const QString digits = text.mid(first);
  if (digits.size() > 9) return std::numeric_limits<int>::max();
  return digits.toInt();
}

std::optional<QString> NormalisedOctet(const QString& text) {
  const auto value = WholeNumber(text);
  if (!value || *value > 255) return std::nullopt;
  return QString::number(*value);
}

std::optional<QString> NormalisedDigitValue(const QString& text, int maxValue) {
  const auto value = WholeNumber(text);
  if (!value || *value == 0 || *value > maxValue) return std::nullopt;
  return QString::number(*value);
}

bool PhoneLengthAccepted(qsizetype length, int minDigits, int maxDigits) {
  return length == 0 || (length >= minDigits && length <= maxDigits);
}

QString PhoneLengthMessage(int minDigits, int maxDigits) {
  return QStringLiteral("El número de teléfono debe contener entre %1 y %2 dígitos")
      .arg(minDigits)
      .arg(maxDigits);
}

std::optional<bool> LoadButtonAfterChange(const QString& text, int minDigits) {
  // An emptied box cannot be loaded, however it was emptied.
  if (text.isEmpty()) return false;
  // A wrong last character is removed at once and the shortened text decides.
  if (!IsDigitChar(text.back())) return std::nullopt;
  return text.size() >= minDigits;
}

}  // namespace fieldrules

namespace {

using fieldrules::NormalisedDigitValue;
using fieldrules::NormalisedOctet;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// While a refusal is being handled, the focus moves about (the message box, then
// back to the refused box); those moves are not the user leaving other boxes.
int g_refusalsInProgress = 0;

struct RefusalInProgress {
  RefusalInProgress() { ++g_refusalsInProgress; }
  ~RefusalInProgress() { --g_refusalsInProgress; }
  RefusalInProgress(const RefusalInProgress&) = delete;
  RefusalInProgress& operator=(const RefusalInProgress&) = delete;
};

QHash<const QObject*, FieldRules*>& Registry() {
  static QHash<const QObject*, FieldRules*> rules;
  return rules;
}

// Focus lost to another window, a popup or a menu, or taken away by the window
// itself, is not the user moving to another control.
bool IsMoveWithinWindow(Qt::FocusReason reason) {
  switch (reason) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::NoFocusReason:
      return false;
    default:
      return true;
  }
}

// Where the caret stood for the rules: the start of the selection when there is one.
int CaretOf(const QLineEdit* box) {
  return box->hasSelectedText() ? box->selectionStart() : box->cursorPosition();
}

// A mouse press (or wheel turn) that took the focus out of a refused box is still on
// its way to the control under the pointer when the refusal is over. That control
// must not act on it: the user has to correct the box first.
class PressSwallower final : public QObject {
 public:
  explicit PressSwallower(QWidget* refusedBox) : refusedBox_(refusedBox) {
    qApp->installEventFilter(this);
    // The press is delivered before control returns to the event loop.
    QTimer::singleShot(0, this, [this] { Finish(); });
  }

 private:
  bool eventFilter(QObject* target, QEvent* event) override {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::Wheel) {
      return false;
    }
    if (!target->isWidgetType()) return false;  // the window, before its widget
    Finish();
    const auto* widget = static_cast<QWidget*>(target);
    if (refusedBox_ && (widget == refusedBox_ || refusedBox_->isAncestorOf(widget))) return false;
    event->accept();
    return true;
  }

  void Finish() {
    qApp->removeEventFilter(this);
    deleteLater();
  }

  QPointer<QWidget> refusedBox_;
};

}  // namespace

bool LastCharIsDigit(const QString& text) {
  if (fieldrules::EndsWithDigitOrIsEmpty(text)) return true;
  platform::ShowMessage(Utf8(kKeystrokeText), Utf8(kKeystrokeTitle), platform::MsgIcon::Exclamation);
  return false;
}

bool IsValidOctet(const QString& text) {
  if (NormalisedOctet(text)) return true;
  ShowCriticalMessage(Utf8(kOctetRangeText), Utf8(kOctetRangeTitle));
  return false;
}

platform::MsgAnswer ShowCriticalMessage(const QString& text, const QString& caption) {
  return platform::ShowMessage(text, caption, platform::MsgIcon::Critical, platform::MsgButtons::Ok);
}

// ---- FieldRules ----

FieldRules::FieldRules(QLineEdit* box, int lengthLimit)
    : QObject(box), box_(box), lengthLimit_(lengthLimit) {
  Registry().insert(box, this);
  if (lengthLimit_ > 0) box->setMaxLength(std::max<int>(lengthLimit_, box->text().size()));
  box->installEventFilter(this);
  connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { OnTextChanged(text); });
  static const bool following = static_cast<bool>(
      QObject::connect(qApp, &QApplication::focusChanged, &FieldRules::OnFocusChanged));
  (void)following;
}

FieldRules::~FieldRules() {
  auto it = Registry().find(box_);
  if (it != Registry().end() && it.value() == this) Registry().erase(it);
}

FieldRules* FieldRules::Of(const QObject* box) {
  if (!box) return nullptr;
  return Registry().value(box, nullptr);
}

void FieldRules::SetText(const QString& text) {
  const int limit = lengthLimit_ > 0 ? std::max<int>(lengthLimit_, text.size()) : box_->maxLength();
  if (box_->maxLength() < limit) box_->setMaxLength(limit);
  box_->setText(text);
  if (box_->maxLength() != limit) box_->setMaxLength(limit);
  box_->setCursorPosition(0);
}

bool FieldRules::CheckNow() {
  exitPending_ = false;
  return Leave(Qt::OtherFocusReason, CaretOf(box_));
}

void FieldRules::RemoveLastCharacter() {
  const QString text = box_->text();
  if (text.isEmpty()) return;
  box_->setText(text.chopped(1));
  box_->setCursorPosition(box_->text().size());
}

void FieldRules::SelectFromCaretToEnd(int caret) {
  const int length = box_->text().size();
  caret = std::clamp(caret, 0, length);
  if (caret == length) {
    box_->setCursorPosition(caret);  // also drops a select-all made by the Tab key
    return;
  }
  box_->setSelection(caret, length - caret);
}

// The box's own focus handling runs after this filter, so the rules only note what
// happened here and act once the focus has settled (OnFocusChanged).
bool FieldRules::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_) return false;
  if (event->type() == QEvent::FocusIn) {
    exitPending_ = false;
    entryPending_ = IsMoveWithinWindow(static_cast<QFocusEvent*>(event)->reason());
    caretOnEntry_ = CaretOf(box_);
  } else if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Passed through while another box's refusal took the focus back: it was never
    // entered, so the caret goes back to where it was (the Tab key selects all).
    if (entryPending_) box_->setCursorPosition(caretOnEntry_);
    entryPending_ = false;
    exitPending_ = IsMoveWithinWindow(reason) && g_refusalsInProgress == 0 && box_->isVisible();
    exitReason_ = reason;
    caretOnExit_ = CaretOf(box_);
  }
  return false;
}

// The box left runs its exit rule before the box entered runs its entry rule; when
// the exit rule refuses, the focus is back in the box left and nothing was entered.
void FieldRules::OnFocusChanged(QWidget* old, QWidget* now) {
  if (FieldRules* left = Of(old); left && left->exitPending_) {
    left->exitPending_ = false;
    if (!left->Leave(left->exitReason_, left->caretOnExit_)) return;
  }
  FieldRules* entered = Of(now);
  if (!entered || !entered->entryPending_) return;
  entered->entryPending_ = false;
  if (now->hasFocus()) entered->OnEntered(entered->caretOnEntry_);
}

bool FieldRules::Leave(Qt::FocusReason reason, int caret) {
  RefusalInProgress refusal;
  if (Accept()) return true;
  box_->setFocus(Qt::OtherFocusReason);
  AfterRefusal(caret);
  if (reason == Qt::MouseFocusReason) new PressSwallower(box_);
  return false;
}

// ---- The three kinds ----

OctetRules::OctetRules(QLineEdit* box) : FieldRules(box, kOctetLengthLimit) {}

void OctetRules::OnTextChanged(const QString& text) {
  if (!LastCharIsDigit(text)) RemoveLastCharacter();
}

bool OctetRules::Accept() {
  const QString text = Box()->text();
  if (!IsValidOctet(text)) return false;
  SetText(*NormalisedOctet(text));
  return true;
}

DigitRules::DigitRules(QLineEdit* box, const DigitBoxTexts& texts)
    : FieldRules(box, texts.lengthLimit), texts_(texts) {}

void DigitRules::OnTextChanged(const QString& text) {
  if (fieldrules::EndsWithDigitOrIsEmpty(text)) return;
  platform::ShowMessage(Utf8(texts_.keystroke), Utf8(kDigitTitle), platform::MsgIcon::Exclamation);
  RemoveLastCharacter();
}

// Only whole numbers written with digits and within the box's range pass: a value
// set from a hand-edited file is judged like a typed one.
bool DigitRules::Accept() {
  const auto normalised = NormalisedDigitValue(Box()->text(), texts_.maxValue);
  if (!normalised) {
    platform::ShowMessage(Utf8(texts_.exit), Utf8(kDigitTitle), platform::MsgIcon::Exclamation);
    return false;
  }
  SetText(*normalised);
  return true;
}

PhoneRules::PhoneRules(QLineEdit* box) : FieldRules(box, 0) {}

void PhoneRules::SetLoadButton(QAbstractButton* button) { loadButton_ = button; }

void PhoneRules::SetLoadButtonEnabled(bool enabled) {
  if (loadButton_) loadButton_->setEnabled(enabled);
}

void PhoneRules::OnTextChanged(const QString& text) {
  if (!LastCharIsDigit(text)) {
    RemoveLastCharacter();  // the shortened text sets the button
    return;
  }
  if (const auto enabled = fieldrules::LoadButtonAfterChange(text, ServiceSettings.PhoneMinDigits)) {
    SetLoadButtonEnabled(*enabled);
  }
}

bool PhoneRules::Accept() {
  const QString text = Box()->text();
  const int minDigits = ServiceSettings.PhoneMinDigits;
  const int maxDigits = ServiceSettings.PhoneMaxDigits;
  if (fieldrules::PhoneLengthAccepted(text.size(), minDigits, maxDigits)) {
    if (!text.isEmpty()) SetLoadButtonEnabled(true);
    return true;
  }
  platform::ShowMessage(fieldrules::PhoneLengthMessage(minDigits, maxDigits), Utf8(kPhoneLengthTitle),
                        platform::MsgIcon::Exclamation);
  SetLoadButtonEnabled(false);
  return false;
}

void PhoneRules::AfterRefusal(int /*caret*/) { Box()->setCursorPosition(Box()->text().size()); }

// ---- Attaching ----

OctetRules* AttachOctetRules(QLineEdit* box) { return new OctetRules(box); }

DigitRules* AttachDigitRules(QLineEdit* box, const DigitBoxTexts& texts) {
  return new DigitRules(box, texts);
}

PhoneRules* AttachPhoneRules(QLineEdit* box, QAbstractButton* loadButton) {
  auto* rules = new PhoneRules(box);
  rules->SetLoadButton(loadButton);
  return rules;
}

void SetFieldText(QLineEdit* box, const QString& text) {
  if (FieldRules* rules = FieldRules::Of(box)) {
    rules->SetText(text);
    return;
  }
  box->setText(text);
  box->setCursorPosition(0);
}

bool CheckFocusedField(const QWidget* window) {
  FieldRules* rules = FieldRules::Of(window->focusWidget());
  return !rules || rules->CheckNow();
}
