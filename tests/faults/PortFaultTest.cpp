#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
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
#include "platform/ErrorText.h"
#include "platform/QtClock.h"
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
  const QString missing = platform_.PathOf(QStringLiteral("puertos/com6"));
  ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("puertos")));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/no-such-adapter"), missing));
  RunSession();
  const QString text = QStringLiteral("COM6 (%1): %2").arg(missing, platform::DescribeSystemError(ENOENT));
  EXPECT_EQ(Shown(), (QList<ShownBox>{{text, QString(), MsgIcon::Exclamation, platform::MsgButtons::Ok},
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

// Where the adapter is pulled out: `after` seconds after the program wrote the
// `occurrence`-th line starting with `line` ("" is the answer to the power-on
// question). A modem that hangs on `line` keeps the program in that line's wait.
struct Unplug {
  const char* stage;
  std::int16_t model;
  QByteArray line;
  int occurrence;
  double after;
  QStringList boxes;  // what the user is told after the port's own failure
  bool hangs = false;
};

// The serial adapter pulled out at each stage of a session of each model, on the
// virtual clock. The user is told once that the port failed, whether the program
// noticed it inside a read or a write or between two of them, and then what the
// step's failure means; the session ends within a second (the wait or the pause it
// is in ends at once, a pause within one of its slices), and idle.
TEST(UnplugFaultTest, AnAdapterPulledOutAtAnyStageEndsTheSessionWithItsMessage) {
  using namespace loader_texts;
  const QString port = platform::DescribeSystemError(EIO);
  const std::int16_t efficient = kEfficientSS5660;
  const std::int16_t office = kSpeedTouchOffice;
  const std::int16_t pro = kSpeedTouchPro;
  const QList<Unplug> stages = {
      {"first prompt", efficient, "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"first login", efficient, "tarnimol", 1, 0, {kCannotContactModem, kFirstLoginFailed}},
      {"default all", efficient, "default all", 1, 0, {kCannotContactAtuR}},
      {"wait after default all", efficient, "default all", 1, 0.5, {kUnexpectedAnswer}},
      {"reboot question", efficient, "reboot", 1, 0.01, {kUnexpectedAnswer}},
      {"prompt after the reboot", efficient, "y", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"set password", efficient, "set password", 1, 0, {kCannotContactAtuR, kSecondLoginFailed}},
      {"new password question", efficient, "set password", 1, 0.5, {kNoNewPasswordPrompt, kSecondLoginFailed}},
      {"first prompt", office, "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"settling pause", office, "", 1, 2.5, {kCannotContactModem, kFirstLoginFailed}},
      {"wait after erase all", office, "erase all", 1, 0.5, {kUnexpectedAnswer}},
      {"prompt after the reboot", office, "reboot", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"second login", office, "tarnimol", 2, 0, {kCannotContactModem, kSecondLoginFailed}},
      {"first prompt", pro, "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"wait after config erase", pro, "config erase", 1, 1.0, {kUnexpectedAnswer}, true},
      {"prompt after the reboot", pro, "system reboot", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"password answer", pro, "system setpassword", 1, 1.0, {kNoNewPasswordPrompt, kSecondLoginFailed}, true},
      {"a command's answer", pro, "cip pvcadd", 1, 1.0, {kResponseTimeout}, true},
  };
  for (const Unplug& stage : stages) {
    SCOPED_TRACE(loader_testing::ConsoleName(stage.model).toStdString() + ": " + stage.stage);
    const auto screen = faults::NaptScreen(
        stage.model, stage.hangs ? modemsim::Behaviour::DeadCommand : modemsim::Behaviour::Healthy, stage.line);
    double unpluggedAt = -1;
    const auto unplug = [&] {
      screen->clock.After(stage.after, [&] {
        unpluggedAt = screen->clock.Seconds();
        screen->link->HangUp();
      });
    };
    int seen = 0;
    if (stage.line.isEmpty()) {
      screen->platform.boxes.onShow = [&](const ShownBox& box) {
        if (box.title != kPowerOnTitle) return;
        screen->console->PowerOn();
        unplug();
      };
    } else {
      screen->tap->afterWrite = [&](const QByteArray& bytes) {
        if (bytes.startsWith(stage.line) && ++seen == stage.occurrence) unplug();
      };
    }
    screen->Run(kPhone);

    ASSERT_GE(unpluggedAt, 0) << "the adapter was never pulled out";
    EXPECT_EQ(screen->BoxTexts(), (QStringList{kPowerOnQuestion, port} + stage.boxes));
    EXPECT_LE(screen->clock.Seconds() - unpluggedAt, 1.1);
    faults::ExpectEndedIdle(*screen);
  }
}

}  // namespace
