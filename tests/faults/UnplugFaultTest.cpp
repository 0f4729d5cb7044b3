#include <gtest/gtest.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"
#include "platform/ErrorText.h"

using loader_testing::SimulatedScreen;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");
const QByteArray kTrailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));

// The longest a session may go on once the adapter is out: the wait it is in ends at
// once, a pause (a wake-up poke, a read's pause) runs to its end. The Office's 10 s
// settling pause is the longest of those.
constexpr double kLongestAfterUnplug = 1.1;
constexpr double kSettlingPause = 10.1;

// Where the adapter is pulled out: `after` seconds after the program wrote the
// `occurrence`-th line starting with `line` ("" is the answer to the power-on
// question). A modem that hangs on `line` keeps the program in that line's wait.
struct Unplug {
  const char* stage;
  const char* model;
  QByteArray line;
  int occurrence;
  double after;
  QStringList boxes;  // what the user is told after the port's own failure
  bool hangs = false;
  double within = kLongestAfterUnplug;  // how soon the session must end
};

std::int16_t ModelNamed(const QByteArray& name) {
  if (name == "pro") return kSpeedTouchPro;
  if (name == "office") return kSpeedTouchOffice;
  return kEfficientSS5660;
}

// The serial adapter pulled out at each stage of a session of each model, on the
// virtual clock. The user is told once that the port failed, whether the program
// noticed it inside a read or a write or between two of them, and then what the
// step's failure means; the session ends soon, with the port and the log closed and
// the screen idle, and no closed port is used.
TEST(UnplugFaultTest, AnAdapterPulledOutAtAnyStageEndsTheSessionWithItsMessage) {
  using namespace loader_texts;
  const QString port = platform::DescribeSystemError(EIO);
  const QList<Unplug> stages = {
      {"first prompt", "efficient", "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"first login", "efficient", "tarnimol", 1, 0, {kCannotContactModem, kFirstLoginFailed}},
      {"default all", "efficient", "default all", 1, 0, {kCannotContactAtuR}},
      {"wait after default all", "efficient", "default all", 1, 0.5, {kUnexpectedAnswer}},
      {"reboot question", "efficient", "reboot", 1, 0.01, {kUnexpectedAnswer}},
      {"prompt after the reboot", "efficient", "y", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"set password", "efficient", "set password", 1, 0, {kCannotContactAtuR, kSecondLoginFailed}},
      {"new password question", "efficient", "set password", 1, 0.5,
       {kNoNewPasswordPrompt, kSecondLoginFailed}},
      {"first prompt", "office", "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"settling pause", "office", "", 1, 2.5, {kCannotContactModem, kFirstLoginFailed}, false,
       kSettlingPause},
      {"wait after erase all", "office", "erase all", 1, 0.5, {kUnexpectedAnswer}},
      {"prompt after the reboot", "office", "reboot", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"second login", "office", "tarnimol", 2, 0, {kCannotContactModem, kSecondLoginFailed}},
      {"first prompt", "pro", "", 1, 1.0, {kCannotConnect, kNotStarted}},
      {"wait after config erase", "pro", "config erase", 1, 1.0, {kUnexpectedAnswer}, true},
      {"prompt after the reboot", "pro", "system reboot", 1, 1.0, {kCannotConnect, kCannotRestart}},
      {"password answer", "pro", "system setpassword", 1, 1.0,
       {kNoNewPasswordPrompt, kSecondLoginFailed}, true},
      {"a command's answer", "pro", "cip pvcadd", 1, 1.0, {kResponseTimeout}, true},
  };
  for (const Unplug& stage : stages) {
    SCOPED_TRACE(std::string(stage.model) + ": " + stage.stage);
    modemsim::ConsoleOptions options;
    if (stage.hangs) {
      options.behaviour = modemsim::Behaviour::DeadCommand;
      options.troubleCommand = stage.line;
    }
    SimulatedScreen screen(options, QString::fromLatin1(stage.model));
    const std::int16_t model = ModelNamed(stage.model);
    screen.WriteConfig(kPhone, loader_testing::GeneratedFile(model, DataScreen::Napt, kPhone));
    double unpluggedAt = -1;
    const auto unplug = [&] {
      screen.clock.After(stage.after, [&] {
        unpluggedAt = screen.clock.Seconds();
        screen.link->HangUp();
      });
    };
    int seen = 0;
    if (stage.line.isEmpty()) {
      screen.platform.boxes.onShow = [&](const ShownBox& box) {
        if (box.title != kPowerOnTitle) return;
        screen.console->PowerOn();
        unplug();
      };
    } else {
      screen.tap->afterWrite = [&](const QByteArray& bytes) {
        if (bytes.startsWith(stage.line) && ++seen == stage.occurrence) unplug();
      };
    }
    screen.Run(kPhone);

    ASSERT_GE(unpluggedAt, 0) << "the adapter was never pulled out";
    EXPECT_EQ(screen.BoxTexts(), (QStringList{kPowerOnQuestion, port} + stage.boxes));
    EXPECT_LE(screen.clock.Seconds() - unpluggedAt, stage.within);
    EXPECT_FALSE(screen.link->IsOpen());
    EXPECT_EQ(screen.link->ClosedPortUses(), 0);
    EXPECT_FALSE(screen.view.busy);
    EXPECT_TRUE(screen.view.buttonsEnabled);
    EXPECT_TRUE(screen.Log(kPhone).endsWith(kTrailer));
  }
}

}  // namespace
