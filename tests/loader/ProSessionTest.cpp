#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ProAnswers.h"
#include "modemsim/ProConsole.h"
#include "platform/Cp1252.h"
#include "platform/ErrorText.h"

using loader_testing::AsLines;
using loader_testing::ConfiguredBox;
using loader_testing::CriticalBox;
using loader_testing::ExpectedTypedLines;
using loader_testing::GeneratedFile;
using loader_testing::PasswordNotValidBox;
using loader_testing::PowerOnBox;
using loader_testing::SentLines;
using loader_testing::SimulatedScreen;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");
const QString kStartLine = QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Pro");

QStringList ProFile() { return GeneratedFile(kSpeedTouchPro, DataScreen::Napt, kPhone); }
const QString kPvcLine = QStringLiteral("cip pvcadd dest=8*32 destaddr=192.0.2.10");

class ProSessionTest : public ::testing::Test {
 protected:
  SimulatedScreen& Start(Behaviour behaviour = Behaviour::Healthy,
                         const QByteArray& trouble = "cip pvcadd") {
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    options.troubleCommand = trouble;
    return Start(options);
  }

  SimulatedScreen& Start(const modemsim::ConsoleOptions& options) {
    // One screen at a time: each installs its own platform and puts back the previous.
    screen_.reset();
    screen_ = std::make_unique<SimulatedScreen>(options, QStringLiteral("pro"));
    screen_->WriteConfig(kPhone, ProFile());
    return *screen_;
  }

  void TearDown() override {
    ASSERT_TRUE(screen_);
    EXPECT_FALSE(screen_->link->IsOpen());
    EXPECT_FALSE(screen_->view.busy);
    EXPECT_TRUE(screen_->view.buttonsEnabled);
    EXPECT_EQ(screen_->link->ClosedPortUses(), 0);
  }

  [[nodiscard]] const QList<ShownBox>& Shown() const { return screen_->platform.boxes.shown; }

  [[nodiscard]] QByteArray LogBody() const {
    return loader_testing::LogBody(screen_->Log(kPhone), kStartLine);
  }

  // The moment each line left, by its text.
  void RecordWrites() {
    screen_->tap->afterWrite = [this](const QByteArray& bytes) {
      writes_.append({screen_->clock.Seconds(), bytes});
    };
  }

  std::unique_ptr<SimulatedScreen> screen_;
  QList<QPair<double, QByteArray>> writes_;
};

TEST_F(ProSessionTest, HealthyModemGetsExactlyTheseBytes) {
  SimulatedScreen& screen = Start();
  screen.Run(kPhone);

  const QStringList typed = ExpectedTypedLines(kSpeedTouchPro, ProFile());
  EXPECT_EQ(screen.TypedLines(), AsLines(typed));
  EXPECT_EQ(QByteArray(screen.link->Wire()).replace("\r\n\r", ""),
            platform::ToCp1252(typed.join(QLatin1Char('\r')) + QLatin1Char('\r')));
  EXPECT_EQ(screen.link->Settings().baudRate, 9600);
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_EQ(static_cast<modemsim::ProConsole&>(*screen.console).Password(), "tarnimol");

  // The box grows once per wait, when the wait is over: the erase, the reboot line,
  // then (after the box was replaced) the password and every command.
  const QStringList& appended = screen.view.appended;
  ASSERT_EQ(appended.size(), 2 + 1 + SentLines(ProFile()).size());
  EXPECT_EQ(appended[1], QStringLiteral("system reboot"));
  for (const QString& text : appended.mid(2)) {
    EXPECT_TRUE(IsFreshPrompt(text.toLatin1())) << text.toStdString();
  }
  // Trimmed from the front like every Pro answer.
  EXPECT_TRUE(appended.last().endsWith(QStringLiteral("figuration saved.\r\n\r\n=>")));

  // One snapshot, from the reboot on, with the password masked.
  const QByteArray box = screen.session->Dialogue().Content();
  EXPECT_TRUE(box.contains("system setpassword password=tarnimol\r\n"));
  EXPECT_FALSE(box.contains("config erase"));
  EXPECT_EQ(LogBody(), QByteArray(box).replace("password=tarnimol", "password=********") + "\r\n");
  EXPECT_FALSE(screen.Log(kPhone).contains("tarnimol"));
}

TEST_F(ProSessionTest, EmptyPasswordSendsTheBareCommand) {
  SimulatedScreen& screen = Start();
  ServiceSettings.AccessPassword.clear();
  screen.Run(kPhone);
  EXPECT_TRUE(screen.link->Wire().contains("\rsystem setpassword password=\r"));
  EXPECT_EQ(static_cast<modemsim::ProConsole&>(*screen.console).Password(), "");
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  EXPECT_TRUE(LogBody().contains("system setpassword password=\r\n"));
}

// An answer that ends "=>" right after a line break is no fresh prompt: after 30 s
// the command goes again behind a bare CR, and then any prompt at the end will do.
TEST_F(ProSessionTest, PromptAfterASingleLineBreakIsRetriedAndTheShortPromptIsEnough) {
  SimulatedScreen& screen = Start(Behaviour::ShortPrompt);
  RecordWrites();
  screen.Run(kPhone);
  QStringList expected = ExpectedTypedLines(kSpeedTouchPro, ProFile());
  expected.insert(expected.indexOf(kPvcLine), kPvcLine);
  EXPECT_EQ(screen.TypedLines(), AsLines(expected));
  const QByteArray pvc = platform::ToCp1252(kPvcLine);
  EXPECT_TRUE(screen.link->Wire().contains("\r" + pvc + "\r\r" + pvc + "\r"));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));

  double firstTry = 0;
  double resend = 0;
  for (const auto& [when, bytes] : writes_) {
    if (bytes == pvc + "\r" && firstTry == 0) firstTry = when;
    if (bytes == "\r") resend = when;
  }
  EXPECT_GE(resend - firstTry, 29.5);
  EXPECT_LE(resend - firstTry, 31.0);
  // Only the first try's answer is shown; the retry's is not.
  EXPECT_EQ(screen.view.appended.size(), 2 + 1 + SentLines(ProFile()).size());
  EXPECT_EQ(screen.session->Dialogue().Content().count(pvc), 1);
}

// The last line gets the same 30 s as every other: a slow "config save" is waited for.
TEST_F(ProSessionTest, LastLineIsWaitedForLikeEveryOther) {
  modemsim::ConsoleOptions options;
  options.behaviour = Behaviour::SlowCommand;
  options.troubleCommand = "config save";
  options.slowCommandSeconds = 20;
  SimulatedScreen& screen = Start(options);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(ExpectedTypedLines(kSpeedTouchPro, ProFile())));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_TRUE(screen.session->Dialogue().Content().endsWith("figuration saved.\r\n\r\n=>"));
}

TEST_F(ProSessionTest, NoiseOnTheLineIsCleanedAway) {
  SimulatedScreen& screen = Start(Behaviour::Noise);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(ExpectedTypedLines(kSpeedTouchPro, ProFile())));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  EXPECT_FALSE(screen.Log(kPhone).contains("tarnimol"));
}

// Every way the sequence can end, with its messages and what reaches the log.
TEST_F(ProSessionTest, EveryFailureShowsItsMessagesAndLogsWhatItShould) {
  enum class Log { Nothing, StartLine, Snapshot };
  const ShownBox portBroke = CriticalBox(platform::DescribeSystemError(EIO));
  struct Row {
    const char* situation;
    Behaviour behaviour;
    QByteArray trouble;
    QList<ShownBox> boxes;
    Log log;
    std::function<void(SimulatedScreen&)> arrange;
  };
  // The adapter is pulled out while the line is leaving. (The console would only see
  // the line after answering the wake-up before it, too late for the send to fail.)
  const auto unplugWhenSent = [](const char* command) {
    return [command](SimulatedScreen& s) {
      s.tap->afterWrite = [link = s.link, command](const QByteArray& bytes) {
        if (bytes.startsWith(command)) link->HangUp();
      };
    };
  };
  using namespace loader_texts;
  const QList<Row> rows = {
      {"modem silent", Behaviour::Silent, {},
       {PowerOnBox(), CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}, Log::Nothing, {}},
      {"power-on cancelled", Behaviour::Healthy, {}, {PowerOnBox(), CriticalBox(kNotStarted)}, Log::Nothing,
       [](SimulatedScreen& s) { s.platform.boxes.Answer(platform::MsgAnswer::Cancel); }},
      {"port closed after the first prompt", Behaviour::Healthy, {},
       {PowerOnBox(), CriticalBox(kChannelClosed)}, Log::StartLine,
       [](SimulatedScreen& s) {
         s.tap->afterRead = [link = s.link](const QByteArray& bytes) {
           if (bytes.contains("=>")) link->Close();
         };
       }},
      {"config erase cannot be sent", Behaviour::Healthy, {},
       {PowerOnBox(), portBroke, CriticalBox(kCannotContactAtuR)}, Log::StartLine,
       unplugWhenSent("config erase")},
      {"no fresh prompt after config erase", Behaviour::ShortPrompt, "config erase",
       {PowerOnBox(), CriticalBox(kUnexpectedAnswer)}, Log::StartLine, {}},
      {"system reboot cannot be sent", Behaviour::Healthy, {},
       {PowerOnBox(), portBroke, CriticalBox(kCannotContactAtuR)}, Log::StartLine,
       unplugWhenSent("system reboot")},
      {"no prompt after the reboot", Behaviour::DeadCommand, "system reboot",
       {PowerOnBox(), CriticalBox(kCannotConnect), CriticalBox(kCannotRestart)}, Log::StartLine, {}},
      {"password command cannot be sent", Behaviour::Healthy, {},
       {PowerOnBox(), portBroke, CriticalBox(kCannotContactAtuR), PasswordNotValidBox()}, Log::StartLine,
       unplugWhenSent("system setpassword")},
      {"no fresh prompt after the password", Behaviour::ShortPrompt, "system setpassword",
       {PowerOnBox(), CriticalBox(kNoNewPasswordPrompt), PasswordNotValidBox()}, Log::StartLine, {}},
      {"command cannot be sent", Behaviour::Unplugged, "cip pvcadd",
       {PowerOnBox(), portBroke, CriticalBox(kResponseTimeout)}, Log::Snapshot, {}},
      {"no prompt after the resend", Behaviour::DeadCommand, "cip pvcadd",
       {PowerOnBox(), CriticalBox(kResponseTimeout)}, Log::Snapshot, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.situation);
    SimulatedScreen& screen = Start(row.behaviour, row.trouble);
    if (row.arrange) row.arrange(screen);
    screen.Run(kPhone);
    EXPECT_EQ(Shown(), row.boxes);
    const QByteArray body = LogBody();
    switch (row.log) {
      case Log::Nothing: EXPECT_EQ(body, "<no body>"); break;
      case Log::StartLine: EXPECT_EQ(body, QByteArray()); break;
      case Log::Snapshot: EXPECT_TRUE(body.contains("system setpassword password=********\r\n")); break;
    }
    EXPECT_FALSE(screen.link->IsOpen());
  }
}

}  // namespace
