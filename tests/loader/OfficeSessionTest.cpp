#include <gtest/gtest.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/OfficeSession.h"
#include "modemsim/OfficeConsole.h"
#include "platform/ErrorText.h"

using namespace loader_testing;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

const QString kPassword = QStringLiteral("tarnimol");

class OfficeSessionTest : public ModelSessionTest {
 protected:
  OfficeSessionTest()
      : ModelSessionTest(kSpeedTouchOffice, DataScreen::Dhcp,
                         QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Office"), "remote setpvc") {}
  [[nodiscard]] modemsim::OfficeConsole& Console() const {
    return static_cast<modemsim::OfficeConsole&>(*screen_->console);
  }
};

TEST_F(OfficeSessionTest, HealthyModemGetsExactlyTheseBytes) {
  SimulatedScreen& screen = Start();
  // When each login word leaves, and when the line before it (a wake-up) left.
  QList<double> loginGaps;
  double lastWrite = 0;
  screen.tap->afterWrite = [&](const QByteArray& bytes) {
    if (bytes == "tarnimol\r") loginGaps << screen.clock.Seconds() - lastWrite;
    lastWrite = screen.clock.Seconds();
  };
  screen.Run(kPhone);

  ExpectWire(ExpectedTypedLines(kSpeedTouchOffice, File()));
  EXPECT_EQ(screen.link->Settings().baudRate, 9600);
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  // The console settles for 10 s after each "Login:" before the word goes.
  ASSERT_EQ(loginGaps.size(), 2);
  for (const double gap : loginGaps) EXPECT_GE(gap, 10.0);

  // One snapshot, from the reboot on; the administrator line shows no password.
  const QByteArray box = screen.session->Dialogue().Content();
  EXPECT_TRUE(box.startsWith("reboot\r\nRebooting...\r\n"));
  EXPECT_TRUE(box.contains("system admin tarnimol\r\n"));
  EXPECT_FALSE(box.contains("erase all"));
  EXPECT_EQ(LogBody(), QByteArray(box).replace("system admin tarnimol", "system admin ********") + "\r\n");
  EXPECT_FALSE(screen.Log(kPhone).contains("tarnimol"));
  // The screen shows it as the log does.
  EXPECT_FALSE(screen.view.dialogue.contains(QStringLiteral("tarnimol")));
  EXPECT_TRUE(screen.view.dialogue.contains(QStringLiteral("system admin ********")));
  EXPECT_EQ(Console().Password(), "tarnimol");
}

TEST_F(OfficeSessionTest, FactoryWordLogsInAtTheThirdAttempt) {
  SimulatedScreen& screen = Start(Behaviour::FixedWord);
  screen.Run(kPhone);
  const QStringList login{kPassword, kPassword, QStringLiteral("velun")};
  EXPECT_EQ(screen.TypedLines(), AsLines(login + QStringList{"erase all", "reboot"} + login +
                                         QStringList{"system admin tarnimol"} + SentLines(File())));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  // The administrator line made the access password the login word.
  EXPECT_EQ(Console().Password(), "tarnimol");
}

TEST_F(OfficeSessionTest, FourRefusedWordsEndTheSessionWithTwoMessages) {
  SimulatedScreen& screen = Start(Behaviour::OtherPassword);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines({kPassword, kPassword, "velun", "velun"}));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), CriticalBox(loader_texts::kWrongPassword),
                                      CriticalBox(loader_texts::kFirstLoginFailed)}));
  EXPECT_EQ(LogBody(), QByteArray());
}

TEST_F(OfficeSessionTest, EmptyBodySendsNothingAfterTheSecondLoginAndSucceeds) {
  SimulatedScreen& screen = Start();
  const QStringList file = File();
  screen.WriteConfig(kPhone, file.mid(0, file.indexOf(QStringLiteral("--Inicio")) + 3));
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines({kPassword, "erase all", "reboot", kPassword}));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_TRUE(LogBody().contains("Welcome"));
}

TEST_F(OfficeSessionTest, AdministratorLineComesFirstAndCommentsAreNeverSent) {
  SimulatedScreen& screen = Start();
  QStringList file = File();
  file.insert(file.indexOf(QStringLiteral("--Inicio")) + 3, QStringLiteral("# primero la red local"));
  file.insert(file.size() - 2, QStringLiteral("#remote disable WAN1"));
  file.insert(file.size() - 2, QString());
  screen.WriteConfig(kPhone, file);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), Typed(File()));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
}

// The "#" comes only after 6 s: one resend, of the command itself.
TEST_F(OfficeSessionTest, LatePromptGetsOneResendOfTheCommand) {
  SimulatedScreen& screen = Start(Behaviour::SlowCommand);
  screen.Run(kPhone);
  QStringList expected = ExpectedTypedLines(kSpeedTouchOffice, File());
  const QString slow = QStringLiteral("remote setpvc 8*32 WAN1");
  expected.insert(expected.indexOf(slow), slow);
  EXPECT_EQ(screen.TypedLines(), AsLines(expected));
  EXPECT_TRUE(screen.link->Wire().contains("\rremote setpvc 8*32 WAN1\rremote setpvc 8*32 WAN1\r"));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
}

TEST_F(OfficeSessionTest, LoginWithoutALoginPromptIsRefused) {
  SimulatedScreen& screen = Start();
  QString error;
  ASSERT_TRUE(screen.link->SetPortNumber(1, &error) && screen.link->Open(&error));
  ModemDialogue modem(*screen.link, screen.clock, screen.session->Dialogue());
  QByteArray answer = "Office# ";
  EXPECT_FALSE(OfficeLogin(modem, answer));
  EXPECT_EQ(Shown(), QList<ShownBox>{CriticalBox(loader_texts::kInvalidAnswer)});
  EXPECT_TRUE(screen.link->Wire().isEmpty());
  screen.link->Close();
}

TEST_F(OfficeSessionTest, EveryFailureShowsItsMessagesAndLogsWhatItShould) {
  using namespace loader_texts;
  const ShownBox portBroke = CriticalBox(platform::DescribeSystemError(EIO));
  const auto closeAfterFirstPrompt = [](SimulatedScreen& s) {
    s.tap->afterRead = [link = s.link](const QByteArray& bytes) {
      if (bytes.contains('#')) link->Close();
    };
  };
  const auto changePasswordAtReboot = [](SimulatedScreen& s) {
    auto* console = static_cast<modemsim::OfficeConsole*>(s.console.get());
    s.tap->afterWrite = [console](const QByteArray& bytes) {
      if (bytes == "reboot\r") console->SetPassword("otra");
    };
  };
  // A cancelled power-on ends alike for every model: the driver's tests prove it.
  RunFailureRows(
      {
          {"modem silent", Behaviour::Silent, {},
           {PowerOnBox(), CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}, Log::Nothing, {}},
          {"login word cannot be sent", Behaviour::Unplugged, "tarnimol",
           {PowerOnBox(), portBroke, CriticalBox(kCannotContactModem), CriticalBox(kFirstLoginFailed)},
           Log::StartLine, {}},
          {"port closed after the login", Behaviour::Healthy, {}, {PowerOnBox(), CriticalBox(kChannelClosed)},
           Log::StartLine, closeAfterFirstPrompt},
          {"erase all cannot be sent", Behaviour::Unplugged, "erase all",
           {PowerOnBox(), portBroke, CriticalBox(kCannotContactAtuR)}, Log::StartLine, {}},
          {"no prompt after erase all", Behaviour::DeadCommand, "erase all",
           {PowerOnBox(), CriticalBox(kUnexpectedAnswer)}, Log::StartLine, {}},
          {"reboot cannot be sent", Behaviour::Unplugged, "reboot",
           {PowerOnBox(), portBroke, CriticalBox(kCannotContactAtuR)}, Log::StartLine, {}},
          {"no login after the reboot", Behaviour::NoSure, {},
           {PowerOnBox(), CriticalBox(kCannotConnect), CriticalBox(kCannotRestart)}, Log::StartLine, {}},
          {"second login refused", Behaviour::Healthy, {},
           {PowerOnBox(), CriticalBox(kWrongPassword), PasswordNotValidBox()}, Log::StartLine,
           changePasswordAtReboot},
          {"command cannot be sent", Behaviour::Unplugged, {},
           {PowerOnBox(), portBroke, CriticalBox(kResponseTimeout)}, Log::Snapshot, {}},
          {"no prompt after the resend", Behaviour::DeadCommand, {}, {PowerOnBox(), CriticalBox(kResponseTimeout)},
           Log::Snapshot, {}},
      },
      "system admin ********\r\n");
}

}  // namespace
