#include "screens/fConfigurar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "password/AccessPassword.h"
#include "platform/Platform.h"
#include "screens/FieldRules.h"
#include "screens/PhoneCompleter.h"

namespace {

// The box shows plain line breaks; the dialogue itself keeps the modem's CR LF.
QString ForDisplay(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// How often the window catches up with the dialogue: at most every kCatchUpMs while
// lines are being sent, and kRefreshIntervalMs after the modem's text when not.
constexpr int kRefreshIntervalMs = 250;
constexpr int kCatchUpMs = 100;

QFont DialogueFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  return font;
}

}  // namespace

fConfigurar::fConfigurar(QWidget* parent) : Screen(parent) {
  setObjectName(QStringLiteral("fConfigurar"));
  setWindowTitle(QStringLiteral("Configuración del Módem ADSL"));

  auto* phoneRow = new QHBoxLayout;
  auto* Label2 = new QLabel(QStringLiteral("Número de Teléfono:"), this);
  tTelf = new QLineEdit(this);
  tTelf->setObjectName(QStringLiteral("tTelf"));
  tTelf->setToolTip(QStringLiteral("Número de Telefono del Abonado"));
  phoneRow->addWidget(Label2);
  phoneRow->addWidget(tTelf);
  phoneRow->addStretch();

  Frame1 = new QGroupBox(QStringLiteral("Secuencia de dialogo con el Módem ADSL:"), this);
  Text1 = new QPlainTextEdit(Frame1);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setReadOnly(true);
  Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1->setFont(DialogueFont());
  Text1->setMinimumSize(560, 280);
  (new QVBoxLayout(Frame1))->addWidget(Text1);

  lEstado = new QLabel(this);
  lEstado->setObjectName(QStringLiteral("lEstado"));
  pbLineas = new QProgressBar(this);
  pbLineas->setObjectName(QStringLiteral("pbLineas"));
  pbLineas->setRange(0, 1);
  pbLineas->setValue(0);
  pbLineas->setFormat(QStringLiteral("%v de %m líneas"));
  refreshTimer_ = new QTimer(this);
  refreshTimer_->setSingleShot(true);
  connect(refreshTimer_, &QTimer::timeout, this, &fConfigurar::Refresh);

  cInstalar = new QPushButton(QStringLiteral("Co&nfigurar"), this);
  cInstalar->setObjectName(QStringLiteral("cInstalar"));
  cInstalar->setToolTip(QStringLiteral("Iniciar la configuración del ATU-r"));
  cExit = new QPushButton(QStringLiteral("&Volver"), this);
  cExit->setObjectName(QStringLiteral("cExit"));
  cCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
  cCancelar->setObjectName(QStringLiteral("cCancelar"));
  cCancelar->setToolTip(QStringLiteral("Detener la configuración en curso"));
  cCancelar->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cInstalar);
  buttons->addWidget(cCancelar);
  buttons->addWidget(cExit);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(phoneRow);
  layout->addWidget(Frame1);
  layout->addWidget(lEstado);
  layout->addWidget(pbLineas);
  layout->addLayout(buttons);

  setTabOrder(tTelf, Text1);
  setTabOrder(Text1, cExit);
  setTabOrder(cExit, cInstalar);
  setTabOrder(cInstalar, cCancelar);

  session_ = std::make_unique<SessionRunner>(static_cast<SessionObserver&>(*this),
                                             SessionRunner::ForInstalledClock());
  AttachPhoneRules(tTelf, cInstalar);
  connect(cInstalar, &QPushButton::clicked, this, &fConfigurar::cInstalar_Click);
  connect(cExit, &QPushButton::clicked, this, &QWidget::close);
  connect(cCancelar, &QPushButton::clicked, this, [this] { session_->Cancel(); });
  // Escape is "Volver" when idle and "Cancelar" during a session.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          [this] { (cCancelar->isEnabled() ? cCancelar : cExit)->click(); });
  SetDefaultButton(cInstalar);
  Form_Load();
}

fConfigurar::~fConfigurar() {
  session_.reset();  // while the window is whole
  if (busyPointer_) QApplication::restoreOverrideCursor();
}

void fConfigurar::Form_Load() {
  LoadAccessPassword();
  (void)LoadServiceSettings();  // reports its own failure; the screen opens anyway
  tTelf->setMaxLength(ServiceSettings.PhoneMaxDigits);
  AttachPhoneCompleter(tTelf);  // the saved subscribers, offered as the number is typed
  cInstalar->setEnabled(false);
}

void fConfigurar::cInstalar_Click() {
  SetButtonsEnabled(false);  // at once: the session's own word comes from its thread
  (void)session_->Start(tTelf->text());
}

// A running session owns the port and the files: the window stays until it ends.
bool fConfigurar::CanClose() const { return !session_->IsRunning(); }

void fConfigurar::closeEvent(QCloseEvent* event) {
  if (!CanClose()) {
    event->ignore();
    if (closeWhenIdle_) return;  // already cancelling
    const auto answer = Show(QStringLiteral("¿Desea cancelar la carga en curso?"), QString(),
                             platform::MsgIcon::Exclamation, platform::MsgButtons::YesNo);
    if (answer == platform::MsgAnswer::Yes && session_->IsRunning()) {
      closeWhenIdle_ = true;
      session_->Cancel();
    }
    return;
  }
  Screen::closeEvent(event);
}

platform::MsgAnswer fConfigurar::Show(const QString& text, const QString& title,
                                      platform::MsgIcon icon, platform::MsgButtons buttons) {
  return platform::Current().messages->Show(text, title, icon, buttons);
}

void fConfigurar::SessionEnded(const SessionResult& /*result*/) {
  if (std::exchange(closeWhenIdle_, false)) close();
}

void fConfigurar::SetDialogueText(const QString& text) {
  pendingDialogue_.clear();
  Text1->setPlainText(ForDisplay(text));
}

void fConfigurar::AppendDialogueText(const QString& text) {
  pendingDialogue_ += text;
  if (!refreshTimer_->isActive()) refreshTimer_->start(kRefreshIntervalMs);
}

void fConfigurar::MoveCaretToEnd() {
  if (!pendingDialogue_.isEmpty()) return;  // the refresh puts it there
  QTextCursor cursor = Text1->textCursor();
  cursor.movePosition(QTextCursor::End);
  Text1->setTextCursor(cursor);
  Text1->ensureCursorVisible();
}

QString fConfigurar::Caption() const { return windowTitle(); }
void fConfigurar::SetCaption(const QString& caption) { setWindowTitle(caption); }

void fConfigurar::SetBusyPointer(bool busy) {
  if (busy == busyPointer_) return;
  busyPointer_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void fConfigurar::ShowStatus(const QString& text) { lEstado->setText(text); }

void fConfigurar::ShowProgress(int sent, int total) {
  progressSent_ = sent;
  progressTotal_ = total;
  // The count moves just before the next line is written: a zero timer runs in the
  // first turn of the event loop after the write. Too soon after the last refresh,
  // the catching up waits for a later line (or for the timer, when lines stop).
  const bool due = !sinceRefresh_.isValid() || sinceRefresh_.elapsed() >= kCatchUpMs;
  refreshTimer_->start(due ? 0 : kRefreshIntervalMs);
}

void fConfigurar::Refresh() {
  refreshTimer_->stop();
  sinceRefresh_.start();
  if (!pendingDialogue_.isEmpty()) {
    QTextCursor cursor = Text1->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(ForDisplay(std::exchange(pendingDialogue_, QString())));
    MoveCaretToEnd();
  }
  pbLineas->setRange(0, std::max(progressTotal_, 1));
  pbLineas->setValue(progressSent_);
  pbLineas->setTextVisible(progressTotal_ > 0);
}

void fConfigurar::SetButtonsEnabled(bool enabled) {
  cInstalar->setEnabled(enabled);
  cExit->setEnabled(enabled);
  cCancelar->setEnabled(!enabled);
  // The number names the files in use; it stays as it is until the session ends. A
  // read-only box has no blinking caret either, which would repaint twice a second.
  tTelf->setReadOnly(!enabled);
  Refresh();  // an ended session shows its whole dialogue and last count at once
}
