#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "platform/QtClock.h"
#include "platform/ErrorText.h"
#include "platform/QtSerialLink.h"
#include "support/TestPlatform.h"

using platform::QtSerialLink;

namespace {

// The far end of a serial line: the master side of a pseudo-terminal.
class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) == 0) slave_ = QString::fromLocal8Bit(name);
    termios raw {};
    ::tcgetattr(master_, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master_, TCSANOW, &raw);
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  [[nodiscard]] const QString& Slave() const { return slave_; }
  void Write(const QByteArray& bytes) { (void)::write(master_, bytes.constData(), bytes.size()); }
  // What arrives within a second: a short line comes whole through a pseudo-terminal.
  [[nodiscard]] QByteArray Read() {
    pollfd watch{master_, POLLIN, 0};
    char buffer[256];
    const ssize_t n = ::poll(&watch, 1, 1000) > 0 ? ::read(master_, buffer, sizeof buffer) : 0;
    return QByteArray(buffer, n > 0 ? n : 0);
  }

  // puertos/com<number> in the application directory names this line.
  [[nodiscard]] bool LinkAs(const testing_support::TestPlatform& platform, int number) const {
    QDir(platform.Dir()).mkpath(QStringLiteral("puertos"));
    return QFile::link(slave_, platform.PathOf(QStringLiteral("puertos/com%1").arg(number)));
  }

 private:
  int master_ = -1;
  QString slave_;
};

class QtSerialLinkTest : public ::testing::Test {
 protected:
  void OpenOnCom(QtSerialLink& link, int number) {
    QString error;
    ASSERT_TRUE(link.SetPortNumber(number, &error)) << error.toStdString();
    ASSERT_TRUE(link.SetLineSettings(kLine, &error)) << error.toStdString();
    ASSERT_TRUE(link.SetInputLength(0, &error));
    ASSERT_TRUE(link.Open(&error)) << error.toStdString();
  }

  static constexpr platform::LineSettings kLine{38400, 'N', 8, 1};
  testing_support::TestPlatform platform_;
  platform::QtClock clock_;
  Pty pty_;
};

// ComN is the link puertos/comN when there is one, else the N-th serial device. Every
// refusal says why in Spanish, naming the device; Qt's own English text never shows.
// (A missing device: the real-port session tests.)
TEST_F(QtSerialLinkTest, EveryRefusedPortOrSettingIsDescribedInSpanish) {
  EXPECT_EQ(platform::SerialDeviceForPort(3), QStringLiteral("/dev/ttyS2"));
  ASSERT_TRUE(pty_.LinkAs(platform_, 5));
  EXPECT_EQ(platform::SerialDeviceForPort(5), pty_.Slave());
  ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("puertos/carpeta")));
  const QString folder = platform_.PathOf(QStringLiteral("puertos/carpeta"));
  ASSERT_TRUE(QFile::link(folder, platform_.PathOf(QStringLiteral("puertos/com9"))));
  QtSerialLink holder;
  OpenOnCom(holder, 5);
  const QString invalid = QStringLiteral("Valor no válido para %1 del puerto serie");
  const struct {
    const char* situation;
    int port;
    platform::LineSettings line;
    QString error;
  } refusals[] = {
      {"port 0", 0, kLine, QStringLiteral("Número de puerto no válido: 0")},
      {"no speed", 5, {0, 'N', 8, 1}, invalid.arg(QStringLiteral("la velocidad"))},
      {"an unknown parity", 5, {38400, 'X', 8, 1}, invalid.arg(QStringLiteral("la paridad"))},
      {"nine data bits", 5, {38400, 'N', 9, 1}, invalid.arg(QStringLiteral("los bits de datos"))},
      {"three stop bits", 5, {38400, 'N', 8, 3}, invalid.arg(QStringLiteral("los bits de parada"))},
      {"a port another program holds", 5, kLine,
       QStringLiteral("El puerto %1 está en uso por otro programa o no hay permiso para abrirlo").arg(pty_.Slave())},
      {"a port that is a folder", 9, kLine,
       QStringLiteral("Error en el puerto %1: %2").arg(folder, platform::DescribeSystemError(EISDIR))},
  };
  for (const auto& refusal : refusals) {
    SCOPED_TRACE(refusal.situation);
    QtSerialLink link;
    QString error;
    EXPECT_FALSE(link.SetPortNumber(refusal.port, &error) && link.SetLineSettings(refusal.line, &error) &&
                 link.Open(&error));
    EXPECT_EQ(error, refusal.error);
  }
  // Once the other program lets go, the port opens.
  holder.Close();
  QtSerialLink link;
  OpenOnCom(link, 5);
}

// What came before the port was opened is dropped; a written line is on the device
// before the event loop runs again, so the modem never waits for the window's repaints.
TEST_F(QtSerialLinkTest, CarriesBytesBothWaysAndWritesWithoutTheEventLoop) {
  ASSERT_TRUE(pty_.LinkAs(platform_, 2));
  pty_.Write("stale");
  QtSerialLink link;
  OpenOnCom(link, 2);
  for (int i = 0; i < 5; ++i) clock_.Yield();
  pty_.Write("Password: \xf3");
  QByteArray received;
  QString error;
  for (int i = 0; i < 300 && received.size() < 11; ++i) {  // about three seconds
    clock_.Yield();
    QByteArray chunk;
    ASSERT_TRUE(link.ReadAll(&chunk, &error));
    received.append(chunk);
  }
  EXPECT_EQ(received, QByteArray("Password: \xf3"));
  for (const QByteArray line : {"set dns disable\r", "y\r"}) {
    ASSERT_TRUE(link.Write(line, &error)) << error.toStdString();
    EXPECT_EQ(link.TransmitCount(), 0);
    EXPECT_EQ(pty_.Read(), line);
  }
}

}  // namespace
