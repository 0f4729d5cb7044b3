// bench-session: one loading session as the installer runs it, on the real loading
// screen (offscreen, or a real X server with -platform xcb), QSerialPort and the real
// clock, for the benchmark runner.
//
//   bench-session --app-dir DIR --model efficient --mode dhcp
//
// DIR/puertos/com1 must name the modem (modem-sim --app-dir DIR --com 1 does that).
// Writes the subscriber's file (Configuraciones/900123456.cfg; --write-only stops
// there), presses "Configurar", answers every message box with its first button and
// prints one line per event: "start", "box" (with the box's text) and "end", each
// with the monotonic time and the process's CPU time.

#include <csignal>
#include <cstdio>

#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QPushButton>

#include "core/Def_Globales.h"
#include "platform/AppDirectory.h"
#include "platform/Platform.h"
#include "screens/fConfigurar.h"
#include "session/AnsweringBoxes.h"
#include "session/ExampleFile.h"

namespace {

const QString kPhone = QStringLiteral("900123456");

struct Arguments {
  QString appDirectory;
  std::int16_t model = kEfficientSS5660;
  bool dhcp = true;
  bool writeOnly = false;
};

bool ParseModel(const QString& name, std::int16_t* model) {
  if (name == QLatin1String("efficient")) *model = kEfficientSS5660;
  else if (name == QLatin1String("office")) *model = kSpeedTouchOffice;
  else if (name == QLatin1String("pro")) *model = kSpeedTouchPro;
  else return false;
  return true;
}

bool Parse(const QApplication& app, Arguments* args) {
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption appDir(QStringLiteral("app-dir"), QStringLiteral("Application directory."),
                                  QStringLiteral("directory"));
  const QCommandLineOption model(QStringLiteral("model"), QStringLiteral("efficient, office or pro."),
                                 QStringLiteral("model"), QStringLiteral("efficient"));
  const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("dhcp or napt."),
                                QStringLiteral("mode"), QStringLiteral("dhcp"));
  const QCommandLineOption writeOnly(QStringLiteral("write-only"),
                                     QStringLiteral("Write the subscriber's file and stop."));
  parser.addOptions({appDir, model, mode, writeOnly});
  parser.process(app);
  args->writeOnly = parser.isSet(writeOnly);
  args->appDirectory = parser.value(appDir);
  args->dhcp = parser.value(mode) != QLatin1String("napt");
  return !args->appDirectory.isEmpty() && ParseModel(parser.value(model), &args->model);
}

}  // namespace

int main(int argc, char* argv[]) {
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("configurador-adsl"));
  QApplication::setQuitOnLastWindowClosed(false);
  Arguments args;
  if (!Parse(app, &args)) {
    std::fprintf(stderr, "bench-session: --app-dir DIR [--model efficient|office|pro] [--mode dhcp|napt]\n");
    return 2;
  }

  bench::AnsweringBoxes boxes;
  platform::FixedAppDirectory appDirectory(args.appDirectory);
  platform::Current().messages = &boxes;
  platform::Current().appDirectory = &appDirectory;
  SetStartupValues();
  QString error;
  if (!bench::WriteExampleFile(kPhone, args.model, args.dhcp, &error)) {
    std::fprintf(stderr, "bench-session: %s\n", qPrintable(error));
    return 1;
  }
  if (args.writeOnly) return 0;

  fConfigurar screen;
  screen.show();
  QApplication::processEvents();
  screen.tTelf->setText(kPhone);
  if (!screen.cInstalar->isEnabled()) {
    std::fprintf(stderr, "bench-session: the screen did not take the phone number\n");
    return 1;
  }
  bench::AnsweringBoxes::Print("start");
  screen.cInstalar->click();
  screen.Session().WaitForEnd();  // the session runs on its own thread
  bench::AnsweringBoxes::Print("end");
  return 0;
}
