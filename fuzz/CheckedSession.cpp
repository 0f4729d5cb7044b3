#include "fuzz/CheckedSession.h"

#include "core/Def_Globales.h"
#include "fuzz/FuzzSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "loader/LoadingView.h"
#include "modemsim/SimulatedLink.h"
#include "platform/Cp1252.h"
#include "platform/VirtualClock.h"

namespace fuzzing {
namespace {

// The loading screen as a session sees it, to tell whether it came back to idle.
class IdleView final : public LoadingView {
 public:
  void SetDialogueText(const QString&) override {}
  void AppendDialogueText(const QString&) override {}
  void MoveCaretToEnd() override {}
  [[nodiscard]] QString Caption() const override { return caption; }
  void SetCaption(const QString& text) override { caption = text; }
  void SetBusyPointer(bool value) override { busy = value; }
  void SetButtonsEnabled(bool enabled) override { buttonsEnabled = enabled; }
  void ShowStatus(const QString& text) override { status = text; }
  void ShowProgress(int, int) override {}

  static inline const QString kCaption = QStringLiteral("Configuración del Módem ADSL");

  QString caption = kCaption;
  QString status;
  bool busy = false;
  bool buttonsEnabled = true;
};

// The longest the program may go, port open, without putting a byte on the line: the
// 40 s wait after erasing, rounded up by half a second, plus its last read of up to
// 5.5 s and the pause before it.
constexpr double kLongestSilenceSeconds = 47;

// The longest a session may last for a file of so many lines, on the rule that every
// wait ends at its limit: both first-prompt waits, the settling pause, the wait
// after erasing and the login and password reads, and for every line two waits of
// up to 30 s plus their last reads.
double SessionLimitSeconds(int fileLines) {
  constexpr double kFixedSeconds = 2 * 82 + 10 + 47 + 10 * 7 + 60;
  constexpr double kPerLineSeconds = 2 * (30.5 + 5.7);
  return kFixedSeconds + kPerLineSeconds * fileLines;
}

}  // namespace

void RunCheckedSession(const ConsoleMaker& makeConsole, int fileLines, bool logMayBeEmpty) {
  platform::VirtualClock clock;
  auto ownedLink = std::make_unique<modemsim::SimulatedLink>(clock);
  modemsim::SimulatedLink& link = *ownedLink;
  const std::unique_ptr<modemsim::ModemConsole> console = makeConsole(link, clock);
  link.Attach(console.get());
  IdleView view;
  auto session = std::make_unique<LoadingSession>(&view, std::move(ownedLink), clock);

  SetStartupValues();
  Boxes().texts.clear();
  Boxes().onShow = [&](const QString& title) {
    if (title == loader_texts::kPowerOnTitle) console->PowerOn();
  };
  const double start = clock.Seconds();
  const double limit = SessionLimitSeconds(fileLines);
  double lastWrite = start;
  qsizetype wireSize = 0;
  std::function<void()> watch = [&] {
    if (!session->IsRunning()) return;
    const double now = clock.Seconds();
    // A closed port leaves the program nothing to write until the wait runs out.
    if (!link.IsOpen() || link.Wire().size() != wireSize) {
      wireSize = link.Wire().size();
      lastWrite = now;
    }
    if (now - lastWrite > kLongestSilenceSeconds) {
      Fail(QStringLiteral("%1 s without a byte on the line: a wait passed its limit").arg(now - lastWrite));
    }
    if (now - start > limit) Fail(QStringLiteral("the session lasted more than %1 s").arg(limit));
    clock.After(1.0, watch);
  };
  clock.After(1.0, watch);
  const SessionResult result = session->cInstalar_Click(QStringLiteral("900123456"));

  Require(!session->IsRunning(), "the session did not end");
  Require(!link.IsOpen(), "the port stayed open");
  Require(link.ClosedPortUses() == 0, "the closed port was used");
  Require(!view.busy && view.buttonsEnabled, "the screen did not come back to idle");
  Require(view.caption == IdleView::kCaption, "the caption kept the model");
  // A failure at a step stays on the status line until the next session.
  const bool failedAtStep = result.outcome == SessionResult::Outcome::Failed && !result.step.isEmpty();
  Require(view.status == (failedAtStep ? QStringLiteral("Error en: ") + result.step : QString()),
          "the status line does not say how the session ended");
  Require(OpenAppFiles().isEmpty(), "a file stayed open");
  for (const QString& text : Boxes().texts) Require(!text.isEmpty(), "an empty message box");
  Boxes().onShow = nullptr;
  session.reset();

  const QByteArray log = ReadAppFile(QStringLiteral("Logs/900123456.log"));
  const QByteArray trailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));
  Require(log.endsWith(trailer) || (logMayBeEmpty && log.isEmpty()),
          "the session log was written but not closed by its trailer");
}

}  // namespace fuzzing
