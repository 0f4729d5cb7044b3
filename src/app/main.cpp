#include <csignal>

#include <QApplication>
#include <QIcon>
#include <QStyleHints>

#include "cli/CommandLine.h"
#include "platform/AppDirectory.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/qt/QtMessageBoxes.h"
#include "screens/fMain.h"

int main(int argc, char* argv[]) {
  // A file that outgrows a size limit must fail its write, not kill the program.
  std::signal(SIGXFSZ, SIG_IGN);
  // With a command the program works without a window, and needs no display.
  if (argc > 1) return cli::Main(argc, argv);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("configurador-adsl"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/configurador-adsl.svg")));
  // The menu hides while another screen shows; only the menu ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  // The Tab key visits every control, buttons and options included, whatever the
  // desktop's default (some leave all but text boxes out).
  QGuiApplication::styleHints()->setTabFocusBehavior(Qt::TabFocusAllControls);

  platform::QtMessageBoxes messages;
  platform::DesktopAppDirectory appDirectory;
  platform::Current().messages = &messages;
  platform::Current().appDirectory = &appDirectory;

  fMain::ShowMenu();
  return QApplication::exec();
}
