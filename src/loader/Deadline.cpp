#include "loader/Deadline.h"

#include <algorithm>
#include <cmath>

#include "loader/SessionStatus.h"

Deadline::Deadline(platform::Clock& clock, double limitSeconds, SessionStatus* status)
    : clock_(&clock), end_(std::round(clock.Seconds() + limitSeconds)), status_(status) {
  if (status_ != nullptr) status_->BeginWait(this, end_);
}

Deadline::~Deadline() {
  if (status_ != nullptr) status_->EndWait(this);
}

double Deadline::NextChange() const {
  // Just past it, so that the wait looking then sees the change.
  constexpr double kPast = 0.0005;
  const double now = clock_->Seconds();
  // The end is a whole second and the countdown shows whole seconds to it.
  return std::max(std::min(std::floor(now) + 1.0, end_), now) + kPast;
}

bool Deadline::Passed() const {
  const double now = clock_->Seconds();
  if (status_ != nullptr) status_->Tick(now);
  return now > end_;
}
