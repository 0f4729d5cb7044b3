#include <gtest/gtest.h>

#include <cerrno>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "modemsim/Consoles.h"
#include "platform/Cp1252.h"
#include "platform/ErrorText.h"

using loader_testing::ConsoleName;
using loader_testing::kPhone;
using loader_testing::SimulatedScreen;
using testing_support::ShownBox;

namespace {

const QByteArray kCancelledEnd =
    platform::ToCp1252(QStringLiteral("Carga cancelada por el usuario\r\n-- Fin de detalle de sesión --\r\n"));
const ShownBox kCancelledBox{QStringLiteral("Carga cancelada por el usuario"), QStringLiteral("Carga cancelada"),
                             platform::MsgIcon::Information, platform::MsgButtons::Ok};

// Where the session is interrupted: `after` seconds after the program wrote the
// `occurrence`-th line starting with `line` ("" is the answer to the power-on
// question), or while that line is still leaving when `after` is negative. The status
// line then names `step`. A modem that hangs on `line` keeps the program in its wait.
struct Point {
  std::int16_t model;
  QByteArray line;
  int occurrence;
  double after;
  const char* step;
  QStringList unplugged;  // what the user is told after the port's own failure
  bool hangs = false;
};

// The user cancels, and apart the serial adapter is pulled out, at every step of
// every model, on the virtual clock. A cancel takes effect within half a second
// (every pause included), nothing more is written, the log ends with the cancel line
// and the trailer, the only box after it is the cancel box and the status line is
// cleared. An adapter pulled out is told once, whether the program noticed it inside
// a read or a write or between two of them, then what the step's failure means; the
// session ends within a second (a pause within one of its slices). Either way the
// port is never used once closed.
TEST(SessionInterruptTest, ACancelOrAnUnplugAtAnyStepEndsTheSessionAtOnce) {
  using namespace loader_texts;
  const char* prompt = "Esperando el indicador del módem";
  const char* settling = "Esperando a que el módem se estabilice";
  const char* login = "Introduciendo la clave de acceso";
  const char* erase = "Borrando la configuración anterior";
  const char* reboot = "Reiniciando el módem";
  const char* password = "Estableciendo la clave de acceso";
  const char* line = "Enviando la línea";
  const QStringList notRestarted{kCannotConnect, kCannotRestart};
  const QList<Point> points = {
      {kEfficientSS5660, "", 1, 1.0, prompt, {kCannotConnect, kNotStarted}},
      {kEfficientSS5660, "tarnimol", 1, 0, login, {kCannotContactModem, kFirstLoginFailed}},
      {kEfficientSS5660, "default all", 1, 0, erase, {kCannotContactAtuR}},
      {kEfficientSS5660, "default all", 1, 0.5, erase, {kUnexpectedAnswer}},
      {kEfficientSS5660, "reboot", 1, 0.01, reboot, {kUnexpectedAnswer}},
      {kEfficientSS5660, "y", 1, 1.0, prompt, notRestarted},
      {kEfficientSS5660, "set password", 1, 0, password, {kCannotContactAtuR, kSecondLoginFailed}},
      {kEfficientSS5660, "set password", 1, 0.5, password, {kNoNewPasswordPrompt, kSecondLoginFailed}},
      {kEfficientSS5660, "set dns", 1, 2.0, line, {kResponseTimeout}, true},
      {kSpeedTouchOffice, "", 1, 2.5, settling, {kCannotContactModem, kFirstLoginFailed}},
      {kSpeedTouchOffice, "tarnimol", 1, -1, login, {kCannotContactModem, kFirstLoginFailed}},
      {kSpeedTouchOffice, "erase all", 1, -1, erase, {kCannotContactAtuR}},
      {kSpeedTouchOffice, "erase all", 1, 0.5, erase, {kUnexpectedAnswer}},
      {kSpeedTouchOffice, "reboot", 1, -1, reboot, {kCannotContactAtuR}},
      {kSpeedTouchOffice, "reboot", 1, 1.0, prompt, notRestarted},
      {kSpeedTouchOffice, "reboot", 1, 6.0, settling, {kCannotContactModem, kSecondLoginFailed}},
      {kSpeedTouchOffice, "tarnimol", 2, 0, login, {kCannotContactModem, kSecondLoginFailed}},
      {kSpeedTouchOffice, "remote setpvc", 1, -1, line, {kResponseTimeout}},
      {kSpeedTouchOffice, "remote setpvc", 1, 2.0, line, {kResponseTimeout}, true},
      {kSpeedTouchPro, "config erase", 1, -1, erase, {kCannotContactAtuR}},
      {kSpeedTouchPro, "config erase", 1, 1.0, erase, {kUnexpectedAnswer}, true},
      {kSpeedTouchPro, "system reboot", 1, -1, reboot, {kCannotContactAtuR}},
      {kSpeedTouchPro, "system reboot", 1, 1.0, prompt, notRestarted},
      {kSpeedTouchPro, "system setpassword", 1, -1, password, {kCannotContactAtuR, kSecondLoginFailed}},
      {kSpeedTouchPro, "system setpassword", 1, 1.0, password, {kNoNewPasswordPrompt, kSecondLoginFailed}, true},
      {kSpeedTouchPro, "cip pvcadd", 1, -1, line, {kResponseTimeout}},
      {kSpeedTouchPro, "cip pvcadd", 1, 1.0, line, {kResponseTimeout}, true},
  };
  const QStringList portBroke{kPowerOnQuestion, platform::DescribeSystemError(EIO)};
  for (const Point& point : points) {
    for (const bool unplug : {false, true}) {
      SCOPED_TRACE(ConsoleName(point.model).toStdString() + " after " + point.line.toStdString() + " " +
                   std::to_string(point.after) + (unplug ? ": unplugged" : ": cancelled"));
      modemsim::ConsoleOptions options;
      if (point.hangs) {
        options.behaviour = modemsim::Behaviour::DeadCommand;
        options.troubleCommand = point.line;
      }
      SimulatedScreen screen(options, ConsoleName(point.model));
      screen.WriteConfig(kPhone, loader_testing::GeneratedFile(point.model, DataScreen::Napt, kPhone));
      double at = -1;
      QString statusThen;
      qsizetype boxesThen = 0;
      int writesAfter = 0;
      const auto interrupt = [&] {
        at = screen.clock.Seconds();
        statusThen = screen.view.statuses.value(screen.view.statuses.size() - 1);
        boxesThen = screen.platform.boxes.shown.size();
        if (unplug) {
          screen.link->HangUp();
        } else {
          screen.cancel.store(true);
        }
      };
      int seen = 0;
      screen.tap->afterWrite = [&](const QByteArray& bytes) {
        if (at >= 0) ++writesAfter;
        if (point.line.isEmpty() || !bytes.startsWith(point.line) || ++seen != point.occurrence) return;
        if (point.after < 0) {
          interrupt();
        } else {
          screen.clock.After(point.after, interrupt);
        }
      };
      if (point.line.isEmpty()) {
        screen.platform.boxes.onShow = [&](const ShownBox& box) {
          if (box.title != kPowerOnTitle) return;
          screen.console->PowerOn();
          screen.clock.After(point.after, interrupt);
        };
      }
      const SessionResult result = screen.Run(kPhone);

      ASSERT_GE(at, 0) << "never interrupted";
      EXPECT_TRUE(statusThen.startsWith(QString::fromUtf8(point.step))) << statusThen.toStdString();
      EXPECT_EQ(screen.link->ClosedPortUses(), 0);
      if (unplug) {
        EXPECT_EQ(screen.platform.boxes.Texts(), portBroke + point.unplugged);
        EXPECT_LE(screen.clock.Seconds() - at, 1.1);
      } else {
        EXPECT_EQ(result, SessionResult::Cancelled());
        EXPECT_LE(screen.clock.Seconds() - at, 0.5);
        EXPECT_EQ(writesAfter, 0);
        EXPECT_EQ(screen.platform.boxes.shown.mid(boxesThen), QList<ShownBox>{kCancelledBox});
        EXPECT_TRUE(screen.Log(kPhone).endsWith(kCancelledEnd));
        EXPECT_EQ(screen.view.statuses.value(screen.view.statuses.size() - 1), QString());
      }
    }
  }
}

}  // namespace
