#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <thread>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/SessionRunner.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/TextFile.h"

namespace {

const QString kPhone = QStringLiteral("900123456");
constexpr int kPort = 8;

// Follows a session from the test's thread, as the window does: records what it is
// shown, answers the boxes through the test platform, and checks that every call
// comes on this thread.
class TestObserver final : public SessionObserver {
 public:
  void SetDialogueText(const QString& text) override { Here(); view.SetDialogueText(text); }
  void AppendDialogueText(const QString& text) override { Here(); view.AppendDialogueText(text); }
  void MoveCaretToEnd() override { Here(); }
  [[nodiscard]] QString Caption() const override { Here(); return view.Caption(); }
  void SetCaption(const QString& caption) override { Here(); view.SetCaption(caption); }
  void SetBusyPointer(bool busy) override { Here(); view.SetBusyPointer(busy); }
  void SetButtonsEnabled(bool enabled) override { Here(); view.SetButtonsEnabled(enabled); }
  void ShowStatus(const QString& text) override {
    Here();
    view.ShowStatus(text);
    if (onStatus) onStatus(text);
  }
  void ShowProgress(int sent, int total) override { Here(); view.ShowProgress(sent, total); }
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override {
    Here();
    return platform::Current().messages->Show(text, title, icon, buttons);
  }
  void SessionEnded(const SessionResult& ended) override {
    Here();
    result = ended;
    endedAt = clock.nsecsElapsed() / 1e9;
  }

  loader_testing::RecordingView view;
  std::function<void(const QString&)> onStatus;
  SessionResult result;
  double endedAt = -1;
  QElapsedTimer clock;

 private:
  void Here() const {
    if (std::this_thread::get_id() != home_) ADD_FAILURE() << "the observer was called off its thread";
  }
  std::thread::id home_ = std::this_thread::get_id();
};

// A session on its own thread, through QSerialPort and the real clock, against a
// quick simulated modem on a pseudo-terminal; this thread runs a timer meanwhile, as
// the window's thread paints.
class RealSerialThreadTest : public ::testing::Test {
 protected:
  void Run(const QString& model, modemsim::ConsoleOptions options) {
    SetStartupValues();
    ServiceSettings.ComPort = kPort;
    QString error;
    ASSERT_TRUE(platform::MakeDirectory(platform_.PathOf(QStringLiteral("Configuraciones")), &error));
    const std::int16_t number = model == QStringLiteral("pro") ? kSpeedTouchPro : kSpeedTouchOffice;
    ASSERT_TRUE(platform::ReplaceTextFile(
        ConfigFilePath(kPhone), loader_testing::GeneratedFile(number, DataScreen::Dhcp, kPhone), &error));
    options.bootSeconds = 0;
    options.rebootSeconds = 0.3;
    options.answerSeconds = 0.01;
    modemsim::PtyServer server;
    ASSERT_TRUE(server.Create(&error)) << error.toStdString();
    ASSERT_TRUE(server.LinkAsPort(platform_.Dir(), kPort, &error)) << error.toStdString();
    const auto console = modemsim::MakeConsole(model, server, options);
    server.Attach(console.get());
    std::atomic<bool> stop{false};
    std::thread serving([&] {
      console->PowerOn();
      server.Run(stop);
    });

    QTimer ticking;
    QElapsedTimer sinceTick;
    QObject::connect(&ticking, &QTimer::timeout, [&] {
      ++ticks_;
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
      runner_ = nullptr;
    }
    ticking.stop();
    stop.store(true);
    serving.join();
    EXPECT_FALSE(observer_.view.busy);
    EXPECT_TRUE(observer_.view.buttonsEnabled);
  }

  // The moment a status line first starts with `step` and shows `left` seconds.
  [[nodiscard]] static bool Shows(const QString& status, const char* step, int left) {
    return status.startsWith(QString::fromUtf8(step)) && status.endsWith(QStringLiteral("(quedan %1 s)").arg(left));
  }
  void CancelNow() {
    cancelledAt_ = observer_.clock.nsecsElapsed() / 1e9;
    runner_->Cancel();
  }
  [[nodiscard]] QStringList BoxTexts() const {
    QStringList texts;
    for (const auto& box : platform_.boxes.shown) texts << box.text;
    return texts;
  }

  testing_support::TestPlatform platform_;
  TestObserver observer_;
  SessionRunner* runner_ = nullptr;
  double cancelledAt_ = -1;
  int ticks_ = 0;
  qint64 longestTickGap_ = 0;
};

// The Office's 10 s settling pause: the observer's thread goes on serving its events
// and the countdown moves; a cancel in the middle of it ends the session at once.
TEST_F(RealSerialThreadTest, TheSettlingPauseCountsDownAndACancelEndsItAtOnce) {
  int ticksAt9 = -1;
  int ticksAt8 = -1;
  observer_.onStatus = [&](const QString& status) {
    const char* settling = "Esperando a que el módem se estabilice";
    if (Shows(status, settling, 9)) ticksAt9 = ticks_;
    if (Shows(status, settling, 8)) {
      ticksAt8 = ticks_;
      CancelNow();
    }
  };
  Run(QStringLiteral("office"), {});
  ASSERT_GE(cancelledAt_, 0);
  EXPECT_EQ(observer_.result, SessionResult::Cancelled());
  EXPECT_LE(observer_.endedAt - cancelledAt_, 0.5);
  EXPECT_GE(ticksAt8 - ticksAt9, 25);  // a second of a 20 ms timer, give or take
  EXPECT_LT(longestTickGap_, 250);
  EXPECT_EQ(BoxTexts().last(), QStringLiteral("Carga cancelada por el usuario"));
}

// A Pro whose console hangs on a command: a cancel in the middle of its 30 s wait
// ends the session within half a second.
TEST_F(RealSerialThreadTest, ACancelInTheMiddleOfAThirtySecondWaitEndsItAtOnce) {
  observer_.onStatus = [&](const QString& status) {
    if (Shows(status, "Enviando la línea", 28) && cancelledAt_ < 0) CancelNow();
  };
  modemsim::ConsoleOptions options;
  options.behaviour = modemsim::Behaviour::DeadCommand;
  options.troubleCommand = modemsim::DefaultTroubleCommand(QStringLiteral("pro"));
  Run(QStringLiteral("pro"), options);
  ASSERT_GE(cancelledAt_, 0);
  EXPECT_EQ(observer_.result, SessionResult::Cancelled());
  EXPECT_LE(observer_.endedAt - cancelledAt_, 0.5);
  EXPECT_LT(longestTickGap_, 250);
  EXPECT_EQ(BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, QStringLiteral("Carga cancelada por el usuario")}));
}

// The adapter pulled out while the program waits for a command's answer: the port's
// failure and the step's message come at once, not after the wait's 30 s.
TEST_F(RealSerialThreadTest, AnAdapterPulledOutInAWaitEndsTheSessionAtOnce) {
  double stepAt = -1;
  observer_.onStatus = [&](const QString& status) {
    if (status.startsWith(QStringLiteral("Enviando la línea")) && stepAt < 0) stepAt = observer_.clock.nsecsElapsed() / 1e9;
  };
  modemsim::ConsoleOptions options;
  options.behaviour = modemsim::Behaviour::Unplugged;
  options.troubleCommand = modemsim::DefaultTroubleCommand(QStringLiteral("pro"));
  Run(QStringLiteral("pro"), options);
  ASSERT_GE(stepAt, 0);
  EXPECT_LT(observer_.endedAt - stepAt, 2.0);
  ASSERT_EQ(observer_.result.outcome, SessionResult::Outcome::Failed);
  EXPECT_TRUE(observer_.result.step.startsWith(QStringLiteral("Enviando la línea")));
  const QStringList texts = BoxTexts();
  ASSERT_EQ(texts.size(), 3);
  EXPECT_EQ(texts.last(), loader_texts::kResponseTimeout);
  EXPECT_EQ(observer_.view.statuses.last(), QStringLiteral("Error en: ") + observer_.result.step);
}

}  // namespace
