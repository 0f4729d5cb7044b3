#include <csignal>

#include <QApplication>
#include <QIcon>

#include "platform/AppDirectory.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/qt/QtMessageBoxes.h"
#include "screens/fMain.h"

int main(int argc, char* argv[]) {
  // A file that outgrows a size limit must fail its write, not kill the program.
  std::signal(SIGXFSZ, SIG_IGN);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("configurador-adsl"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/configurador-adsl.svg")));
  // The menu hides while another screen shows; only the menu ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  platform::QtMessageBoxes messages;
  platform::DesktopAppDirectory appDirectory;
  platform::Current().messages = &messages;
  platform::Current().appDirectory = &appDirectory;

  fMain::ShowMenu();
  return QApplication::exec();
}
