#include "screens/fMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/Def_Globales.h"
#include "platform/Platform.h"
#include "screens/Screen.h"
#include "screens/UserGuide.h"
#include "screens/dModem.h"
#include "screens/fConfigurar.h"
#include "screens/fClave.h"
#include "screens/fconfserv.h"

namespace {
QPointer<fMain> g_menu;
}

fMain::fMain(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("fMain"));
  setWindowTitle(QStringLiteral("Configuración Módems Zelvora ADSL (v. 1.0)"));

  auto* frame = new QGroupBox(QStringLiteral("Seleccione una opción:"), this);
  auto* column = new QVBoxLayout(frame);
  auto addButton = [&](const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumWidth(380);
    column->addWidget(button);
    return button;
  };
  cClave = addButton("cClave", QStringLiteral("Modificar &clave de acceso"));
  cServicio = addButton("cServicio", QStringLiteral("Configuración del  Servicio &ADSL"));
  cIntroDatos = addButton("cIntroDatos", QStringLiteral("&Introducir datos configuración"));
  cCargar = addButton("cCargar", QStringLiteral("&Cargar Configuración en el Módem"));
  cSalir = addButton("cSalir", QStringLiteral("&Salir de la aplicación"));
  setTabOrder(cClave, cServicio);
  setTabOrder(cServicio, cIntroDatos);
  setTabOrder(cIntroDatos, cCargar);
  setTabOrder(cCargar, cSalir);

  // Where the files go, always in sight: it is not always the program's own folder.
  lCarpeta = new QLabel(this);
  lCarpeta->setObjectName(QStringLiteral("lCarpeta"));
  lCarpeta->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addWidget(lCarpeta);

  connect(cClave, &QPushButton::clicked, this, &fMain::cClave_Click);
  connect(cServicio, &QPushButton::clicked, this, &fMain::cServicio_Click);
  connect(cIntroDatos, &QPushButton::clicked, this, &fMain::cIntroDatos_Click);
  connect(cCargar, &QPushButton::clicked, this, &fMain::cCargar_Click);
  connect(cSalir, &QPushButton::clicked, this, &fMain::cSalir_Click);
  // cSalir is the window's cancel button.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, cSalir,
          &QPushButton::click);

  g_menu = this;
  InstallHelpKey();  // F1 in every window, from the first one on
  Form_Load();
}

fMain::~fMain() = default;

fMain* fMain::Instance() { return g_menu; }

void fMain::ShowMenu() {
  if (!g_menu) new fMain();
  g_menu->show();
  g_menu->raise();
  g_menu->activateWindow();
}

void fMain::Form_Load() {
  SetStartupValues();
  platform::AppDirectory& folder = *platform::Current().appDirectory;
  lCarpeta->setText(QStringLiteral("Carpeta de trabajo: %1").arg(QDir::toNativeSeparators(folder.Path())));
  const QString notice = folder.TakeStartupNotice();
  if (!notice.isEmpty()) platform::ShowMessage(notice, QString(), platform::MsgIcon::Exclamation);
}

void fMain::cClave_Click() { OpenScreen<fClave>(this); }
void fMain::cServicio_Click() { OpenScreen<fconfserv>(this); }
void fMain::cIntroDatos_Click() { OpenScreen<dModem>(this); }
void fMain::cCargar_Click() { OpenScreen<fConfigurar>(this); }

// Ends the application at once: every window closes, nothing is asked or saved.
void fMain::cSalir_Click() { close(); }

void fMain::keyPressEvent(QKeyEvent* event) {
  if (!PressFocusedButton(this, event)) QWidget::keyPressEvent(event);
}

void fMain::closeEvent(QCloseEvent* event) {
  event->accept();
  QApplication::closeAllWindows();
  QApplication::quit();
}
