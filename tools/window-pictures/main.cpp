// Renders every window of the program with its real widgets and example data, and
// saves one picture per window, for the user guide. Usage:
//   window-pictures <output folder>
// Each picture carries a plain title bar with the window's caption, since a picture
// of a widget has no frame of its own.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <functional>

#include "config/SaveConfiguration.h"
#include "config/SubscriberData.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/SessionRunner.h"
#include "modemsim/Consoles.h"
#include "modemsim/ModemConsole.h"
#include "modemsim/SimulatedLink.h"
#include "platform/AppDirectory.h"
#include "platform/Platform.h"
#include "platform/VirtualClock.h"
#include "screens/AdapterList.h"
#include "screens/SubscriberDataScreen.h"
#include "screens/dModem.h"
#include "screens/fClave.h"
#include "screens/fConfigurar.h"
#include "screens/fMain.h"
#include "screens/fconfserv.h"

namespace {

// Answers every box as its first button, and runs a hook as the box "opens".
class QuietMessageBoxes final : public platform::MessageBoxes {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon,
                           platform::MsgButtons buttons) override {
    if (onShow) onShow(text, title);
    return buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
  }
  std::function<void(const QString&, const QString&)> onShow;
};

QString g_output;

void Save(QWidget* window, const QString& name) {
  window->show();
  window->adjustSize();
  QCoreApplication::processEvents();
  const QPixmap content = window->grab();
  const int bar = 26;
  QPixmap picture(content.width() + 2, content.height() + bar + 1);
  picture.fill(QColor(0x5a, 0x6e, 0x8c));
  QPainter painter(&picture);
  painter.drawPixmap(1, bar, content);
  QFont font = painter.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(8, 0, picture.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
  painter.end();
  const QString path = QDir(g_output).filePath(name + QStringLiteral(".png"));
  if (!picture.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    std::exit(1);
  }
  std::printf("%s\n", qPrintable(path));
  window->hide();
}

void Fill(QLineEdit* box, const QString& text) { box->setText(text); }

void FillQuad(const SubscriberDataScreen::Quad& quad, const QString& dotted) {
  const QStringList parts = dotted.split(QLatin1Char('.'));
  for (int i = 0; i < 4; ++i) quad[i]->setText(parts[i]);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (argc != 2) {
    std::fprintf(stderr, "usage: window-pictures <output folder>\n");
    return 2;
  }
  g_output = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(g_output);

  QTemporaryDir appDir;  // the pictures never touch a real application folder
  platform::FixedAppDirectory directory(appDir.path());
  QuietMessageBoxes boxes;
  platform::VirtualClock clock;
  platform::Current().messages = &boxes;
  platform::Current().appDirectory = &directory;
  platform::Current().clock = &clock;

  fMain::ShowMenu();
  fMain* menu = fMain::Instance();
  Save(menu, QStringLiteral("ventana-menu-principal"));

  auto* password = new fClave();
  Fill(password->tClave, QStringLiteral("secreta"));
  Fill(password->tConfirmar, QStringLiteral("secreta"));
  Save(password, QStringLiteral("ventana-clave-de-acceso"));
  delete password;

  // The adapters of an example laptop, not of the machine that draws the pictures.
  AdapterList::Scan().byIdFolder = AdapterList::Scan().devFolder = AdapterList::Scan().sysTtyFolder =
      appDir.filePath(QStringLiteral("ninguno"));
  auto* settings = new fconfserv();
  settings->adapters->lstAdaptadores->clear();
  settings->adapters->lstAdaptadores->addItems(
      {QStringLiteral("FTDI FT232R USB UART A1B2C3 (/dev/ttyUSB0)"), QStringLiteral("Puerto serie del equipo ttyS0 (Com1)")});
  settings->adapters->lstAdaptadores->setCurrentRow(0);
  settings->adapters->cAsignar->setEnabled(true);
  Save(settings, QStringLiteral("ventana-configuracion-del-servicio"));
  delete settings;

  auto* selection = new dModem();  // as it opens, as the guide describes it
  Save(selection, QStringLiteral("ventana-seleccion-de-modem"));

  for (const bool dhcp : {true, false}) {
    selection->Combo1->setCurrentIndex(kEfficientSS5660);
    (dhcp ? selection->oDhcp : selection->oNAT)->setChecked(true);
    SelectedModel = kEfficientSS5660;
    SelectedMode = dhcp;
    SubscriberDataScreen* screen = dhcp ? static_cast<SubscriberDataScreen*>(new fconDHCP())
                                        : static_cast<SubscriberDataScreen*>(new fConNapt());
    Fill(screen->tTelf, QStringLiteral("900123456"));
    FillQuad(screen->tuIP, QStringLiteral("192.0.2.13"));
    FillQuad(screen->tuMa, QStringLiteral("255.255.255.248"));
    if (dhcp) {
      FillQuad(screen->tmIP, QStringLiteral("10.1.1.6"));
      FillQuad(screen->tmMA, QStringLiteral("255.255.255.252"));
    }
    Save(screen, dhcp ? QStringLiteral("ventana-datos-dhcp") : QStringLiteral("ventana-datos-napt"));
    if (dhcp) {
      // The loading screen below loads this subscriber's file.
      (void)EnsureConfigDirectory();
      (void)SaveConfiguration(screen->CurrentData(), DataScreen::Dhcp, kEfficientSS5660, true);
    }
    delete screen;
  }
  delete selection;

  // The loading screen after a whole session against the simulated modem.
  std::unique_ptr<modemsim::ModemConsole> console;
  platform::Current().makeSerialLink = [&] {
    auto link = std::make_unique<modemsim::SimulatedLink>(clock);
    console = modemsim::MakeConsole(QStringLiteral("efficient"), *link, {});
    link->Attach(console.get());
    return std::unique_ptr<platform::SerialLink>(std::move(link));
  };
  boxes.onShow = [&](const QString&, const QString& title) {
    if (title == loader_texts::kPowerOnTitle) console->PowerOn();
  };
  auto* loading = new fConfigurar();
  loading->show();
  Fill(loading->tTelf, QStringLiteral("900123456"));
  (void)loading->Session().Start(QStringLiteral("900123456"));
  Save(loading, QStringLiteral("ventana-carga-en-el-modem"));
  delete loading;

  delete menu;
  return 0;
}
