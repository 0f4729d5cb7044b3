#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "faults/FaultInjection.h"
#include "platform/ErrorText.h"

using loader_testing::kPhone;
using loader_testing::ConfiguredBox;
using loader_testing::CriticalBox;
using loader_testing::PowerOnBox;
using testing_support::ShownBox;

namespace {

const QString kConfig = QStringLiteral("Configuraciones/900123456.cfg");
const QString kLog = QStringLiteral("Logs/900123456.log");
const QByteArray kOldLog = "sesión anterior";

// A loading session whose configuration file or session log fails. Whatever fails,
// the session ends with its message and both files closed; the configuration file is
// never touched.
class SessionFilesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_.WriteConfig(kPhone, loader_testing::EfficientDhcpFile(kPhone));
    ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(QStringLiteral("Logs")));
  }

  [[nodiscard]] QString PathOf(const QString& name) const { return screen_.platform.PathOf(name); }
  [[nodiscard]] const QList<ShownBox>& Shown() const { return screen_.platform.boxes.shown; }

  void Run() {
    const QByteArray config = screen_.platform.Read(kConfig);
    screen_.Run(kPhone);
    if (reader_ >= 0) ::close(reader_);
    EXPECT_TRUE(faults::OpenFilesContaining(screen_.platform.Dir()).isEmpty());
    EXPECT_EQ(screen_.platform.Read(kConfig), config);
  }

  // The session refused with `text` before the port was opened; whatever stands at
  // the log's name is left as it was.
  void ExpectStoppedBeforeThePort(const QString& text) {
    const QStringList logs = faults::EntriesOf(PathOf(QStringLiteral("Logs")));
    Run();
    EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(text)});
    EXPECT_EQ(screen_.link->Opens(), 0);
    EXPECT_EQ(faults::EntriesOf(PathOf(QStringLiteral("Logs"))), logs);
    if (QFileInfo(PathOf(kLog)).isFile()) {
      EXPECT_EQ(screen_.platform.Read(kLog), kOldLog);
    }
  }

  // The modem loaded, then the warning that the log could not be written for `why`;
  // the previous log stays whole and no temporary is left.
  void ExpectLoadedWithLogWarning(const QString& why) {
    EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox(),
                                        {QStringLiteral("No se ha podido escribir el registro de la sesión %1: %2\r\n"
                                                        "El registro anterior de este abonado, si lo había, se "
                                                        "conserva sin cambios.")
                                             .arg(PathOf(kLog), why),
                                         QStringLiteral("Registro de la sesión"), platform::MsgIcon::Exclamation,
                                         platform::MsgButtons::Ok}}));
    EXPECT_EQ(screen_.platform.Read(kLog), kOldLog);
    EXPECT_EQ(faults::EntriesOf(PathOf(QStringLiteral("Logs"))), QStringList{"900123456.log"});
  }

  loader_testing::SimulatedScreen screen_;
  int reader_ = -1;  // a reader of a pipe at the log's name, closed after the session
};

// Root reads anything, so the read itself fails: the platform's description.
TEST_F(SessionFilesFaultTest, AnUnreadableConfigurationFileLeavesTheOldLogAlone) {
  screen_.platform.Write(kLog, kOldLog);
  ASSERT_TRUE(QFile::remove(PathOf(kConfig)));
  ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), PathOf(kConfig)));
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EIO));
}

// The configuration folder is a plain file: there is no file to load.
TEST_F(SessionFilesFaultTest, APlainFileNamedConfiguracionesFindsNoFile) {
  screen_.platform.Write(kLog, kOldLog);
  const QByteArray config = screen_.platform.Read(kConfig);
  ASSERT_TRUE(QDir(PathOf(QStringLiteral("Configuraciones"))).removeRecursively());
  screen_.platform.Write(QStringLiteral("Configuraciones"), config);
  ExpectStoppedBeforeThePort(QStringLiteral("No se ha podido encontrar el fichero de configuración"));
}

// The log cannot be created: a folder of its name is in the way.
TEST_F(SessionFilesFaultTest, AFolderAtTheLogsNameStopsTheSessionBeforeThePort) {
  ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(kLog));
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EISDIR));
  EXPECT_TRUE(QFileInfo(PathOf(kLog)).isDir());
}

// A pipe at the log's name would block the window on opening (here a reader keeps
// it from blocking, so that the old behaviour fails rather than hangs).
TEST_F(SessionFilesFaultTest, APipeAtTheLogsNameIsRefusedBeforeThePort) {
  const QByteArray fifo = PathOf(kLog).toLocal8Bit();
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
  reader_ = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
  ExpectStoppedBeforeThePort(QString::fromUtf8(platform::kNotAPlainFileText));
}

// The Logs folder on a read-only file system: the log cannot be created.
TEST_F(SessionFilesFaultTest, AReadOnlyLogsFolderStopsTheSessionBeforeThePort) {
  const faults::ReadOnlyMount readOnly(PathOf(QStringLiteral("Logs")));
  if (!readOnly.Active()) GTEST_SKIP() << "no read-only bind mount here: " << readOnly.WhyNot().toStdString();
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EROFS));
}

// The disk fills up while the log is written: the modem is loaded all the same.
TEST_F(SessionFilesFaultTest, ADiskThatFillsUpDuringTheSessionKeepsThePreviousLogAndWarns) {
  screen_.platform.Write(kLog, kOldLog);
  {
    const faults::DiskFullAfter full(300);
    Run();
  }
  ExpectLoadedWithLogWarning(platform::DescribeSystemError(EFBIG));
}

// The log refused when it is closed, as a network share may refuse it.
TEST_F(SessionFilesFaultTest, ALogThatFailsToCloseIsReportedAndLeavesThePreviousLog) {
  screen_.platform.Write(kLog, kOldLog);
  const faults::FailingCall failing(faults::Call::Close, kLog, EIO);
  Run();
  EXPECT_EQ(failing.Failed(), 1);
  ExpectLoadedWithLogWarning(platform::DescribeSystemError(EIO));
}

// A link at the log's name, to a file elsewhere or to none: the link is replaced by
// the log, never written through.
TEST_F(SessionFilesFaultTest, ALinkAtTheLogsNameIsReplacedNotFollowed) {
  const QTemporaryDir elsewhere;
  const QString victim = QDir(elsewhere.path()).filePath(QStringLiteral("ajeno"));
  for (const bool targetExists : {true, false}) {
    QFile::remove(PathOf(kLog));
    QFile::remove(victim);
    if (targetExists) {
      QFile file(victim);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("ajeno") == 5);
    }
    ASSERT_TRUE(QFile::link(victim, PathOf(kLog)));
    screen_.platform.boxes.shown.clear();
    Run();
    EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
    EXPECT_FALSE(QFileInfo(PathOf(kLog)).isSymLink());
    EXPECT_TRUE(screen_.Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
    EXPECT_EQ(QFile::exists(victim), targetExists);
    if (targetExists) {
      QFile file(victim);
      EXPECT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.readAll(), "ajeno");
    }
  }
}

}  // namespace
