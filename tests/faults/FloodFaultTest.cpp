#include <gtest/gtest.h>

#include <algorithm>

#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/DialogueBox.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"

using loader_testing::CriticalBox;
using loader_testing::SimulatedScreen;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

const QString kPhone = QStringLiteral("900123456");

// A line of the flood: no prompt, no keyword of any model in it.
QByteArray FloodLine() {
  return QByteArrayLiteral("~~ volcado sin fin 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ ~~\r\n");
}

// A modem that pours text onto the line, 4 KiB every 10 ms (about forty times what a
// 9600 baud line carries), from the moment it starts until the session has ended.
class Flood {
 public:
  static constexpr qsizetype kChunkBytes = 4096;

  Flood(SimulatedScreen& screen, const QByteArray& line)
      : screen_(screen), chunk_(line.repeated(kChunkBytes / line.size() + 1).left(kChunkBytes)) {}

  void Start() {
    if (running_) return;
    running_ = true;
    baseline_ = faults::ResidentBytes();
    Tick();
  }

  [[nodiscard]] qint64 Sent() const { return sent_; }
  [[nodiscard]] qint64 ResidentGrowth() const { return peak_ - baseline_; }

 private:
  void Tick() {
    if (!screen_.session->IsRunning()) return;
    if (screen_.link->IsOpen()) {
      screen_.link->Transmit(chunk_);
      sent_ += chunk_.size();
    }
    if (++ticks_ % 50 == 0) peak_ = std::max(peak_, faults::ResidentBytes());
    screen_.clock.After(0.01, [this] { Tick(); });
  }

  SimulatedScreen& screen_;
  QByteArray chunk_;
  bool running_ = false;
  qint64 sent_ = 0;
  qint64 ticks_ = 0;
  qint64 baseline_ = 0;
  qint64 peak_ = 0;
};

struct FloodCase {
  const char* situation;
  QByteArray line;        // what the flood repeats
  const char* model;
  Behaviour behaviour;
  QByteArray trouble;     // the command the modem hangs on
  QByteArray floodAfter;  // the flood starts when the program sends this; "" at power-on
  double waitSeconds;     // how long the flooded wait lasts
  QList<ShownBox> last;   // the session's last boxes
};

// The modem floods the line through a whole wait and never shows what the wait
// looks for. The wait still ends at its limit with its message, and what the
// program keeps of the flood stays bounded: the dialogue box holds its newest
// text only.
TEST(FloodFaultTest, AFloodingModemEndsEachWaitAtItsLimitWithBoundedMemory) {
  using namespace loader_texts;
  const QList<FloodCase> cases = {
      {"Pro, first prompt (80 s)", FloodLine(), "pro", Behaviour::Silent, {}, {}, 80,
       {CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}},
      {"Efficient, first prompt (50 s)", FloodLine(), "efficient", Behaviour::Silent, {}, {}, 50,
       {CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}},
      {"Efficient, first prompt, NULs and backspaces only", QByteArray("\0\b\0\0\b", 5),
       "efficient", Behaviour::Silent, {}, {}, 50,
       {CriticalBox(kCannotConnect), CriticalBox(kNotStarted)}},
      {"Efficient, after default all (40 s)", FloodLine(), "efficient", Behaviour::DeadCommand,
       "default all", "default all", 40, {CriticalBox(kUnexpectedAnswer)}},
      {"Office, after erase all (40 s)", FloodLine(), "office", Behaviour::DeadCommand, "erase all",
       "erase all", 40, {CriticalBox(kUnexpectedAnswer)}},
      {"Pro, a command line (2 x 30 s)", FloodLine(), "pro", Behaviour::DeadCommand, "cip pvcadd",
       "cip pvcadd", 60, {CriticalBox(kResponseTimeout)}},
  };
  for (const FloodCase& c : cases) {
    SCOPED_TRACE(c.situation);
    modemsim::ConsoleOptions options;
    options.behaviour = c.behaviour;
    options.troubleCommand = c.trouble;
    SimulatedScreen screen(options, QString::fromLatin1(c.model));
    const std::int16_t model = QByteArray(c.model) == "pro"      ? kSpeedTouchPro
                               : QByteArray(c.model) == "office" ? kSpeedTouchOffice
                                                                 : kEfficientSS5660;
    screen.WriteConfig(kPhone, loader_testing::GeneratedFile(model, DataScreen::Napt, kPhone));
    Flood flood(screen, c.line);
    double floodStart = 0;
    auto start = [&] {
      if (floodStart == 0) floodStart = screen.clock.Seconds();
      flood.Start();
    };
    if (c.floodAfter.isEmpty()) {
      screen.platform.boxes.onShow = [&](const ShownBox& box) {
        if (box.title == kPowerOnTitle) start();
      };
    } else {
      screen.tap->afterWrite = [&](const QByteArray& bytes) {
        if (bytes.startsWith(c.floodAfter)) start();
      };
    }
    screen.Run(kPhone);

    const QList<ShownBox>& shown = screen.platform.boxes.shown;
    ASSERT_GE(shown.size(), c.last.size());
    EXPECT_EQ(shown.mid(shown.size() - c.last.size()), c.last);
    // The whole wait was flooded (a wait may end half a second early, per wait).
    EXPECT_GE(flood.Sent(), static_cast<qint64>(c.waitSeconds - 2) * 100 * Flood::kChunkBytes);
    EXPECT_LE(screen.clock.Seconds() - floodStart, c.waitSeconds + 12);
    EXPECT_LE(screen.session->Dialogue().Content().size(), DialogueBox::kMaxBytes);
    EXPECT_LE(screen.view.dialogue.size(), DialogueBox::kMaxBytes);
    if (faults::kResidentMemoryIsMeaningful) {
      EXPECT_LT(flood.ResidentGrowth(), 48 << 20);
    }
    EXPECT_FALSE(screen.link->IsOpen());
    EXPECT_FALSE(screen.view.busy);
    EXPECT_TRUE(screen.view.buttonsEnabled);
    EXPECT_TRUE(screen.Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  }
}

}  // namespace
