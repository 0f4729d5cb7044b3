#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "modemsim/Consoles.h"
#include "platform/Cp1252.h"

using loader_testing::ConsoleName;
using loader_testing::kPhone;
using loader_testing::SimulatedScreen;
using testing_support::ShownBox;

namespace {

const QByteArray kCancelledEnd =
    platform::ToCp1252(QStringLiteral("Carga cancelada por el usuario\r\n-- Fin de detalle de sesión --\r\n"));
const ShownBox kCancelledBox{QStringLiteral("Carga cancelada por el usuario"), QStringLiteral("Carga cancelada"),
                             platform::MsgIcon::Information, platform::MsgButtons::Ok};

// Where the user cancels: `after` seconds after the program wrote the
// `occurrence`-th line starting with `line` ("" is the answer to the power-on
// question); the status line then names `step`. A modem that hangs on `line` keeps
// the program in that line's wait.
struct CancelPoint {
  std::int16_t model;
  QByteArray line;
  int occurrence;
  double after;
  const char* step;
  bool hangs = false;
};

// A cancel at every step of every model, on the virtual clock: it takes effect within
// half a second (every pause included), nothing more is written, the port is closed,
// the log ends with the cancel line and the trailer, the only box after it is the
// cancel box, and the screen is idle with a clear status line.
TEST(SessionCancelTest, ACancelAtAnyStepEndsTheSessionAtOnce) {
  const QList<CancelPoint> points = {
      {kEfficientSS5660, "", 1, 1.0, "Esperando el indicador del módem"},
      {kEfficientSS5660, "tarnimol", 1, 0.05, "Introduciendo la clave de acceso"},
      {kEfficientSS5660, "default all", 1, 0.5, "Borrando la configuración anterior"},
      {kEfficientSS5660, "reboot", 1, 0.05, "Reiniciando el módem"},
      {kEfficientSS5660, "y", 1, 1.0, "Esperando el indicador del módem"},
      {kEfficientSS5660, "set password", 1, 0.5, "Estableciendo la clave de acceso"},
      {kEfficientSS5660, "set dns", 1, 2.0, "Enviando la línea", true},
      {kSpeedTouchOffice, "", 1, 1.0, "Esperando el indicador del módem"},
      {kSpeedTouchOffice, "", 1, 2.5, "Esperando a que el módem se estabilice"},
      {kSpeedTouchOffice, "erase all", 1, 0.5, "Borrando la configuración anterior"},
      {kSpeedTouchOffice, "reboot", 1, 1.0, "Esperando el indicador del módem"},
      {kSpeedTouchOffice, "reboot", 1, 6.0, "Esperando a que el módem se estabilice"},
      {kSpeedTouchOffice, "tarnimol", 2, 0.05, "Introduciendo la clave de acceso"},
      {kSpeedTouchOffice, modemsim::DefaultTroubleCommand(QStringLiteral("office")), 1, 2.0, "Enviando la línea", true},
      {kSpeedTouchPro, "", 1, 1.0, "Esperando el indicador del módem"},
      {kSpeedTouchPro, "config erase", 1, 1.0, "Borrando la configuración anterior", true},
      {kSpeedTouchPro, "system reboot", 1, 1.0, "Esperando el indicador del módem"},
      {kSpeedTouchPro, "system setpassword", 1, 1.0, "Estableciendo la clave de acceso", true},
      {kSpeedTouchPro, modemsim::DefaultTroubleCommand(QStringLiteral("pro")), 1, 10.0, "Enviando la línea", true},
  };
  for (const CancelPoint& point : points) {
    SCOPED_TRACE(ConsoleName(point.model).toStdString() + " after " + point.line.toStdString() + ": " +
                 point.step);
    modemsim::ConsoleOptions options;
    if (point.hangs) {
      options.behaviour = modemsim::Behaviour::DeadCommand;
      options.troubleCommand = point.line;
    }
    SimulatedScreen screen(options, ConsoleName(point.model));
    screen.WriteConfig(kPhone, loader_testing::GeneratedFile(point.model, DataScreen::Napt, kPhone));
    double cancelledAt = -1;
    QString statusAtCancel;
    qsizetype boxesAtCancel = 0;
    int writesAfter = 0;
    const auto cancelLater = [&] {
      screen.clock.After(point.after, [&] {
        cancelledAt = screen.clock.Seconds();
        statusAtCancel = screen.view.statuses.value(screen.view.statuses.size() - 1);
        boxesAtCancel = screen.platform.boxes.shown.size();
        screen.cancel.store(true);
      });
    };
    int seen = 0;
    screen.tap->afterWrite = [&](const QByteArray& bytes) {
      if (cancelledAt >= 0) ++writesAfter;
      if (!point.line.isEmpty() && bytes.startsWith(point.line) && ++seen == point.occurrence) cancelLater();
    };
    if (point.line.isEmpty()) {
      screen.platform.boxes.onShow = [&](const ShownBox& box) {
        if (box.title != loader_texts::kPowerOnTitle) return;
        screen.console->PowerOn();
        cancelLater();
      };
    }
    EXPECT_EQ(screen.Run(kPhone), SessionResult::Cancelled());

    ASSERT_GE(cancelledAt, 0) << "never cancelled";
    EXPECT_TRUE(statusAtCancel.startsWith(QString::fromUtf8(point.step))) << statusAtCancel.toStdString();
    EXPECT_LE(screen.clock.Seconds() - cancelledAt, 0.5);
    EXPECT_EQ(writesAfter, 0);
    EXPECT_EQ(screen.platform.boxes.shown.mid(boxesAtCancel), QList<ShownBox>{kCancelledBox});
    EXPECT_TRUE(screen.Log(kPhone).endsWith(kCancelledEnd));
    EXPECT_FALSE(screen.link->IsOpen());
    EXPECT_EQ(screen.link->ClosedPortUses(), 0);
    EXPECT_FALSE(screen.view.busy);
    EXPECT_TRUE(screen.view.buttonsEnabled);
    EXPECT_EQ(screen.view.statuses.value(screen.view.statuses.size() - 1), QString());
  }
}

}  // namespace
