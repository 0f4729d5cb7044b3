#include "loader/SessionStatus.h"

#include <cmath>

#include "loader/LoadingView.h"

void SessionStatus::SetStep(const QString& step) {
  step_ = step;
  Show();
}

void SessionStatus::SetLines(int sent, int total) {
  if (view_ != nullptr) view_->ShowProgress(sent, total);
}

void SessionStatus::Clear() {
  step_.clear();
  wait_ = nullptr;
  secondsLeft_ = -1;
  Show();
}

void SessionStatus::ShowFailure(const QString& step) {
  Clear();
  if (!step.isEmpty()) ShowText(QStringLiteral("Error en: ") + step);
}

void SessionStatus::BeginWait(const void* wait, double end) {
  if (wait_ != nullptr) return;
  wait_ = wait;
  end_ = end;
}

void SessionStatus::Tick(double now) {
  if (wait_ == nullptr) return;
  secondsLeft_ = std::max(0, static_cast<int>(std::ceil(end_ - now)));
  Show();
}

void SessionStatus::EndWait(const void* wait) {
  if (wait != wait_) return;
  wait_ = nullptr;
  secondsLeft_ = -1;
  Show();
}

void SessionStatus::Show() {
  QString text = step_;
  if (!step_.isEmpty() && secondsLeft_ >= 0) text += QStringLiteral(" (quedan %1 s)").arg(secondsLeft_);
  ShowText(text);
}

void SessionStatus::ShowText(const QString& text) {
  // Only changes reach the window: a wait ticks many times a second.
  if (text == shown_) return;
  shown_ = text;
  if (view_ != nullptr) view_->ShowStatus(text);
}
