#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

#include <QDir>
#include <QLabel>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "platform/AppDirectory.h"
#include "platform/ErrorText.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

using platform::MsgButtons;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");

// Every file the program replaces whole goes through one replacing routine (each
// one's own failure box is shown by its screen's tests): the subscriber's file, in a
// numbered version.
bool SaveVersion(int version) {
  SubscriberData data = config_examples::EfficientSubscriber(DataScreen::Dhcp);
  data.UserIp[3] = QString::number(version);
  return SaveConfiguration(data, DataScreen::Dhcp, kEfficientSS5660, true, config_examples::EfficientSettings());
}

class AtomicFilesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("Configuraciones")));
  }

  testing_support::TestPlatform platform_;
};

// The new version cannot be created (no right to write there, a read-only file
// system), the disk fills up halfway through it, or the file system refuses it when
// it is closed, as a network share may: the stored file survives each time.
TEST_F(AtomicFilesFaultTest, EveryFailedStepOfASaveLeavesTheStoredFileWhole) {
  const struct {
    const char* step;
    int error;                                   // what the user is told about
    std::function<std::shared_ptr<void>()> arm;  // in force for as long as what it gives lives
  } injections[] = {
      {"open", EACCES,
       [] { return std::make_shared<faults::FailingCall>(faults::Call::Create, QStringLiteral(".tmp-"), EACCES); }},
      {"write", EFBIG, [] { return std::make_shared<faults::DiskFullAfter>(rlim_t{4}); }},
      {"close", EIO,
       [] { return std::make_shared<faults::FailingCall>(faults::Call::Close, QStringLiteral(".tmp-"), EIO); }},
  };
  const QString folder = platform_.PathOf(QStringLiteral("Configuraciones"));
  for (const auto& fault : injections) {
    SCOPED_TRACE(fault.step);
    // Version 1 saved, version 2 tried under the fault: the save fails with one box
    // holding the system's description, and leaves version 1 whole and alone.
    ASSERT_TRUE(SaveVersion(1));
    const QByteArray stored = platform_.Read(kFile);
    const QStringList entries = faults::EntriesOf(folder);
    platform_.boxes.shown.clear();
    bool saved = true;
    {
      const auto armed = fault.arm();  // report nothing while it lasts: the disk may be "full"
      saved = SaveVersion(2);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(platform_.boxes.shown,
              (QList<ShownBox>{{platform::DescribeSystemError(fault.error), QString(), MsgIcon::Exclamation,
                                MsgButtons::Ok}}));
    EXPECT_EQ(platform_.Read(kFile), stored);
    EXPECT_EQ(faults::EntriesOf(folder), entries);  // no temporary left behind
    // The fault gone, the same save goes through.
    EXPECT_TRUE(SaveVersion(3));
    EXPECT_NE(platform_.Read(kFile), stored);
  }
}

// No folder can be written, neither the executable's nor the per-user one: a failed
// save names the path it tried, or the installer could not tell where.
TEST_F(AtomicFilesFaultTest, WhenNoFolderCanBeWrittenAFailedSaveNamesItsPath) {
  const QString perUser = platform_.PathOf(QStringLiteral("usuario"));
  const faults::FailingCall nowhere(faults::Call::Create, platform_.Dir(), EROFS);
  platform::DesktopAppDirectory folder(platform_.PathOf(QStringLiteral("programa")), perUser);
  platform::Current().appDirectory = &folder;
  EXPECT_EQ(folder.TakeStartupNotice(),
            QStringLiteral("La carpeta %1 no admite escritura: no se podrá guardar nada.").arg(perUser));
  EXPECT_FALSE(SaveVersion(1));
  EXPECT_EQ(platform_.boxes.shown,
            (QList<ShownBox>{{platform::DescribeSystemError(EROFS) +
                                  QStringLiteral("\r\nNo se ha podido guardar %1: ninguna carpeta admite escritura.")
                                      .arg(QDir(perUser).filePath(kFile)),
                              QString(), MsgIcon::Exclamation, MsgButtons::Ok}}));
}

// The executable's folder holds the installer's files but cannot be written (made to
// fail, since root writes anywhere): the program works in the per-user folder, says
// so once at start-up, and the main menu always names the folder in use.
TEST_F(AtomicFilesFaultTest, AnUnwritableInstallerFolderIsAnnouncedOnceAndTheFolderInUseShown) {
  const QString beside = platform_.PathOf(QStringLiteral("solo-lectura/programa"));
  const QString perUser = platform_.PathOf(QStringLiteral("usuario"));
  const QString empty = platform_.PathOf(QStringLiteral("solo-lectura/vacia"));
  ASSERT_TRUE(QDir().mkpath(beside) && QDir().mkpath(empty));
  platform_.Write(QStringLiteral("solo-lectura/programa/conf_gen.dat"), " 9 \r\n");
  {
    platform::DesktopAppDirectory writable(beside, perUser);
    EXPECT_EQ(writable.Path(), beside);
    EXPECT_TRUE(writable.TakeStartupNotice().isEmpty());
  }
  const faults::FailingCall readOnly(faults::Call::Create, platform_.PathOf(QStringLiteral("solo-lectura")), EROFS);
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
  EXPECT_EQ(platform_.boxes.shown,
            (QList<ShownBox>{{QStringLiteral("La carpeta %1 no admite escritura; se usará %2.\r\nLa configuración, la "
                                             "clave y los abonados guardados en %1 no se usarán mientras tanto.")
                                  .arg(beside, perUser),
                              QString(), MsgIcon::Exclamation, MsgButtons::Ok}}));
  EXPECT_TRUE(folder.Writable());
}

}  // namespace
