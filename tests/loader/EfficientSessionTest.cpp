#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "modemsim/EfficientConsole.h"

using namespace loader_testing;
using modemsim::Behaviour;

namespace {

const QStringList kLogin = {"tarnimol"};
const QStringList kSetPassword = {"set password", "tarnimol", "tarnimol"};
const QStringList kReset = {"default all", "reboot", "y"};

class EfficientSessionTest : public ModelSessionTest {
 protected:
  EfficientSessionTest()
      : ModelSessionTest(kEfficientSS5660, DataScreen::Dhcp,
                         QStringLiteral("Arrancado el módem ADSL Efficent SS5660"), "set dns") {}
  // The file's commands, "set dns disable" (the seventh, the trouble command) sent `times`.
  [[nodiscard]] QStringList Commands(int times = 1, bool rest = true) const {
    const QStringList all = EfficientDhcpCommands(kPhone);
    const qsizetype at = all.indexOf(QStringLiteral("set dns disable"));
    QStringList commands = all.mid(0, at);
    for (int i = 0; i < times; ++i) commands << all[at];
    return rest ? commands + all.mid(at + 1) : commands;
  }
};

TEST_F(EfficientSessionTest, HealthyModemIsLoadedEndToEnd) {
  SimulatedScreen& screen = Start();
  screen.Run(kPhone);

  // After "default all" and the reboot the modem has no password and gets one.
  ExpectWire(kLogin + kReset + kSetPassword + Commands());
  EXPECT_EQ(screen.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));
  EXPECT_EQ(Shown().last().title, loader_texts::kConfiguredTitle);
  EXPECT_EQ(static_cast<modemsim::EfficientConsole&>(*screen.console).Password(), "tarnimol");

  // Two snapshots: up to the reboot question, then from the reboot to the end.
  const QByteArray log = screen.Log(kPhone);
  EXPECT_FALSE(log.contains("tarnimol"));
  EXPECT_EQ(log.count("Arrancado el m\xf3" "dem ADSL Efficent SS5660\r\n"), 1);
  const QByteArray second = screen.session->Dialogue().Content();
  const QByteArray body = LogBody();
  ASSERT_TRUE(body.endsWith("\r\n" + second + "\r\n"));
  const QByteArray first = body.left(body.size() - second.size() - 4);
  EXPECT_TRUE(first.startsWith("\r\n\r\nEfficient SS5660 ADSL router"));
  EXPECT_TRUE(first.contains("Login successful"));
  EXPECT_TRUE(first.endsWith("Are you sure? (y/n) "));
  EXPECT_TRUE(second.contains("Efficient SS5660 ADSL router"));
  EXPECT_TRUE(second.contains("Password changed"));
  EXPECT_TRUE(second.contains("set napt disable\r\n"));
  EXPECT_FALSE(second.contains("Login successful"));
  EXPECT_EQ(screen.view.captions.first(), kScreenCaption + QStringLiteral(" para módem Efficient SS5660"));
}

TEST_F(EfficientSessionTest, EachBehaviourGetsItsLinesAndItsMessages) {
  using namespace loader_texts;
  struct Row {
    const char* situation;
    Behaviour behaviour;
    QStringList typed;
    QStringList boxes;   // after the power-on question
    const char* logEnd;  // "": the start line alone; nullptr: not looked at
  };
  const Row rows[] = {
      {"no password: one is set both times", Behaviour::NoPassword,
       kSetPassword + kReset + kSetPassword + Commands(), {kConfigured}, nullptr},
      {"wrong password: tried twice", Behaviour::OtherPassword, kLogin + kLogin,
       {kWrongPassword, kFirstLoginFailed}, ""},
      {"reboot question without \"sure\"", Behaviour::NoSure, kLogin + QStringList{"default all", "reboot"},
       {kUnexpectedAnswer}, ""},
      {"slow command: sent once more", Behaviour::SlowCommand, kLogin + kReset + kSetPassword + Commands(2),
       {kConfigured}, nullptr},
      // The second snapshot is still written: the log shows where the modem stopped.
      {"dead command: one resend, then nothing", Behaviour::DeadCommand,
       kLogin + kReset + kSetPassword + Commands(2, false), {kResponseTimeout}, "set dns disable\r\n\r\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.situation);
    SimulatedScreen& screen = Start(row.behaviour);
    screen.Run(kPhone);
    EXPECT_EQ(screen.TypedLines(), AsLines(row.typed));
    EXPECT_EQ(screen.BoxTexts(), QStringList{kPowerOnQuestion} + row.boxes);
    if (!row.logEnd) continue;
    const QByteArray body = LogBody();
    EXPECT_TRUE(*row.logEnd ? body.endsWith(row.logEnd) : body.isEmpty()) << body.right(40).constData();
  }
}

TEST_F(EfficientSessionTest, CommentsAndEmptyLinesAreNeverSent) {
  SimulatedScreen& screen = Start();
  QStringList file = EfficientDhcpFile(kPhone);
  file.insert(24, QStringLiteral("# la puerta de enlace va dos veces"));
  file.insert(23, QString());
  file.insert(file.size() - 1, QStringLiteral("#set dns enable"));
  screen.WriteConfig(kPhone, file);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(kLogin + kReset + kSetPassword + Commands()));
  EXPECT_EQ(screen.BoxTexts().last(), loader_texts::kConfigured);
}

// An unplugged adapter and noise on the line are proven for the Alcatel models and
// in the line cleaning's own tests: the sending and the cleaning are shared.

}  // namespace
