#include "loader/Deadline.h"

#include <cmath>

Deadline::Deadline(platform::Clock& clock, double limitSeconds)
    : clock_(&clock), end_(std::round(clock.Seconds() + limitSeconds)) {}

bool Deadline::Passed() const { return clock_->Seconds() > end_; }
