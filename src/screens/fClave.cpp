#include "screens/fClave.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>

#include "core/Def_Globales.h"
#include "password/AccessPassword.h"
#include "platform/Cp1252.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kNullTitle = "Clave nula";
constexpr const char* kNullText =
    "Ha introducido un valor nulo para la clave de acceso, ¿Desea continuar?";
constexpr const char* kMismatchTitle = "La repetición de la clave no coincide";
constexpr const char* kMismatchText =
    "Las claves introducidas no coinciden. \r\nCompruebe que la clave y su confirmación coinciden";
constexpr const char* kChangedTitle = "Clave de acceso modificada";
constexpr const char* kChangedText = "La clave de acceso a los módems ADSL ha sido modificada";
constexpr const char* kNotStoredTitle = "Error almacenando clave de acceso";
constexpr const char* kNotStoredText =
    "No se ha podido almacenar la clave. \r\nCompruebe que dispone de los permisos adecuados";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

bool IsControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

// Refuses a keystroke or a paste that would put a character into the box that the
// password file or the serial line cannot carry.
class PasswordValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& /*pos*/) const override {
    return IsStorablePassword(input) ? Acceptable : Invalid;
  }
};

QLineEdit* NewPasswordBox(const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setEchoMode(QLineEdit::Password);
  box->setMaxLength(kPasswordLengthLimit);
  box->setValidator(new PasswordValidator(box));
  return box;
}

// Focus coming back from another window or a popup is not the user entering the box.
bool IsEntry(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
         reason != Qt::MenuBarFocusReason;
}

}  // namespace

bool IsStorablePassword(const QString& text) {
  if (std::any_of(text.begin(), text.end(), IsControl)) return false;
  return platform::FromCp1252(platform::ToCp1252(text)) == text;
}

fClave::fClave(QWidget* parent) : Screen(parent) {
  setObjectName(QStringLiteral("fClave"));
  setWindowTitle(QStringLiteral("Modificar clave de acceso..."));
  BuildControls();
  setTabOrder(tClave, tConfirmar);
  setTabOrder(tConfirmar, cSalvar);
  setTabOrder(cSalvar, cVolver);
  tClave->installEventFilter(this);
  tConfirmar->installEventFilter(this);
  connect(cSalvar, &QPushButton::clicked, this, &fClave::cSalvar_Click);
  connect(cVolver, &QPushButton::clicked, this, &QWidget::close);
  SetCancelButton(cVolver);
  SetDefaultButton(cSalvar);
  tClave->setFocus();
}

void fClave::BuildControls() {
  Label1 = new QLabel(QStringLiteral("Clave:"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  tClave = NewPasswordBox(QStringLiteral("tClave"), this);
  Label2 = new QLabel(QStringLiteral("Confirmar clave:"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  tConfirmar = NewPasswordBox(QStringLiteral("tConfirmar"), this);

  cSalvar = new QPushButton(QStringLiteral("&Salvar"), this);
  cSalvar->setObjectName(QStringLiteral("cSalvar"));
  cSalvar->setDefault(true);
  cVolver = new QPushButton(QStringLiteral("&Volver"), this);
  cVolver->setObjectName(QStringLiteral("cVolver"));

  auto* grid = new QGridLayout;
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(tClave, 0, 1);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(tConfirmar, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cSalvar);
  buttons->addWidget(cVolver);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

// Selecting here, before the box's own focus handling, keeps the selection whatever
// the way the focus came (that handling only adds a select-all for the Tab key).
bool fClave::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && IsEntry(static_cast<QFocusEvent*>(event)->reason())) {
    if (watched == tClave) tClave_GotFocus();
    if (watched == tConfirmar) tConfirmar_GotFocus();
  }
  return Screen::eventFilter(watched, event);
}

void fClave::tClave_GotFocus() { tClave->selectAll(); }
void fClave::tConfirmar_GotFocus() { tConfirmar->selectAll(); }

// Enter presses "Salvar", unless another button has the focus: then that one.
void fClave::cSalvar_Click() {
  const QString password = tClave->text();
  if (password.isEmpty() &&
      platform::ShowMessage(Utf8(kNullText), Utf8(kNullTitle), platform::MsgIcon::Exclamation,
                            platform::MsgButtons::YesNo) == platform::MsgAnswer::No) {
    tClave->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (!PasswordsMatch(password, tConfirmar->text())) {
    platform::ShowMessage(Utf8(kMismatchText), Utf8(kMismatchTitle), platform::MsgIcon::Exclamation);
    ReturnToPassword();
    return;
  }
  if (!SaveAccessPassword(password)) {  // it has shown the system's description
    platform::ShowMessage(Utf8(kNotStoredText), Utf8(kNotStoredTitle), platform::MsgIcon::Exclamation);
    ReturnToPassword();
    return;
  }
  platform::ShowMessage(Utf8(kChangedText), Utf8(kChangedTitle), platform::MsgIcon::Information);
  ServiceSettings.AccessPassword = password;
}

void fClave::ReturnToPassword() {
  tClave->setFocus(Qt::OtherFocusReason);
  tClave->selectAll();
}
