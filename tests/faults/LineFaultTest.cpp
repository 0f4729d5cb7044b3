#include <gtest/gtest.h>

#include <unistd.h>

#include <QFile>

#include "core/Def_Globales.h"
#include "loader/DialogueBox.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"

using loader_testing::kPhone;
using loader_testing::ConfiguredBox;
using loader_testing::CriticalBox;
using loader_testing::PowerOnBox;
using loader_testing::SimulatedScreen;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

// AddressSanitizer keeps freed memory in quarantine, ThreadSanitizer shadows every
// byte: resident memory says little under either.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

qint64 ResidentBytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  return statm.readAll().split(' ').value(1).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

// A screen on the model's simulated modem, behaving so and hanging on `trouble`, with
// the model's NAPT example file.
std::unique_ptr<SimulatedScreen> NaptScreen(std::int16_t model, Behaviour behaviour, const QByteArray& trouble = {}) {
  auto screen = std::make_unique<SimulatedScreen>(
      modemsim::ConsoleOptions{.behaviour = behaviour, .troubleCommand = trouble}, loader_testing::ConsoleName(model));
  screen->WriteConfig(kPhone, loader_testing::GeneratedFile(model, DataScreen::Napt, kPhone));
  return screen;
}

// A modem that pours text onto the line, 4 KiB every 10 ms (about forty times what a
// 9600 baud line carries), from Start() until the session has ended.
struct Flood {
  static constexpr qsizetype kChunkBytes = 4096;

  void Start() {
    if (startedAt >= 0) return;
    startedAt = screen.clock.Seconds();
    baseline = ResidentBytes();
    Tick();
  }
  void Tick() {
    if (!screen.session->IsRunning()) return;
    if (screen.link->IsOpen()) {
      screen.link->Transmit(chunk);
      sent += chunk.size();
    }
    peak = qMax(peak, ResidentBytes());
    screen.clock.After(0.01, [this] { Tick(); });
  }

  SimulatedScreen& screen;
  QByteArray chunk;  // a line repeated
  double startedAt = -1;
  qint64 sent = 0;
  qint64 baseline = 0;
  qint64 peak = 0;
};

// The modem floods the line through a whole wait and never shows what the wait
// looks for. The wait still ends at its limit with its message, and what the program
// keeps of the flood stays bounded: the dialogue box holds its newest text only.
TEST(FloodFaultTest, AFloodingModemEndsEachWaitAtItsLimitWithBoundedMemory) {
  using namespace loader_texts;
  // No prompt, no keyword of any model in it.
  const QByteArray line = "~~ volcado sin fin 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ ~~\r\n";
  const QList<ShownBox> notConnected{CriticalBox(kCannotConnect), CriticalBox(kNotStarted)};
  const struct {
    const char* situation;
    QByteArray line;  // what the flood repeats
    std::int16_t model;
    QByteArray trouble;    // the command the modem hangs on, and from which the flood
                           // starts; "" for a silent modem flooding from the first wake-up
    double waitSeconds;    // how long the flooded wait lasts
    QList<ShownBox> last;  // the session's last boxes
  } cases[] = {
      {"Pro, first prompt (80 s)", line, kSpeedTouchPro, {}, 80, notConnected},
      {"Efficient, first prompt (50 s)", line, kEfficientSS5660, {}, 50, notConnected},
      {"Efficient, first prompt, NULs and backspaces only", QByteArray("\0\b\0\0\b", 5), kEfficientSS5660, {},
       50, notConnected},
      {"Efficient, after default all (40 s)", line, kEfficientSS5660, "default all", 40,
       {CriticalBox(kUnexpectedAnswer)}},
      {"Pro, a command line (2 x 30 s)", line, kSpeedTouchPro, "cip pvcadd", 60, {CriticalBox(kResponseTimeout)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    const auto screen = NaptScreen(
        c.model, c.trouble.isEmpty() ? Behaviour::Silent : Behaviour::DeadCommand, c.trouble);
    Flood flood{*screen, c.line.repeated(Flood::kChunkBytes / c.line.size() + 1).left(Flood::kChunkBytes)};
    screen->tap->afterWrite = [&](const QByteArray& bytes) {
      if (bytes.startsWith(c.trouble)) flood.Start();
    };
    screen->Run(kPhone);

    const QList<ShownBox>& shown = screen->platform.boxes.shown;
    EXPECT_EQ(shown.mid(shown.size() - c.last.size()), c.last);
    // The whole wait was flooded (a wait may end half a second early, per wait).
    EXPECT_GE(flood.sent, static_cast<qint64>(c.waitSeconds - 2) * 100 * Flood::kChunkBytes);
    EXPECT_LE(screen->clock.Seconds() - flood.startedAt, c.waitSeconds + 12);
    EXPECT_LE(screen->session->Dialogue().Content().size(), DialogueBox::kMaxBytes);
    EXPECT_LE(screen->view.dialogue.size(), DialogueBox::kMaxBytes);
    if (kMemoryMeasured) {
      EXPECT_LT(flood.peak - flood.baseline, 48 << 20);
    }
    // However the session failed, the port was never used once closed and the log
    // ends with its trailer.
    EXPECT_EQ(screen->link->ClosedPortUses(), 0);
    EXPECT_TRUE(screen->Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  }
}

// A noisy line (NULs, backspaces, bytes of no meaning, line breaks sent as LF CR or
// a bare LF) under every model's whole session: the modem gets every line once, the
// dialogue box and the log hold the cleaned text (how it is cleaned:
// AnswerTextTest), and the log shows no password.
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
    }
    EXPECT_FALSE(screen->Log(kPhone).contains("tarnimol"));
    EXPECT_EQ(screen->link->ClosedPortUses(), 0);
    EXPECT_TRUE(screen->Log(kPhone).endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  }
}

}  // namespace
