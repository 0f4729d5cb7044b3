#include <gtest/gtest.h>

#include <algorithm>

#include "core/Def_Globales.h"
#include "faults/FaultInjection.h"
#include "loader/DialogueBox.h"
#include "loader/LoaderTexts.h"

using loader_testing::kPhone;
using loader_testing::ConfiguredBox;
using loader_testing::CriticalBox;
using loader_testing::PowerOnBox;
using loader_testing::SimulatedScreen;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

// A screen on the model's simulated modem, behaving so and hanging on `trouble`, with
// the model's NAPT example file.
std::unique_ptr<SimulatedScreen> NaptScreen(std::int16_t model, Behaviour behaviour, const QByteArray& trouble = {}) {
  modemsim::ConsoleOptions options;
  options.behaviour = behaviour;
  options.troubleCommand = trouble;
  auto screen = std::make_unique<SimulatedScreen>(options, loader_testing::ConsoleName(model));
  screen->WriteConfig(kPhone, loader_testing::GeneratedFile(model, DataScreen::Napt, kPhone));
  return screen;
}

// However the session failed, the port was never used once closed and the log ends
// with its trailer. (The screen going idle is common to every end: LoadingSessionTest.)
void ExpectEndedIdle(const SimulatedScreen& screen) {
  EXPECT_EQ(screen.link->ClosedPortUses(), 0);
  EXPECT_TRUE(screen.Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
}

// A line of the flood: no prompt, no keyword of any model in it.
QByteArray FloodLine() {
  return QByteArrayLiteral("~~ volcado sin fin 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ ~~\r\n");
}

// A modem that pours text onto the line, 4 KiB every 10 ms (about forty times what a
// 9600 baud line carries), from Start() until the session has ended.
struct Flood {
  static constexpr qsizetype kChunkBytes = 4096;

  void Start() {
    if (startedAt >= 0) return;
    startedAt = screen.clock.Seconds();
    baseline = faults::ResidentBytes();
    Tick();
  }
  void Tick() {
    if (!screen.session->IsRunning()) return;
    if (screen.link->IsOpen()) {
      screen.link->Transmit(chunk);
      sent += chunk.size();
    }
    if (++ticks % 50 == 0) peak = std::max(peak, faults::ResidentBytes());
    screen.clock.After(0.01, [this] { Tick(); });
  }

  SimulatedScreen& screen;
  QByteArray chunk;  // the line repeated
  double startedAt = -1;
  qint64 sent = 0;
  qint64 ticks = 0;
  qint64 baseline = 0;
  qint64 peak = 0;
};

struct FloodCase {
  const char* situation;
  QByteArray line;  // what the flood repeats
  std::int16_t model;
  QByteArray trouble;     // the command the modem hangs on, and from which the flood
                          // starts; "" for a silent modem flooding from power-on
  double waitSeconds;     // how long the flooded wait lasts
  QList<ShownBox> last;   // the session's last boxes
};

// The modem floods the line through a whole wait and never shows what the wait
// looks for. The wait still ends at its limit with its message, and what the
// program keeps of the flood stays bounded: the dialogue box holds its newest
// text only.
TEST(FloodFaultTest, AFloodingModemEndsEachWaitAtItsLimitWithBoundedMemory) {
  using namespace loader_texts;
  const QList<ShownBox> notConnected{CriticalBox(kCannotConnect), CriticalBox(kNotStarted)};
  const QList<FloodCase> cases = {
      {"Pro, first prompt (80 s)", FloodLine(), kSpeedTouchPro, {}, 80, notConnected},
      {"Efficient, first prompt (50 s)", FloodLine(), kEfficientSS5660, {}, 50, notConnected},
      {"Efficient, first prompt, NULs and backspaces only", QByteArray("\0\b\0\0\b", 5), kEfficientSS5660, {},
       50, notConnected},
      {"Efficient, after default all (40 s)", FloodLine(), kEfficientSS5660, "default all", 40,
       {CriticalBox(kUnexpectedAnswer)}},
      {"Office, after erase all (40 s)", FloodLine(), kSpeedTouchOffice, "erase all", 40,
       {CriticalBox(kUnexpectedAnswer)}},
      {"Pro, a command line (2 x 30 s)", FloodLine(), kSpeedTouchPro, "cip pvcadd", 60,
       {CriticalBox(kResponseTimeout)}},
  };
  for (const FloodCase& c : cases) {
    SCOPED_TRACE(c.situation);
    const auto screen = NaptScreen(
        c.model, c.trouble.isEmpty() ? Behaviour::Silent : Behaviour::DeadCommand, c.trouble);
    Flood flood{*screen, c.line.repeated(Flood::kChunkBytes / c.line.size() + 1).left(Flood::kChunkBytes)};
    if (c.trouble.isEmpty()) {
      screen->platform.boxes.onShow = [&](const ShownBox& box) {
        if (box.title == kPowerOnTitle) flood.Start();
      };
    } else {
      screen->tap->afterWrite = [&](const QByteArray& bytes) {
        if (bytes.startsWith(c.trouble)) flood.Start();
      };
    }
    screen->Run(kPhone);

    const QList<ShownBox>& shown = screen->platform.boxes.shown;
    ASSERT_GE(shown.size(), c.last.size());
    EXPECT_EQ(shown.mid(shown.size() - c.last.size()), c.last);
    // The whole wait was flooded (a wait may end half a second early, per wait).
    EXPECT_GE(flood.sent, static_cast<qint64>(c.waitSeconds - 2) * 100 * Flood::kChunkBytes);
    EXPECT_LE(screen->clock.Seconds() - flood.startedAt, c.waitSeconds + 12);
    EXPECT_LE(screen->session->Dialogue().Content().size(), DialogueBox::kMaxBytes);
    EXPECT_LE(screen->view.dialogue.size(), DialogueBox::kMaxBytes);
    if (faults::kResidentMemoryIsMeaningful) {
      EXPECT_LT(flood.peak - flood.baseline, 48 << 20);
    }
    ExpectEndedIdle(*screen);
  }
}

// A noisy line (NULs, backspaces, bytes of no meaning, line breaks sent as LF CR or
// a bare LF) under every model's whole session: the modem gets every line once, what the
// dialogue box and the log hold is clean text with CR LF line breaks only, and the
// log shows no password.
TEST(NoiseFaultTest, EveryModelIsLoadedThroughANoisyLine) {
  for (const std::int16_t model : {kEfficientSS5660, kSpeedTouchOffice, kSpeedTouchPro}) {
    SCOPED_TRACE(loader_testing::ConsoleName(model).toStdString());
    const auto screen = NaptScreen(model, Behaviour::Noise);
    screen->Run(kPhone);
    EXPECT_EQ(screen->platform.boxes.shown, (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
    const QStringList file = loader_testing::GeneratedFile(model, DataScreen::Napt, kPhone);
    EXPECT_EQ(screen->TypedLines(), loader_testing::AsLines(loader_testing::ExpectedTypedLines(model, file)));
    for (const QByteArray& text : {screen->session->Dialogue().Content(), screen->Log(kPhone)}) {
      EXPECT_FALSE(text.contains('\0'));
      EXPECT_FALSE(text.contains('\b'));
      EXPECT_EQ(text.count('\r'), text.count("\r\n"));
      EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    }
    EXPECT_FALSE(screen->Log(kPhone).contains("tarnimol"));
    EXPECT_TRUE(screen->session->Dialogue().Content().contains("\x81\xfe"));
    ExpectEndedIdle(*screen);
  }
}

}  // namespace
