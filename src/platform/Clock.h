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
  // The same, but when nothing is pending sleeps until the next event or until
  // Seconds() reaches untilSeconds, whichever comes first; a time already reached
  // serves what is pending and returns. A wait that knows when its outcome can next
  // change sleeps that long instead of waking every few milliseconds for nothing.
  virtual void YieldUntil(double untilSeconds) {
    (void)untilSeconds;
    Yield();
  }

  // A blocking sleep that also ends when the device open on fd hangs up or fails, or
  // when Interrupt() is called; true when the whole time passed with neither (fd < 0:
  // no device watched). Clocks that cannot watch just sleep, and say nothing.
  virtual bool SleepWatching(int milliseconds, int fd) {
    (void)fd;
    SleepMs(milliseconds);
    return false;
  }
  // Whether Interrupt() ends SleepWatching and YieldUntil at once. A clock that is not
  // must be slept in short slices by whoever has to notice a cancel.
  [[nodiscard]] virtual bool Interruptible() const { return false; }
  // From any thread: ends the owner's sleep or yield in progress and every later
  // SleepWatching at once. For ending a session: there is no undoing it.
  virtual void Interrupt() {}
};

// The installed clock (platform::Current().clock), or the real one when none is.
[[nodiscard]] Clock& CurrentClock();

}  // namespace platform
