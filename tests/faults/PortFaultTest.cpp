#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <chrono>
#include <thread>

#include <QDir>
#include <QFile>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/QtClock.h"
#include "platform/ErrorText.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

using faults::kPhone;
using loader_testing::CriticalBox;
using loader_testing::PowerOnBox;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

constexpr int kPort = 6;

// Real time and the real event loop, except that the blocking pauses last a tenth of
// a second at most; the clock still counts them whole, so every wait keeps its limits.
class ShortPauseClock final : public platform::Clock {
 public:
  double Seconds() override { return real_.Seconds() + skipped_; }
  void SleepMs(int milliseconds) override {
    const int slept = std::min(milliseconds, 100);
    real_.SleepMs(slept);
    skipped_ += (milliseconds - slept) / 1000.0;
  }
  void Yield() override { real_.Yield(); }

 private:
  platform::QtClock real_;
  double skipped_ = 0;
};

// Sessions through QSerialPort on the port of the settings. Whatever the port does,
// the session ends with its message, the port closed, the log closed by its trailer
// and the screen idle. A port held by another program is refused where the port is
// opened (QtSerialLinkTest) and told as a missing one is; a port pulled out inside a
// command's wait is among the real-port session tests.
class PortFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    ServiceSettings.ComPort = kPort;
    QString error;
    ASSERT_TRUE(platform::MakeDirectory(platform_.PathOf(QStringLiteral("Configuraciones")), &error));
    ASSERT_TRUE(platform::ReplaceTextFile(ConfigFilePath(kPhone), loader_testing::EfficientDhcpFile(kPhone),
                                          &error));
  }

  // One session; returns how long it took, in seconds of real time.
  double RunSession() {
    const auto start = std::chrono::steady_clock::now();
    {
      LoadingSession session(&view_, std::make_unique<platform::QtSerialLink>(), clock_);
      session.cInstalar_Click(kPhone);
      EXPECT_FALSE(session.Link().IsOpen());
      EXPECT_FALSE(session.IsRunning());
    }
    EXPECT_FALSE(view_.busy);
    EXPECT_TRUE(view_.buttonsEnabled);
    EXPECT_TRUE(platform_.Read(QStringLiteral("Logs/900123456.log")).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
    EXPECT_TRUE(faults::OpenFilesContaining(platform_.Dir()).isEmpty());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  [[nodiscard]] QList<ShownBox>& Shown() { return platform_.boxes.shown; }

  testing_support::TestPlatform platform_;
  ShortPauseClock clock_;
  loader_testing::RecordingView view_;
};

// Com6 names an adapter that is not plugged in: its link points nowhere.
TEST_F(PortFaultTest, APortThatDoesNotExistIsReportedBeforeAnythingIsAsked) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("puertos")));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/no-such-adapter"),
                          platform_.PathOf(QStringLiteral("puertos/com6"))));
  RunSession();
  const QString missing = platform_.PathOf(QStringLiteral("puertos/com6"));
  EXPECT_EQ(Shown(), (QList<ShownBox>{{QStringLiteral("COM6 (%1): %2").arg(missing, platform::DescribeSystemError(ENOENT)),
                                       QString(), MsgIcon::Exclamation, platform::MsgButtons::Ok},
                                      CriticalBox(loader_texts::kNotStarted)}));
}

// The adapter pulled out while the program waits for the first prompt: the port's
// failure, then the connection message at once rather than at the end of the wait.
TEST_F(PortFaultTest, AnAdapterPulledOutDuringTheFirstWaitEndsItAtOnce) {
  modemsim::ConsoleOptions silent;
  silent.behaviour = modemsim::Behaviour::Silent;
  modemsim::PtyServer server;
  QString error;
  ASSERT_TRUE(server.Create(&error) && server.LinkAsPort(platform_.Dir(), kPort, &error)) << error.toStdString();
  const auto console = modemsim::MakeConsole(QStringLiteral("efficient"), server, silent);
  server.Attach(console.get());
  server.After(1.0, [&server] { server.HangUp(); });
  std::atomic<bool> stop{false};
  std::thread serving([&] {
    console->PowerOn();
    server.Run(stop);
  });
  const double seconds = RunSession();
  stop.store(true);
  serving.join();
  const QString unplugged =
      QStringLiteral("El puerto %1 ha dejado de estar disponible (se ha desconectado el dispositivo)");
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), CriticalBox(unplugged.arg(server.SlavePath())),
                                      CriticalBox(loader_texts::kCannotConnect),
                                      CriticalBox(loader_texts::kNotStarted)}));
  EXPECT_LT(seconds, 20);  // not the 50 s of the whole wait
}

}  // namespace
