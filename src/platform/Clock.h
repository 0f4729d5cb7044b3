#pragma once

namespace platform {

// Time as the modem dialogue sees it. Every wait measures against Seconds() and
// yields once per pass, so a test clock can run a long wait without really waiting.
class Clock {
 public:
  virtual ~Clock() = default;

  // Seconds with fractions since an arbitrary origin; never jumps (no midnight wrap,
  // no wall-clock changes).
  [[nodiscard]] virtual double Seconds() = 0;
  // Blocking: the window is not served meanwhile.
  virtual void SleepMs(int milliseconds) = 0;
  // Serves the pending window events; when there are none, waits briefly for the next
  // one, so an idle wait costs no CPU and reacts at once to received bytes.
  virtual void Yield() = 0;
};

// The installed clock (platform::Current().clock), or the real one when none is.
[[nodiscard]] Clock& CurrentClock();

}  // namespace platform
