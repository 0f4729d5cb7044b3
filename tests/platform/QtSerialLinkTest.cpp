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
  ~Pty() { HangUp(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  [[nodiscard]] const QString& Slave() const { return slave_; }
  void Write(const QByteArray& bytes) { (void)::write(master_, bytes.constData(), bytes.size()); }
  // Whatever arrives within the time.
  [[nodiscard]] QByteArray Read(int milliseconds) {
    QByteArray bytes;
    pollfd watch{master_, POLLIN, 0};
    while (::poll(&watch, 1, milliseconds) > 0 && (watch.revents & POLLIN) != 0) {
      char buffer[256];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, n);
      milliseconds = 50;
    }
    return bytes;
  }
  void HangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
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

// Lets the event loop run until the condition holds, for at most about three seconds.
template <typename Condition>
bool YieldUntil(platform::Clock& clock, Condition condition) {
  for (int i = 0; i < 300; ++i) {
    if (condition()) return true;
    clock.Yield();
  }
  return condition();
}

class QtSerialLinkTest : public ::testing::Test {
 protected:
  void OpenOnCom(QtSerialLink& link, int number) {
    QString error;
    ASSERT_TRUE(link.SetPortNumber(number, &error)) << error.toStdString();
    ASSERT_TRUE(link.SetLineSettings({38400, 'N', 8, 1}, &error)) << error.toStdString();
    ASSERT_TRUE(link.SetInputLength(0, &error));
    ASSERT_TRUE(link.Open(&error)) << error.toStdString();
  }

  testing_support::TestPlatform platform_;
  platform::QtClock clock_;
  Pty pty_;
};

TEST_F(QtSerialLinkTest, ComNumberIsTheLinkInPuertosOrElTheSerialDevice) {
  EXPECT_EQ(platform::SerialDeviceForPort(3), QStringLiteral("/dev/ttyS2"));
  EXPECT_EQ(platform::SerialDeviceForPort(0), QString());
  ASSERT_TRUE(pty_.LinkAs(platform_, 3));
  EXPECT_EQ(platform::SerialDeviceForPort(3), pty_.Slave());
  EXPECT_EQ(platform::SerialDeviceForPort(4), QStringLiteral("/dev/ttyS3"));

  QtSerialLink link;
  QString error;
  EXPECT_FALSE(link.SetPortNumber(0, &error));
  error.clear();
  EXPECT_FALSE(link.SetPortNumber(250, &error));  // no /dev/ttyS249
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(link.SetLineSettings({38400, 'X', 8, 1}, &error));
  EXPECT_FALSE(link.SetLineSettings({38400, 'N', 9, 1}, &error));
  EXPECT_TRUE(link.SetPortNumber(3, &error));
  EXPECT_EQ(link.DevicePath(), pty_.Slave());
}

TEST_F(QtSerialLinkTest, CarriesBytesBothWaysAndDropsWhatCameBeforeOpening) {
  ASSERT_TRUE(pty_.LinkAs(platform_, 2));
  pty_.Write("stale");
  QtSerialLink link;
  OpenOnCom(link, 2);
  for (int i = 0; i < 5; ++i) clock_.Yield();
  pty_.Write("Password: \xf3");
  QByteArray received;
  QString error;
  ASSERT_TRUE(YieldUntil(clock_, [&] {
    QByteArray chunk;
    EXPECT_TRUE(link.ReadAll(&chunk, &error));
    received.append(chunk);
    return received.size() >= 11;
  }));
  EXPECT_EQ(received, QByteArray("Password: \xf3"));

  ASSERT_TRUE(link.Write("reboot\r", &error));
  EXPECT_TRUE(YieldUntil(clock_, [&] { return link.TransmitCount() == 0; }));
  EXPECT_EQ(pty_.Read(1000), QByteArray("reboot\r"));
  EXPECT_TRUE(link.TakeFailure().isEmpty());
}

// The modem must not wait for whatever else the event loop has to do (repaints of
// the dialogue box): a written line is on the device before the loop runs again.
TEST_F(QtSerialLinkTest, AWrittenLineReachesTheDeviceWithoutTheEventLoop) {
  ASSERT_TRUE(pty_.LinkAs(platform_, 4));
  QtSerialLink link;
  OpenOnCom(link, 4);
  QString error;
  ASSERT_TRUE(link.Write("set dns disable\r", &error)) << error.toStdString();
  EXPECT_EQ(link.TransmitCount(), 0);
  EXPECT_EQ(pty_.Read(1000), QByteArray("set dns disable\r"));
  ASSERT_TRUE(link.Write("y\r", &error));
  EXPECT_EQ(pty_.Read(1000), QByteArray("y\r"));
}

TEST_F(QtSerialLinkTest, PortInUseIsRefusedWithADescription) {
  ASSERT_TRUE(pty_.LinkAs(platform_, 5));
  QtSerialLink first;
  OpenOnCom(first, 5);
  QtSerialLink second;
  QString error;
  ASSERT_TRUE(second.SetPortNumber(5, &error));
  EXPECT_FALSE(second.Open(&error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(second.LastErrorKind(), QSerialPort::PermissionError);
  first.Close();
  EXPECT_TRUE(second.Open(&error)) << error.toStdString();
}

// A port name that leads to a directory: Qt words that failure with the system's
// English text, which must not reach the user.
TEST_F(QtSerialLinkTest, APortThatIsADirectoryIsRefusedInSpanish) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("puertos/carpeta")));
  ASSERT_TRUE(QFile::link(platform_.PathOf(QStringLiteral("puertos/carpeta")),
                          platform_.PathOf(QStringLiteral("puertos/com9"))));
  QtSerialLink link;
  QString error;
  ASSERT_TRUE(link.SetPortNumber(9, &error));
  EXPECT_FALSE(link.Open(&error));
  EXPECT_TRUE(error.contains(platform::DescribeSystemError(EISDIR))) << error.toStdString();
}

// The adapter pulled out: the port reports it once, closes, and refuses further use.
TEST_F(QtSerialLinkTest, HangUpIsReportedOnceAndClosesThePort) {
  ASSERT_TRUE(pty_.LinkAs(platform_, 6));
  QtSerialLink link;
  OpenOnCom(link, 6);
  pty_.HangUp();
  ASSERT_TRUE(YieldUntil(clock_, [&] { return !link.IsOpen(); }));
  EXPECT_TRUE(link.TakeFailure().contains(QStringLiteral("se ha desconectado el dispositivo")));
  for (int i = 0; i < 20; ++i) clock_.Yield();
  EXPECT_TRUE(link.TakeFailure().isEmpty());
  QString error;
  EXPECT_FALSE(link.Write("y\r", &error));
  EXPECT_FALSE(error.isEmpty());
  QByteArray bytes;
  EXPECT_FALSE(link.ReadAll(&bytes, &error));
  EXPECT_EQ(link.TransmitCount(), 0);
}

}  // namespace
