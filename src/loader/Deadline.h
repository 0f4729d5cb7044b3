#pragma once

#include "platform/Clock.h"

class SessionStatus;

// The end of a timed wait. The limit is counted from the moment of construction and
// the end rounded to the whole second, so a wait lasts the limit give or take half a
// second. A wait tests it once per pass, after the pass's work; reaching the end
// exactly is not yet past it.
// With a status, the wait also counts down on the loading screen.
class Deadline {
 public:
  Deadline(platform::Clock& clock, double limitSeconds, SessionStatus* status = nullptr);
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

  [[nodiscard]] bool Passed() const;
  [[nodiscard]] double End() const { return end_; }
  // Just past the next moment at which Passed() or the countdown can change: the
  // next whole second, or the end. Nothing about the wait changes before then.
  [[nodiscard]] double NextChange() const;

 private:
  platform::Clock* clock_;
  double end_ = 0;
  SessionStatus* status_ = nullptr;
};
