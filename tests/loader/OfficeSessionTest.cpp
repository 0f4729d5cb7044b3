#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/OfficeSession.h"
#include "modemsim/OfficeConsole.h"
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
const QString kStartLine = QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Office");
const QString kPassword = QStringLiteral("tarnimol");

QStringList OfficeFile() { return GeneratedFile(kSpeedTouchOffice, DataScreen::Dhcp, kPhone); }

class OfficeSessionTest : public ::testing::Test {
 protected:
  SimulatedScreen& Start(Behaviour behaviour = Behaviour::Healthy,
                         const QByteArray& trouble = "remote setpvc") {
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    options.troubleCommand = trouble;
    // One screen at a time: each installs its own platform and puts back the previous.
    screen_.reset();
    screen_ = std::make_unique<SimulatedScreen>(options, QStringLiteral("office"));
    screen_->WriteConfig(kPhone, OfficeFile());
    return *screen_;
  }

  void TearDown() override {
    ASSERT_TRUE(screen_);
    EXPECT_FALSE(screen_->link->IsOpen());
    EXPECT_FALSE(screen_->view.busy);
    EXPECT_TRUE(screen_->view.buttonsEnabled);
    EXPECT_EQ(screen_->link->ClosedPortUses(), 0);
  }

  [[nodiscard]] modemsim::OfficeConsole& Console() const {
    return static_cast<modemsim::OfficeConsole&>(*screen_->console);
  }
  [[nodiscard]] const QList<ShownBox>& Shown() const { return screen_->platform.boxes.shown; }

  [[nodiscard]] QByteArray LogBody() const {
    return loader_testing::LogBody(screen_->Log(kPhone), kStartLine);
  }

  std::unique_ptr<SimulatedScreen> screen_;
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

  const QStringList typed = ExpectedTypedLines(kSpeedTouchOffice, OfficeFile());
  EXPECT_EQ(screen.TypedLines(), AsLines(typed));
  // Each line ends with a single CR; between them only the wake-ups, CR LF and CR.
  EXPECT_EQ(QByteArray(screen.link->Wire()).replace("\r\n\r", ""),
            platform::ToCp1252(typed.join(QLatin1Char('\r')) + QLatin1Char('\r')));
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
  EXPECT_EQ(Console().Password(), "tarnimol");
}

TEST_F(OfficeSessionTest, FactoryWordLogsInAtTheThirdAttempt) {
  SimulatedScreen& screen = Start(Behaviour::FixedWord);
  screen.Run(kPhone);
  const QStringList login{kPassword, kPassword, QStringLiteral("velun")};
  EXPECT_EQ(screen.TypedLines(),
            AsLines(login + QStringList{QStringLiteral("erase all"), QStringLiteral("reboot")} + login +
                    QStringList{QStringLiteral("system admin tarnimol")} + SentLines(OfficeFile())));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
  // The administrator line made the access password the login word.
  EXPECT_EQ(Console().Password(), "tarnimol");
}

TEST_F(OfficeSessionTest, FourRefusedWordsEndTheSessionWithTwoMessages) {
  SimulatedScreen& screen = Start(Behaviour::OtherPassword);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(),
            AsLines({kPassword, kPassword, QStringLiteral("velun"), QStringLiteral("velun")}));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), CriticalBox(loader_texts::kWrongPassword),
                                      CriticalBox(loader_texts::kFirstLoginFailed)}));
  EXPECT_EQ(LogBody(), QByteArray());
}

TEST_F(OfficeSessionTest, EmptyBodySendsNothingAfterTheSecondLoginAndSucceeds) {
  SimulatedScreen& screen = Start();
  const QStringList file = OfficeFile();
  screen.WriteConfig(kPhone, file.mid(0, file.indexOf(QStringLiteral("--Inicio")) + 3));
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(),
            AsLines({kPassword, QStringLiteral("erase all"), QStringLiteral("reboot"), kPassword}));
  EXPECT_EQ(Shown(), (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_TRUE(LogBody().contains("Welcome"));
}

TEST_F(OfficeSessionTest, AdministratorLineComesFirstAndCommentsAreNeverSent) {
  SimulatedScreen& screen = Start();
  QStringList file = OfficeFile();
  const qsizetype body = file.indexOf(QStringLiteral("--Inicio")) + 3;
  file.insert(body, QStringLiteral("# primero la red local"));
  file.insert(file.size() - 2, QStringLiteral("#remote disable WAN1"));
  file.insert(file.size() - 2, QString());
  screen.WriteConfig(kPhone, file);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(ExpectedTypedLines(kSpeedTouchOffice, OfficeFile())));
  EXPECT_EQ(Shown().last(), ConfiguredBox());
}

// The "#" comes only after 6 s: one resend, of the command itself.
TEST_F(OfficeSessionTest, LatePromptGetsOneResendOfTheCommand) {
  SimulatedScreen& screen = Start(Behaviour::SlowCommand);
  screen.Run(kPhone);
  QStringList expected = ExpectedTypedLines(kSpeedTouchOffice, OfficeFile());
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

// Every way the sequence can end, with its messages and what reaches the log.
TEST_F(OfficeSessionTest, EveryFailureShowsItsMessagesAndLogsWhatItShould) {
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
  using namespace loader_texts;
  const QList<Row> rows = {
      {"modem silent", Behaviour::Silent, {},
       {PowerOnBox(), CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}, Log::Nothing, {}},
      {"power-on cancelled", Behaviour::Healthy, {}, {PowerOnBox(), CriticalBox(kNotStarted)}, Log::Nothing,
       [](SimulatedScreen& s) { s.platform.boxes.Answer(platform::MsgAnswer::Cancel); }},
      {"login word cannot be sent", Behaviour::Unplugged, "tarnimol",
       {PowerOnBox(), portBroke, CriticalBox(kCannotContactModem), CriticalBox(kFirstLoginFailed)},
       Log::StartLine, {}},
      {"port closed after the login", Behaviour::Healthy, {}, {PowerOnBox(), CriticalBox(kChannelClosed)},
       Log::StartLine,
       [](SimulatedScreen& s) {
         s.tap->afterRead = [link = s.link](const QByteArray& bytes) {
           if (bytes.contains('#')) link->Close();
         };
       }},
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
       [](SimulatedScreen& s) {
         auto* console = static_cast<modemsim::OfficeConsole*>(s.console.get());
         s.tap->afterWrite = [console](const QByteArray& bytes) {
           if (bytes == "reboot\r") console->SetPassword("otra");
         };
       }},
      {"command cannot be sent", Behaviour::Unplugged, "remote setpvc",
       {PowerOnBox(), portBroke, CriticalBox(kResponseTimeout)}, Log::Snapshot, {}},
      {"no prompt after the resend", Behaviour::DeadCommand, "remote setpvc",
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
      case Log::Snapshot: EXPECT_TRUE(body.contains("system admin ********\r\n")); break;
    }
    EXPECT_FALSE(screen.link->IsOpen());
  }
}

}  // namespace
