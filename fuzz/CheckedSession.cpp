#include "fuzz/CheckedSession.h"

#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"

namespace fuzzing {

double SessionLimitSeconds(int fileLines) {
  constexpr double kFixedSeconds = 2 * 82 + 10 + 47 + 10 * 7 + 60;
  constexpr double kPerLineSeconds = 2 * (30.5 + 5.7);
  return kFixedSeconds + kPerLineSeconds * fileLines;
}

CheckedSession::CheckedSession(const ConsoleMaker& makeConsole) {
  auto link = std::make_unique<modemsim::SimulatedLink>(clock_);
  link_ = link.get();
  console_ = makeConsole(*link_);
  link_->Attach(console_.get());
  session_ = std::make_unique<LoadingSession>(&view_, std::move(link), clock_);
}

CheckedSession::~CheckedSession() {
  Boxes().onShow = nullptr;
  session_.reset();
}

void CheckedSession::Run(const QString& phone, double limitSeconds) {
  SetStartupValues();
  Boxes().texts.clear();
  Boxes().onShow = [this](const QString& title) {
    if (title == loader_texts::kPowerOnTitle) console_->PowerOn();
  };
  start_ = lastWrite_ = clock_.Seconds();
  limit_ = limitSeconds;
  clock_.After(1.0, [this] { Watch(); });
  CheckIdle(session_->cInstalar_Click(phone));
}

void CheckedSession::Watch() {
  if (!session_->IsRunning()) return;
  const double now = clock_.Seconds();
  // A closed port leaves the program nothing to write until the wait runs out.
  if (!link_->IsOpen() || link_->Wire().size() != wireSize_) {
    wireSize_ = link_->Wire().size();
    lastWrite_ = now;
  }
  if (now - lastWrite_ > kLongestSilenceSeconds) {
    Fail(QStringLiteral("%1 s without a byte on the line: a wait passed its limit").arg(now - lastWrite_));
  }
  if (now - start_ > limit_) Fail(QStringLiteral("the session lasted more than %1 s").arg(limit_));
  clock_.After(1.0, [this] { Watch(); });
}

void CheckedSession::CheckIdle(const SessionResult& result) const {
  Require(!session_->IsRunning(), "the session did not end");
  Require(!link_->IsOpen(), "the port stayed open");
  Require(link_->ClosedPortUses() == 0, "the closed port was used");
  Require(!view_.busy && view_.buttonsEnabled, "the screen did not come back to idle");
  Require(view_.caption == IdleView::kCaption, "the caption kept the model");
  // A failure at a step stays on the status line until the next session.
  const bool failedAtStep = result.outcome == SessionResult::Outcome::Failed && !result.step.isEmpty();
  Require(view_.status == (failedAtStep ? QStringLiteral("Error en: ") + result.step : QString()),
          "the status line does not say how the session ended");
  Require(OpenAppFiles().isEmpty(), "a file stayed open");
  for (const QString& text : Boxes().texts) Require(!text.isEmpty(), "an empty message box");
}

}  // namespace fuzzing
