#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>

#include <QDir>
#include <QLabel>

#include "config/ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "faults/FaultInjection.h"
#include "password/AccessPassword.h"
#include "platform/AppDirectory.h"
#include "platform/ErrorText.h"
#include "screens/fMain.h"
#include "support/TestPlatform.h"

using platform::MsgButtons;
using platform::MsgIcon;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

// One of the files the program replaces whole, and how to save a numbered version.
struct ReplacedFile {
  const char* name;  // inside the application directory
  std::function<bool(int version)> save;
};

QList<ReplacedFile> ReplacedFiles() {
  return {
      {"conf_gen.dat",
       [](int version) {
         ServiceSettings.ComPort = static_cast<std::int16_t>(version);
         return SaveServiceSettings({"203", "0", "113", "192", "255", "255", "255", "240", "198", "51",
                                     "100", "53", "8", "32", "9", "9"});
       }},
      {"claves.dat", [](int version) { return SaveAccessPassword(QStringLiteral("clave%1").arg(version)); }},
      {"Configuraciones/900123456.cfg",
       [](int version) {
         SubscriberData data = config_examples::EfficientSubscriber(DataScreen::Dhcp);
         data.UserIp[3] = QString::number(version);
         return SaveConfiguration(data, DataScreen::Dhcp, kEfficientSS5660, true,
                                  config_examples::EfficientSettings());
       }},
  };
}

// A way to make the next save fail, in force for as long as what it gives lives.
using Arm = std::function<std::shared_ptr<void>()>;

class AtomicFilesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("Configuraciones")));
  }

  // Saves version 1, then tries version 2 under the fault: the save must fail with
  // one box holding the system's description, and leave version 1 whole and alone.
  void ExpectOldFileSurvives(const ReplacedFile& file, int error, const Arm& arm) {
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(file.save(1));
    const QByteArray stored = platform_.Read(QString::fromLatin1(file.name));
    const QString folder = QFileInfo(platform_.PathOf(QString::fromLatin1(file.name))).path();
    const QStringList entries = faults::EntriesOf(folder);
    platform_.boxes.shown.clear();
    bool saved = true;
    {
      const auto fault = arm();  // report nothing while it lasts: the disk may be "full"
      saved = file.save(2);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(platform_.boxes.shown,
              (QList<ShownBox>{{platform::DescribeSystemError(error), QString(), MsgIcon::Exclamation,
                                MsgButtons::Ok}}));
    EXPECT_EQ(platform_.Read(QString::fromLatin1(file.name)), stored);
    EXPECT_EQ(faults::EntriesOf(folder), entries);  // no temporary left behind
    // The fault gone, the same save goes through.
    EXPECT_TRUE(file.save(3));
    EXPECT_NE(platform_.Read(QString::fromLatin1(file.name)), stored);
  }

  TestPlatform platform_;
};

// The new version cannot be created (no right to write there), the disk fills up
// halfway through it, or the file system refuses it when it is closed, as a network
// share may: the stored file survives each time.
TEST_F(AtomicFilesFaultTest, EveryFailedStepOfASaveLeavesTheStoredFileWhole) {
  const struct {
    const char* step;
    int error;  // what the user is told about
    Arm arm;
  } injections[] = {
      {"open", EACCES,
       [] { return std::make_shared<faults::FailingCall>(faults::Call::Create, QStringLiteral(".tmp-"), EACCES); }},
      {"write", EFBIG, [] { return std::make_shared<faults::DiskFullAfter>(rlim_t{4}); }},
      {"close", EIO,
       [] { return std::make_shared<faults::FailingCall>(faults::Call::Close, QStringLiteral(".tmp-"), EIO); }},
  };
  for (const auto& fault : injections) {
    SCOPED_TRACE(fault.step);
    for (const ReplacedFile& file : ReplacedFiles()) ExpectOldFileSurvives(file, fault.error, fault.arm);
  }
}

TEST_F(AtomicFilesFaultTest, AReadOnlyFolderLeavesTheStoredFilesWhole) {
  const QString directory = platform_.Dir();
  {
    const faults::ReadOnlyMount probe(directory);
    if (!probe.Active()) GTEST_SKIP() << "no read-only bind mount here: " << probe.WhyNot().toStdString();
  }
  for (const ReplacedFile& file : ReplacedFiles()) {
    ExpectOldFileSurvives(file, EROFS, [&] { return std::make_shared<faults::ReadOnlyMount>(directory); });
  }
}

// No folder can be written, neither the executable's nor the per-user one: each
// failed save names the path it tried, or the installer could not tell where.
TEST_F(AtomicFilesFaultTest, WhenNoFolderCanBeWrittenEveryFailedSaveNamesItsPath) {
  const QString perUser = platform_.PathOf(QStringLiteral("usuario"));
  const faults::FailingCall nowhere(faults::Call::Create, platform_.Dir(), EROFS);
  platform::DesktopAppDirectory folder(platform_.PathOf(QStringLiteral("programa")), perUser);
  platform::Current().appDirectory = &folder;
  EXPECT_FALSE(folder.Writable());
  for (const ReplacedFile& file : ReplacedFiles()) {
    platform_.boxes.shown.clear();
    EXPECT_FALSE(file.save(1));
    ASSERT_EQ(platform_.boxes.shown.size(), 1);
    const QString text = platform_.boxes.shown[0].text;
    EXPECT_TRUE(text.startsWith(platform::DescribeSystemError(EROFS)) &&
                text.contains(QDir(perUser).filePath(QString::fromLatin1(file.name))))
        << text.toStdString();
  }
}

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
