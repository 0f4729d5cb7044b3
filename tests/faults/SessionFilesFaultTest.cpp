#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

// The warning after a session whose log could not be written, for `why`.
void ExpectLogWarning(const ShownBox& box, const QString& why) {
  EXPECT_EQ(box.title, QStringLiteral("Registro de la sesión"));
  EXPECT_EQ(box.icon, platform::MsgIcon::Exclamation);
  EXPECT_TRUE(box.text.contains(QStringLiteral("Logs/900123456.log")) && box.text.contains(why))
      << box.text.toStdString();
}

// The disk fills up while the log is written: the modem is loaded all the same, the
// previous log stays whole, and the user hears it after the session's own message.
TEST_F(SessionFilesFaultTest, ADiskThatFillsUpDuringTheSessionKeepsThePreviousLogAndWarns) {
  screen_.platform.Write(kLog, "sesión anterior");
  {
    const faults::DiskFullAfter full(300);
    screen_.Run(kPhone);
  }
  ASSERT_EQ(Shown().size(), 3);
  EXPECT_EQ(Shown().mid(0, 2), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  ExpectLogWarning(Shown()[2], platform::DescribeSystemError(EFBIG));
  EXPECT_EQ(screen_.platform.Read(kLog), "sesión anterior");
  EXPECT_EQ(faults::EntriesOf(screen_.platform.PathOf(QStringLiteral("Logs"))), QStringList{"900123456.log"});
}

// The log is refused when it is closed, as a network share may refuse it: the same
// warning, and the previous log stays.
TEST_F(SessionFilesFaultTest, ALogThatFailsToCloseIsReportedAndLeavesThePreviousLog) {
  screen_.platform.Write(kLog, "sesión anterior");
  const faults::FailingClose failing(QStringLiteral("Logs/900123456.log"), EIO);
  screen_.Run(kPhone);
  EXPECT_EQ(failing.Failed(), 1);
  ASSERT_EQ(Shown().size(), 3);
  ExpectLogWarning(Shown()[2], platform::DescribeSystemError(EIO));
  EXPECT_EQ(screen_.platform.Read(kLog), "sesión anterior");
}

// A link at the log's name, to a file elsewhere or to none: the link is replaced by
// the log, never written through.
TEST_F(SessionFilesFaultTest, ALinkAtTheLogsNameIsReplacedNotFollowed) {
  const QTemporaryDir elsewhere;
  const QString victim = QDir(elsewhere.path()).filePath(QStringLiteral("ajeno"));
  for (const bool targetExists : {true, false}) {
    QFile::remove(screen_.platform.PathOf(kLog));
    QFile::remove(victim);
    QFile file(victim);
    if (targetExists) {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("ajeno") == 5);
    }
    file.close();
    ASSERT_TRUE(QFile::link(victim, screen_.platform.PathOf(kLog)));
    screen_.platform.boxes.shown.clear();
    screen_.Run(kPhone);
    EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
    EXPECT_FALSE(QFileInfo(screen_.platform.PathOf(kLog)).isSymLink());
    EXPECT_TRUE(screen_.Log(kPhone).endsWith(kTrailer));
    EXPECT_EQ(QFile::exists(victim), targetExists);
    if (targetExists && file.open(QIODevice::ReadOnly)) {
      EXPECT_EQ(file.readAll(), "ajeno");
    }
  }
}

// A pipe at the log's name would block the window on opening (here a reader keeps
// it from blocking, so that the old behaviour fails rather than hangs): refused
// before the port is opened, like a log that cannot be opened.
TEST_F(SessionFilesFaultTest, APipeAtTheLogsNameIsRefusedBeforeThePort) {
  const QByteArray fifo = screen_.platform.PathOf(kLog).toLocal8Bit();
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
  const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
  screen_.Run(kPhone);
  ::close(reader);
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(QString::fromUtf8(platform::kNotAPlainFileText))});
  EXPECT_EQ(screen_.link->Opens(), 0);
  EXPECT_EQ(faults::EntriesOf(screen_.platform.PathOf(QStringLiteral("Logs"))), QStringList{"900123456.log"});
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
