#include <gtest/gtest.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ProAnswers.h"
#include "modemsim/ProConsole.h"
#include "platform/Cp1252.h"
#include "platform/ErrorText.h"

using namespace loader_testing;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

const QString kPvcLine = QStringLiteral("cip pvcadd dest=8*32 destaddr=192.0.2.10");

class ProSessionTest : public ModelSessionTest {
 protected:
  ProSessionTest()
      : ModelSessionTest(kSpeedTouchPro, DataScreen::Napt,
                         QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Pro"), "cip pvcadd") {}
  [[nodiscard]] QByteArray ConsolePassword() const {
    return static_cast<modemsim::ProConsole&>(*screen_->console).Password();
  }
  // The box grows once per wait, when the wait is over: the erase, the reboot line,
  // then (after the box was replaced) the password and every command.
  [[nodiscard]] qsizetype AppendsOfAHealthySession() const { return 2 + 1 + SentLines(File()).size(); }
};

TEST_F(ProSessionTest, HealthyModemGetsExactlyTheseBytes) {
  SimulatedScreen& screen = Start();
  screen.Run(kPhone);

  ExpectWire(ExpectedTypedLines(kSpeedTouchPro, File()));
  EXPECT_EQ(screen.link->Settings().baudRate, 9600);
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_EQ(ConsolePassword(), "tarnimol");

  const QStringList& appended = screen.view.appended;
  ASSERT_EQ(appended.size(), AppendsOfAHealthySession());
  EXPECT_EQ(appended[1], QStringLiteral("system reboot"));
  for (const QString& text : appended.mid(2)) EXPECT_TRUE(IsFreshPrompt(text.toLatin1())) << text.toStdString();
  // Trimmed from the front like every Pro answer.
  EXPECT_TRUE(appended.last().endsWith(QStringLiteral("figuration saved.\r\n\r\n=>")));

  // One snapshot, from the reboot on, with the password masked.
  const QByteArray box = screen.session->Dialogue().Content();
  EXPECT_TRUE(box.contains("system setpassword password=tarnimol\r\n"));
  EXPECT_FALSE(box.contains("config erase"));
  EXPECT_EQ(LogBody(), QByteArray(box).replace("password=tarnimol", "password=********") + "\r\n");
  EXPECT_FALSE(screen.Log(kPhone).contains("tarnimol"));
  // The screen shows it as the log does.
  EXPECT_FALSE(screen.view.dialogue.contains(QStringLiteral("tarnimol")));
  EXPECT_TRUE(screen.view.dialogue.contains(QStringLiteral("password=********")));
}

TEST_F(ProSessionTest, EmptyPasswordSendsTheBareCommand) {
  SimulatedScreen& screen = Start();
  ServiceSettings.AccessPassword.clear();
  screen.Run(kPhone);
  EXPECT_TRUE(screen.link->Wire().contains("\rsystem setpassword password=\r"));
  EXPECT_EQ(ConsolePassword(), "");
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  EXPECT_TRUE(LogBody().contains("system setpassword password=\r\n"));
}

// An answer that ends "=>" right after a line break is no fresh prompt: after 30 s
// the command goes again behind a bare CR, and then any prompt at the end will do.
TEST_F(ProSessionTest, PromptAfterASingleLineBreakIsRetriedAndTheShortPromptIsEnough) {
  SimulatedScreen& screen = Start(Behaviour::ShortPrompt);
  const QByteArray pvc = platform::ToCp1252(kPvcLine);
  double firstTry = 0;
  double resend = 0;
  screen.tap->afterWrite = [&](const QByteArray& bytes) {
    if (bytes == pvc + "\r" && firstTry == 0) firstTry = screen.clock.Seconds();
    if (bytes == "\r") resend = screen.clock.Seconds();
  };
  screen.Run(kPhone);
  QStringList expected = ExpectedTypedLines(kSpeedTouchPro, File());
  expected.insert(expected.indexOf(kPvcLine), kPvcLine);
  EXPECT_EQ(screen.TypedLines(), AsLines(expected));
  EXPECT_TRUE(screen.link->Wire().contains("\r" + pvc + "\r\r" + pvc + "\r"));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_GE(resend - firstTry, 29.5);
  EXPECT_LE(resend - firstTry, 31.0);
  // Only the first try's answer is shown; the retry's is not.
  EXPECT_EQ(screen.view.appended.size(), AppendsOfAHealthySession());
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
  EXPECT_EQ(screen.TypedLines(), Typed(File()));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_TRUE(screen.session->Dialogue().Content().endsWith("figuration saved.\r\n\r\n=>"));
}

TEST_F(ProSessionTest, NoiseOnTheLineIsCleanedAway) {
  SimulatedScreen& screen = Start(Behaviour::Noise);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), Typed(File()));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  EXPECT_FALSE(screen.Log(kPhone).contains("tarnimol"));
}

TEST_F(ProSessionTest, EveryFailureShowsItsMessagesAndLogsWhatItShould) {
  using namespace loader_texts;
  const ShownBox portBroke = CriticalBox(platform::DescribeSystemError(EIO));
  // The adapter is pulled out while the line is leaving. (The console would only see
  // the line after answering the wake-up before it, too late for the send to fail.)
  const auto unplugWhenSent = [](const char* command) {
    return [command](SimulatedScreen& s) {
      s.tap->afterWrite = [link = s.link, command](const QByteArray& bytes) {
        if (bytes.startsWith(command)) link->HangUp();
      };
    };
  };
  const auto closeAfterFirstPrompt = [](SimulatedScreen& s) {
    s.tap->afterRead = [link = s.link](const QByteArray& bytes) {
      if (bytes.contains("=>")) link->Close();
    };
  };
  // A silent modem and a cancelled power-on end alike for every model: the Office's
  // and the driver's tests prove them.
  RunFailureRows(
      {
          {"port closed after the first prompt", Behaviour::Healthy, {},
           {PowerOnBox(), CriticalBox(kChannelClosed)}, Log::StartLine, closeAfterFirstPrompt},
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
          {"command cannot be sent", Behaviour::Unplugged, {},
           {PowerOnBox(), portBroke, CriticalBox(kResponseTimeout)}, Log::Snapshot, {}},
          {"no prompt after the resend", Behaviour::DeadCommand, {}, {PowerOnBox(), CriticalBox(kResponseTimeout)},
           Log::Snapshot, {}},
      },
      "system setpassword password=********\r\n");
}

}  // namespace
