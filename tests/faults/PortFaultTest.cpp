#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <QDir>
#include <QFile>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/Cp1252.h"
#include "platform/QtClock.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

using loader_testing::CriticalBox;
using loader_testing::PowerOnBox;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");
constexpr int kPort = 6;
const QByteArray kTrailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));

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

// The simulated modem served in real time on a pseudo-terminal named as Com6.
class PtyModem {
 public:
  PtyModem(const testing_support::TestPlatform& platform, modemsim::ConsoleOptions options) {
    QString error;
    created_ = server_.Create(&error) && server_.LinkAsPort(platform.Dir(), kPort, &error);
    console_ = modemsim::MakeConsole(QStringLiteral("efficient"), server_, options);
    server_.Attach(console_.get());
  }
  ~PtyModem() { Stop(); }
  PtyModem(const PtyModem&) = delete;
  PtyModem& operator=(const PtyModem&) = delete;

  [[nodiscard]] bool Created() const { return created_; }
  // Before Start: the adapter is pulled out that long after the modem is switched on.
  void UnplugAfter(double seconds) {
    server_.After(seconds, [this] { server_.HangUp(); });
  }
  void Start() {
    serving_ = std::thread([this] {
      console_->PowerOn();
      server_.Run(stop_);
    });
  }
  void Stop() {
    stop_.store(true);
    if (serving_.joinable()) serving_.join();
  }
  [[nodiscard]] bool HungUp() const { return server_.HungUp(); }

 private:
  modemsim::PtyServer server_;
  std::unique_ptr<modemsim::ModemConsole> console_;
  std::atomic<bool> stop_{false};
  std::thread serving_;
  bool created_ = false;
};

// Sessions through QSerialPort on the port of the settings. Whatever the port does,
// the session ends with its message, the port closed, the log closed by its trailer
// and the screen idle.
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
    EXPECT_TRUE(platform_.Read(QStringLiteral("Logs/900123456.log")).endsWith(kTrailer));
    EXPECT_TRUE(faults::OpenFilesContaining(platform_.Dir()).isEmpty());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  [[nodiscard]] QList<ShownBox>& Shown() { return platform_.boxes.shown; }

  // The port's own failure: its description, the application's title, exclamation.
  static void ExpectPortWarning(const ShownBox& box) {
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_EQ(box.title, QString());
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
  }

  // A port that broke inside a session: its description, critical, "Error".
  static void ExpectPortFailure(const ShownBox& box) {
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_EQ(box.title, loader_texts::kErrorTitle);
    EXPECT_EQ(box.icon, MsgIcon::Critical);
  }

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
  ASSERT_EQ(Shown().size(), 2);
  ExpectPortWarning(Shown()[0]);
  EXPECT_EQ(Shown()[1], CriticalBox(loader_texts::kNotStarted));
}

// Another program holds the port: it keeps it, and once it lets go the port opens.
TEST_F(PortFaultTest, APortInUseIsReportedAndWorksOnceReleased) {
  PtyModem modem(platform_, {});
  ASSERT_TRUE(modem.Created());
  platform::QtSerialLink holder;
  QString error;
  ASSERT_TRUE(holder.SetPortNumber(kPort, &error) && holder.Open(&error)) << error.toStdString();
  RunSession();
  ASSERT_EQ(Shown().size(), 2);
  ExpectPortWarning(Shown()[0]);
  EXPECT_EQ(Shown()[1], CriticalBox(loader_texts::kNotStarted));
  EXPECT_TRUE(holder.IsOpen());

  holder.Close();
  Shown().clear();
  platform_.boxes.Answer(platform::MsgAnswer::Cancel);
  RunSession();
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), CriticalBox(loader_texts::kNotStarted)}));
}

// The adapter pulled out while the program waits for the first prompt: the port's
// failure, then the connection message at once rather than at the end of the wait.
TEST_F(PortFaultTest, AnAdapterPulledOutDuringTheFirstWaitEndsItAtOnce) {
  modemsim::ConsoleOptions silent;
  silent.behaviour = modemsim::Behaviour::Silent;
  PtyModem modem(platform_, silent);
  ASSERT_TRUE(modem.Created());
  modem.UnplugAfter(1.0);
  modem.Start();
  const double seconds = RunSession();
  modem.Stop();
  EXPECT_TRUE(modem.HungUp());
  ASSERT_EQ(Shown().size(), 4);
  EXPECT_EQ(Shown()[0], PowerOnBox());
  ExpectPortFailure(Shown()[1]);
  EXPECT_EQ(Shown().mid(2), (QList<ShownBox>{CriticalBox(loader_texts::kCannotConnect),
                                             CriticalBox(loader_texts::kNotStarted)}));
  EXPECT_LT(seconds, 20);  // not the 50 s of the whole wait
}

// The adapter pulled out while a command line leaves: the port's failure once, then
// the command's own message; what the modem said is in the log.
TEST_F(PortFaultTest, AnAdapterPulledOutMidScriptEndsTheSessionWithTheFailure) {
  modemsim::ConsoleOptions options;
  options.behaviour = modemsim::Behaviour::Unplugged;
  options.bootSeconds = 0;
  options.rebootSeconds = 0.3;
  options.defaultsSeconds = 0.2;
  options.answerSeconds = 0.01;
  PtyModem modem(platform_, options);
  ASSERT_TRUE(modem.Created());
  modem.Start();
  const double seconds = RunSession();
  modem.Stop();
  EXPECT_TRUE(modem.HungUp());
  ASSERT_EQ(Shown().size(), 3);
  EXPECT_EQ(Shown()[0], PowerOnBox());
  ExpectPortFailure(Shown()[1]);
  EXPECT_EQ(Shown()[2], CriticalBox(loader_texts::kResponseTimeout));
  EXPECT_TRUE(platform_.Read(QStringLiteral("Logs/900123456.log")).contains("Command->"));
  EXPECT_LT(seconds, 30);
}

}  // namespace
