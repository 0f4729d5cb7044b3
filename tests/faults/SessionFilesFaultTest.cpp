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
#include "platform/QtClock.h"

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
// the session ends with its message and no descriptor left open; the configuration
// file is never touched.
class SessionFilesFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_.WriteConfig(kPhone, loader_testing::EfficientDhcpFile(kPhone));
    ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(QStringLiteral("Logs")));
  }

  [[nodiscard]] QString PathOf(const QString& name) const { return screen_.platform.PathOf(name); }
  [[nodiscard]] static qsizetype OpenDescriptors() {
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
        .size();
  }

  void Run() {
    const QByteArray config = screen_.platform.Read(kConfig);
    const qsizetype descriptors = OpenDescriptors();
    screen_.Run(kPhone);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(screen_.platform.Read(kConfig), config);
  }

  // The session refused with `text` before the port was opened; whatever stands at
  // the log's name is left as it was.
  void ExpectStoppedBeforeThePort(const QString& text) {
    const QStringList logs = faults::EntriesOf(PathOf(QStringLiteral("Logs")));
    Run();
    EXPECT_EQ(screen_.platform.boxes.shown, QList<ShownBox>{CriticalBox(text)});
    EXPECT_EQ(screen_.link->Opens(), 0);
    EXPECT_EQ(faults::EntriesOf(PathOf(QStringLiteral("Logs"))), logs);
    if (QFileInfo(PathOf(kLog)).isFile()) {
      EXPECT_EQ(screen_.platform.Read(kLog), kOldLog);
    }
  }

  loader_testing::SimulatedScreen screen_;
};

// Root reads anything, so the read itself fails: the platform's description.
TEST_F(SessionFilesFaultTest, AnUnreadableConfigurationFileLeavesTheOldLogAlone) {
  screen_.platform.Write(kLog, kOldLog);
  ASSERT_TRUE(QFile::remove(PathOf(kConfig)) && QFile::link(QStringLiteral("/proc/self/mem"), PathOf(kConfig)));
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EIO));
}

// The configuration folder is a plain file: there is no file to load.
TEST_F(SessionFilesFaultTest, APlainFileNamedConfiguracionesFindsNoFile) {
  screen_.platform.Write(kLog, kOldLog);
  ASSERT_TRUE(QDir(PathOf(QStringLiteral("Configuraciones"))).removeRecursively());
  screen_.platform.Write(QStringLiteral("Configuraciones"), "--Inicio\r\n");
  ExpectStoppedBeforeThePort(QStringLiteral("No se ha podido encontrar el fichero de configuración"));
}

// The log cannot be created: a folder of its name is in the way.
TEST_F(SessionFilesFaultTest, AFolderAtTheLogsNameStopsTheSessionBeforeThePort) {
  ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(kLog));
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EISDIR));
}

// A pipe at the log's name would block the window on opening (here a reader keeps
// it from blocking, so that the old behaviour fails rather than hangs).
TEST_F(SessionFilesFaultTest, APipeAtTheLogsNameIsRefusedBeforeThePort) {
  const QByteArray fifo = PathOf(kLog).toLocal8Bit();
  ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
  const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
  ExpectStoppedBeforeThePort(QString::fromUtf8(platform::kNotAPlainFileText));
  ::close(reader);
}

// The Logs folder on a read-only file system: the log cannot be created.
TEST_F(SessionFilesFaultTest, AReadOnlyLogsFolderStopsTheSessionBeforeThePort) {
  const faults::FailingCall readOnly(faults::Call::Create, kLog, EROFS);
  ExpectStoppedBeforeThePort(platform::DescribeSystemError(EROFS));
}

// Started with its standard input closed, as a script may start `cargar`, the
// program's files can take descriptor 0: a log written there is finished like any
// other, and a clock whose wake-up descriptor is 0 is still woken by a cancel.
TEST_F(SessionFilesFaultTest, DescriptorZeroIsADescriptorLikeAnyOther) {
  const int input = ::dup(STDIN_FILENO);
  ::close(STDIN_FILENO);
  Run();
  bool woken = false;
  {
    platform::QtClock clock;
    clock.Interrupt();
    woken = !clock.SleepWatching(2000, -1);
  }
  ::dup2(input, STDIN_FILENO);
  ::close(input);
  EXPECT_EQ(screen_.platform.boxes.shown, (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_TRUE(screen_.Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  EXPECT_TRUE(woken);
}

// The disk fills up while the log is written: the modem is loaded all the same, then
// a warning; the previous log stays whole and no temporary is left.
TEST_F(SessionFilesFaultTest, ADiskThatFillsUpDuringTheSessionKeepsThePreviousLogAndWarns) {
  screen_.platform.Write(kLog, kOldLog);
  {
    const faults::DiskFullAfter full(300);
    Run();
  }
  EXPECT_EQ(screen_.platform.boxes.shown,
            (QList<ShownBox>{PowerOnBox(), ConfiguredBox(),
                             {QStringLiteral("No se ha podido escribir el registro de la sesión %1: %2\r\n"
                                             "El registro anterior de este abonado, si lo había, se conserva sin "
                                             "cambios.")
                                  .arg(PathOf(kLog), platform::DescribeSystemError(EFBIG)),
                              QStringLiteral("Registro de la sesión"), platform::MsgIcon::Exclamation,
                              platform::MsgButtons::Ok}}));
  EXPECT_EQ(screen_.platform.Read(kLog), kOldLog);
  EXPECT_EQ(faults::EntriesOf(PathOf(QStringLiteral("Logs"))), QStringList{"900123456.log"});
}

// A link at the log's name, to another's file: the link is replaced by the log,
// never written through.
TEST_F(SessionFilesFaultTest, ALinkAtTheLogsNameIsReplacedNotFollowed) {
  const QTemporaryDir elsewhere;
  const QString victim = QDir(elsewhere.path()).filePath(QStringLiteral("ajeno"));
  QFile file(victim);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("ajeno") == 5);
  file.close();
  ASSERT_TRUE(QFile::link(victim, PathOf(kLog)));
  Run();
  EXPECT_EQ(screen_.platform.boxes.shown, (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_FALSE(QFileInfo(PathOf(kLog)).isSymLink());
  EXPECT_TRUE(screen_.Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "ajeno");
}

}  // namespace
