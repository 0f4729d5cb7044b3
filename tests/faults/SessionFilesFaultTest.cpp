#include <gtest/gtest.h>

#include <cerrno>

#include <QDir>
#include <QFile>

#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"
#include "platform/ErrorText.h"
#include "platform/TextFile.h"

using loader_testing::ConfiguredBox;
using loader_testing::CriticalBox;
using loader_testing::EfficientDhcpFile;
using loader_testing::PowerOnBox;
using loader_testing::SimulatedScreen;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");
const QString kLog = QStringLiteral("Logs/900123456.log");
const QByteArray kHeaderStart = platform::ToCp1252(QStringLiteral("Sesión de configuración\r\n"));
const QByteArray kTrailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));

// A loading session whose configuration file or session log fails. Whatever fails,
// the session ends with its message, the port and both files closed, the screen
// idle; the configuration file is never touched.
class SessionFilesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
    config_ = screen_.platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
    ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(QStringLiteral("Logs")));
  }

  void TearDown() override {
    EXPECT_FALSE(screen_.link->IsOpen());
    EXPECT_EQ(screen_.link->ClosedPortUses(), 0);
    EXPECT_FALSE(screen_.view.busy);
    EXPECT_TRUE(screen_.view.buttonsEnabled);
    EXPECT_EQ(screen_.view.caption, loader_testing::kScreenCaption);
    EXPECT_TRUE(faults::OpenFilesContaining(screen_.platform.Dir()).isEmpty());
    EXPECT_EQ(screen_.platform.Read(QStringLiteral("Configuraciones/900123456.cfg")), config_);
  }

  [[nodiscard]] const QList<ShownBox>& Shown() const { return screen_.platform.boxes.shown; }

  SimulatedScreen screen_;
  QByteArray config_;
};

// A configuration file that exists but cannot be read (root reads anything, so the
// read itself fails): the platform's description, and the old log is left alone.
TEST_F(SessionFilesFaultTest, AnUnreadableConfigurationFileLeavesTheOldLogAlone) {
  screen_.platform.Write(kLog, "sesión anterior");
  const QString path = screen_.platform.PathOf(QStringLiteral("Configuraciones/900123456.cfg"));
  ASSERT_TRUE(QFile::remove(path));
  ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), path));
  screen_.Run(kPhone);
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(platform::DescribeSystemError(EIO))});
  EXPECT_EQ(screen_.platform.Read(kLog), "sesión anterior");
  EXPECT_EQ(screen_.link->Opens(), 0);
  config_ = screen_.platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
}

// The configuration folder is a plain file: there is no file to load.
TEST_F(SessionFilesFaultTest, APlainFileNamedConfiguracionesFindsNoFile) {
  ASSERT_TRUE(QDir(screen_.platform.PathOf(QStringLiteral("Configuraciones"))).removeRecursively());
  screen_.platform.Write(QStringLiteral("Configuraciones"), config_);
  screen_.Run(kPhone);
  const QString notFound = QStringLiteral("No se ha podido encontrar el fichero de configuración");
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(notFound)});
  EXPECT_FALSE(screen_.LogExists(kPhone));
  config_.clear();  // no configuration file any more
}

// The log cannot be created (a folder of its name is in the way): the platform's
// description, and the modem is never asked for.
TEST_F(SessionFilesFaultTest, ALogThatCannotBeOpenedStopsTheSessionBeforeThePort) {
  ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(kLog));
  screen_.Run(kPhone);
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(platform::DescribeSystemError(EISDIR))});
  EXPECT_EQ(screen_.link->Opens(), 0);
  EXPECT_TRUE(platform::IsDirectory(screen_.platform.PathOf(kLog)));
}

// The disk fills up while the log is written, which goes unreported: the modem is
// loaded all the same and the log keeps what fitted.
TEST_F(SessionFilesFaultTest, ADiskThatFillsUpDuringTheSessionCutsTheLogOnly) {
  {
    const faults::DiskFullAfter full(300);
    screen_.Run(kPhone);
  }
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  const QByteArray log = screen_.Log(kPhone);
  EXPECT_TRUE(log.startsWith(kHeaderStart));
  EXPECT_EQ(log.size(), 300);
}

// The log is refused when it is closed, as a network share may refuse it: the
// platform's description after the session's own messages; what was written stays.
TEST_F(SessionFilesFaultTest, ALogThatFailsToCloseIsReportedAndKeepsItsText) {
  const faults::FailingClose failing(QStringLiteral("Logs/900123456.log"), EIO);
  screen_.Run(kPhone);
  EXPECT_EQ(failing.Failed(), 1);
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox(),
                                      CriticalBox(platform::DescribeSystemError(EIO))}));
  EXPECT_TRUE(screen_.Log(kPhone).endsWith(kTrailer));
}

// The Logs folder on a read-only file system: the log cannot be created.
TEST_F(SessionFilesFaultTest, AReadOnlyLogsFolderStopsTheSessionBeforeThePort) {
  const faults::ReadOnlyMount readOnly(screen_.platform.PathOf(QStringLiteral("Logs")));
  if (!readOnly.Active()) GTEST_SKIP() << "no read-only bind mount here: " << readOnly.WhyNot().toStdString();
  screen_.Run(kPhone);
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(platform::DescribeSystemError(EROFS))});
  EXPECT_EQ(screen_.link->Opens(), 0);
}

}  // namespace
