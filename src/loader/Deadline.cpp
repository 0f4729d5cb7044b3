#include "loader/Deadline.h"

#include <cmath>

#include "loader/SessionStatus.h"

Deadline::Deadline(platform::Clock& clock, double limitSeconds, SessionStatus* status)
    : clock_(&clock), end_(std::round(clock.Seconds() + limitSeconds)), status_(status) {
  if (status_ != nullptr) status_->BeginWait(this, end_);
}

Deadline::~Deadline() {
  if (status_ != nullptr) status_->EndWait(this);
}

bool Deadline::Passed() const {
  const double now = clock_->Seconds();
  if (status_ != nullptr) status_->Tick(now);
  return now > end_;
}
