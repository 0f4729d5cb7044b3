#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cerrno>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/SessionRunner.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/ErrorText.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

using namespace loader_testing;
using testing_support::ShownBox;

namespace {

constexpr int kPort = 7;

// Follows a session from the test's thread, as the window does: records what it is
// shown (every call must come on this thread) and answers the boxes through the
// test platform.
class TestObserver final : public RecordingViewOf<SessionObserver> {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override {
    Use();
    return platform::Current().messages->Show(text, title, icon, buttons);
  }
  void SessionEnded(const SessionResult& ended) override {
    Use();
    result = ended;
    endedAt = Now();
  }
  [[nodiscard]] double Now() const { return clock.nsecsElapsed() / 1e9; }

  SessionResult result;
  double endedAt = -1;
  QElapsedTimer clock;
};

// A session on its own thread, through QSerialPort and the real clock, against a
// quick simulated console served on a pseudo-terminal named as Com7 in the
// application directory; this thread runs a 20 ms timer meanwhile, as the window's
// thread paints.
class RealSerialThreadTest : public ::testing::Test {
 protected:
  // `hangUpAfter` > 0: the adapter is pulled out that many seconds after the start.
  void Run(std::int16_t model, modemsim::ConsoleOptions options = {}, double hangUpAfter = 0) {
    SetStartupValues();
    ServiceSettings.ComPort = kPort;
    file_ = GeneratedFile(model, DataScreen::Dhcp, kPhone);
    QString error;
    ASSERT_TRUE(platform::MakeDirectory(platform_.PathOf(QStringLiteral("Configuraciones")), &error));
    ASSERT_TRUE(platform::ReplaceTextFile(ConfigFilePath(kPhone), file_, &error));
    options.bootSeconds = 0;
    options.rebootSeconds = 0.3;
    options.defaultsSeconds = 0.2;
    options.answerSeconds = 0.01;
    ASSERT_TRUE(server_.Create(&error)) << error.toStdString();
    ASSERT_TRUE(server_.LinkAsPort(platform_.Dir(), kPort, &error)) << error.toStdString();
    console_ = modemsim::MakeConsole(ConsoleName(model), server_, options);
    server_.Attach(console_.get());
    if (hangUpAfter > 0) server_.After(hangUpAfter, [this] { server_.HangUp(); });
    serving_ = std::thread([this] {
      console_->PowerOn();
      server_.Run(stop_);
    });

    QTimer ticking;
    QElapsedTimer sinceTick;
    QObject::connect(&ticking, &QTimer::timeout, [&] {
      if (sinceTick.isValid()) longestTickGap_ = std::max(longestTickGap_, sinceTick.elapsed());
      sinceTick.start();
    });
    ticking.start(20);
    observer_.clock.start();
    {
      SessionRunner runner(observer_, SessionRunner::Threading::OwnThread);
      runner_ = &runner;
      ASSERT_TRUE(runner.Start(kPhone));
      runner.WaitForEnd();
    }
    TearDown();
    EXPECT_FALSE(observer_.busy);
    EXPECT_TRUE(observer_.buttonsEnabled);
    EXPECT_LT(longestTickGap_, 250);
  }
  void TearDown() override {
    stop_.store(true);
    if (serving_.joinable()) serving_.join();
  }
  testing_support::TestPlatform platform_;
  QStringList file_;
  modemsim::PtyServer server_;
  std::unique_ptr<modemsim::ModemConsole> console_;
  std::atomic<bool> stop_{false};
  std::thread serving_;
  TestObserver observer_;
  SessionRunner* runner_ = nullptr;
  qint64 longestTickGap_ = 0;
};

// Real bytes through QSerialPort and back, a whole session (of a model that needs no
// long pause: the Office's settling pauses are the tests below). Every model's lines
// and log are the in-process sessions' tests.
TEST_F(RealSerialThreadTest, ProLoadsThroughAPseudoTerminal) {
  Run(kSpeedTouchPro);
  EXPECT_EQ(observer_.result, SessionResult::Loaded());
  EXPECT_EQ(platform_.boxes.shown, (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  QList<QByteArray> typed = console_->ReceivedLines();
  typed.removeAll(QByteArray());  // the wake-ups
  EXPECT_EQ(typed, AsLines(ExpectedTypedLines(kSpeedTouchPro, file_)));
}

// A cancel in the Office's 10 s settling pause, a blocking one, ends the session
// within half a second while this thread goes on serving its events. (Cancels at
// every other step: SessionInterruptTest.)
TEST_F(RealSerialThreadTest, ACancelInTheSettlingPauseEndsItAtOnce) {
  double cancelledAt = -1;
  observer_.onStatus = [&](const QString& status) {
    if (status.startsWith(QStringLiteral("Esperando a que el módem se estabilice (quedan 8 s)")) && cancelledAt < 0) {
      cancelledAt = observer_.Now();
      runner_->Cancel();
    }
  };
  Run(kSpeedTouchOffice);
  ASSERT_GE(cancelledAt, 0);
  EXPECT_EQ(observer_.result, SessionResult::Cancelled());
  EXPECT_LE(observer_.endedAt - cancelledAt, 0.5);
  EXPECT_EQ(platform_.boxes.Texts(),
            (QStringList{loader_texts::kPowerOnQuestion, QStringLiteral("Carga cancelada por el usuario")}));
}

// The adapter pulled out while the program waits for the first prompt: the port's
// failure, then the connection message at once rather than at the end of the 50 s.
TEST_F(RealSerialThreadTest, AnAdapterPulledOutDuringTheFirstWaitEndsItAtOnce) {
  modemsim::ConsoleOptions silent;
  silent.behaviour = modemsim::Behaviour::Silent;
  Run(kEfficientSS5660, silent, 1.0);
  EXPECT_LT(observer_.endedAt, 20);
  EXPECT_EQ(platform_.boxes.shown,
            (QList<ShownBox>{
                PowerOnBox(),
                CriticalBox(QStringLiteral("El puerto %1 ha dejado de estar disponible (se ha desconectado el "
                                           "dispositivo)").arg(server_.SlavePath())),
                CriticalBox(loader_texts::kCannotConnect), CriticalBox(loader_texts::kNotStarted)}));
}

// The adapter pulled out during the Office's 10 s settling pause, a blocking pause
// that serves no port events: it still ends at once.
TEST_F(RealSerialThreadTest, AnAdapterPulledOutInTheSettlingPauseEndsTheSessionAtOnce) {
  constexpr double kHangUpAt = 3.0;  // the prompt comes within a second of the start
  Run(kSpeedTouchOffice, {}, kHangUpAt);
  EXPECT_LT(observer_.endedAt - kHangUpAt, 1.0);
  const QStringList texts = platform_.boxes.Texts();
  ASSERT_EQ(texts.size(), 4);  // the port's failure (its text: the test above) second
  EXPECT_EQ(texts.mid(2), (QStringList{loader_texts::kCannotContactModem, loader_texts::kFirstLoginFailed}));
}

// Com6 names an adapter that is not plugged in: its link points nowhere. (How the
// session shows a port it cannot name: ModemDialogueTest.)
TEST(RealPortTest, APortThatDoesNotExistIsNamedWithTheSystemsReason) {
  testing_support::TestPlatform platform;
  const QString missing = platform.PathOf(QStringLiteral("puertos/com6"));
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("puertos")));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/no-such-adapter"), missing));
  platform::QtSerialLink link;
  QString error;
  EXPECT_FALSE(link.SetPortNumber(6, &error));
  EXPECT_EQ(error, QStringLiteral("COM6 (%1): %2").arg(missing, platform::DescribeSystemError(ENOENT)));
}

}  // namespace
