#include <gtest/gtest.h>

#include <cerrno>

#include <QDir>
#include <QLabel>

#include "faults/FaultInjection.h"
#include "platform/AppDirectory.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

using testing_support::TestPlatform;

namespace {

// The executable's folder holds the installer's files but cannot be written (made to
// fail, since root writes anywhere): the program works in the per-user folder, says
// so once at start-up, and the main menu always names the folder in use.
TEST(AppFolderFaultTest, AnUnwritableInstallerFolderIsAnnouncedOnceAndTheFolderInUseShown) {
  TestPlatform platform;
  const QString beside = platform.PathOf(QStringLiteral("solo-lectura/programa"));
  const QString perUser = platform.PathOf(QStringLiteral("usuario"));
  const QString empty = platform.PathOf(QStringLiteral("solo-lectura/vacia"));
  ASSERT_TRUE(QDir().mkpath(beside) && QDir().mkpath(empty));
  platform.Write(QStringLiteral("solo-lectura/programa/conf_gen.dat"), " 9 \r\n");
  {
    platform::DesktopAppDirectory writable(beside, perUser);
    EXPECT_EQ(writable.Path(), beside);
    EXPECT_TRUE(writable.TakeStartupNotice().isEmpty());
  }
  const faults::FailingCall readOnly(faults::Call::Create, platform.PathOf(QStringLiteral("solo-lectura")), EROFS);
  {
    // Nothing of the installer's there: nothing seems lost, nothing to say.
    platform::DesktopAppDirectory fresh(empty, perUser);
    EXPECT_EQ(fresh.Path(), perUser);
    EXPECT_TRUE(fresh.TakeStartupNotice().isEmpty());
  }
  platform::DesktopAppDirectory folder(beside, perUser);
  platform::Current().appDirectory = &folder;
  for (int start = 0; start < 2; ++start) {
    const fMain menu;
    EXPECT_EQ(menu.lCarpeta->text(), QStringLiteral("Carpeta de trabajo: ") + perUser);
  }
  ASSERT_EQ(platform.boxes.shown.size(), 1);
  EXPECT_TRUE(platform.boxes.shown[0].text.startsWith(
      QStringLiteral("La carpeta %1 no admite escritura; se usará %2.").arg(beside, perUser)))
      << platform.boxes.shown[0].text.toStdString();
  EXPECT_EQ(platform.boxes.shown[0].icon, platform::MsgIcon::Exclamation);
  EXPECT_TRUE(folder.Writable());
}

}  // namespace
