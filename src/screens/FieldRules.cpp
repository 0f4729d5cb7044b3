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

FocusWay WayOf(Qt::FocusReason reason) {
  switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
      return FocusWay::Key;
    case Qt::MouseFocusReason:
      return FocusWay::Click;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::NoFocusReason:
      return FocusWay::Back;
    default:
      return FocusWay::Program;
  }
}

std::optional<Selection> EntrySelection(const QString& text, int caret, bool programText, FocusWay way) {
  if (way == FocusWay::Back) return std::nullopt;
  const int length = static_cast<int>(text.size());
  if (programText) return Selection{0, length};
  if (way == FocusWay::Click) return std::nullopt;
  caret = std::clamp(caret, 0, length);
  return Selection{caret, length - caret};
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

// ---- FieldRules: the Qt wiring ----

FieldRules::FieldRules(QLineEdit* box, int lengthLimit, bool entryRule)
    : QObject(box), box_(box), lengthLimit_(lengthLimit), entryRule_(entryRule) {
  Registry().insert(box, this);
  if (lengthLimit_ > 0) {
    // Changing the limit puts the caret at the end; it stays where the program put it.
    const int caret = box->cursorPosition();
    box->setMaxLength(std::max<int>(lengthLimit_, box->text().size()));
    box->setCursorPosition(caret);
  }
  box->installEventFilter(this);
  connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { OnTextChanged(text); });
  connect(box, &QLineEdit::textEdited, this, [this] { programText_ = false; });
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
  programText_ = true;
}

bool FieldRules::CheckNow() {
  departure_.reset();
  return Leave(Qt::OtherFocusReason, CaretOf(box_));
}

void FieldRules::RemoveLastCharacter() {
  const QString text = box_->text();
  if (text.isEmpty()) return;
  box_->setText(text.chopped(1));
  box_->setCursorPosition(box_->text().size());
}

void FieldRules::Select(const fieldrules::Selection& selection) {
  if (selection.length == 0) {
    box_->setCursorPosition(selection.start);  // also drops a select-all made by the Tab key
  } else {
    box_->setSelection(selection.start, selection.length);
  }
}

bool FieldRules::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_) return false;
  switch (event->type()) {
    case QEvent::FocusIn: {
      // The caret as it stood before the box's own handling (the Tab key selects all,
      // changing the limit moved it); the rule runs after that handling.
      const int caret = CaretOf(box_);
      box_->event(event);
      Enter(fieldrules::WayOf(static_cast<QFocusEvent*>(event)->reason()), caret);
      return true;
    }
    case QEvent::FocusOut: {
      pressBroughtFocus_ = false;
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      const bool leaving = fieldrules::WayOf(reason) != fieldrules::FocusWay::Back &&
                           g_refusalsInProgress == 0 && box_->isVisible();
      if (leaving) departure_ = Departure{reason, CaretOf(box_)};
      return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      // The click that entered the box would put the caret under the pointer and drop
      // the selection the entry rule made.
      if (!pressBroughtFocus_) return false;
      pressBroughtFocus_ = false;
      event->accept();
      return true;
    case QEvent::KeyPress:
      pressBroughtFocus_ = false;
      return false;
    default:
      return false;
  }
}

void FieldRules::Enter(fieldrules::FocusWay way, int caret) {
  if (!entryRule_) return;
  const auto selection = fieldrules::EntrySelection(box_->text(), caret, programText_, way);
  if (!selection) return;
  Select(*selection);
  pressBroughtFocus_ = way == fieldrules::FocusWay::Click;
}

// The exit rule runs once the focus has settled; when it refuses, the focus is back
// in the box left.
void FieldRules::OnFocusChanged(QWidget* old, QWidget* /*now*/) {
  FieldRules* left = Of(old);
  if (!left || !left->departure_) return;
  const Departure departure = *left->departure_;
  left->departure_.reset();
  (void)left->Leave(departure.reason, departure.caret);
}

bool FieldRules::Leave(Qt::FocusReason reason, int caret) {
  RefusalInProgress refusal;
  if (Accept()) return true;
  box_->setFocus(Qt::OtherFocusReason);
  if (entryRule_) {
    Select(*fieldrules::EntrySelection(box_->text(), caret, programText_, fieldrules::FocusWay::Program));
  } else {
    box_->setCursorPosition(box_->text().size());
  }
  pressBroughtFocus_ = false;
  if (reason == Qt::MouseFocusReason) new PressSwallower(box_);
  return false;
}

// ---- The three kinds ----

OctetRules::OctetRules(QLineEdit* box) : FieldRules(box, kOctetLengthLimit, true) {}

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
    : FieldRules(box, texts.lengthLimit, true), texts_(texts) {}

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

PhoneRules::PhoneRules(QLineEdit* box) : FieldRules(box, 0, false) {}

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
