#include <gtest/gtest.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/LoaderTexts.h"
#include "platform/ErrorText.h"

using faults::kPhone;
using testing_support::ShownBox;

namespace {

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
