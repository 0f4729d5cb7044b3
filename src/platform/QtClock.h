#pragma once

#include <QElapsedTimer>

#include <cstdint>

#include "platform/Clock.h"

class QThread;

namespace platform {

// The real clock: a monotonic timer, a thread sleep, and a yield that pumps the
// event loop of the calling thread (a loading session's own).
class QtClock final : public Clock {
 public:
  QtClock();
  ~QtClock() override;
  QtClock(const QtClock&) = delete;
  QtClock& operator=(const QtClock&) = delete;

  [[nodiscard]] double Seconds() override;
  void SleepMs(int milliseconds) override;
  void Yield() override;
  void YieldUntil(double untilSeconds) override;
  bool SleepWatching(int milliseconds, int fd) override;
  [[nodiscard]] bool Interruptible() const override { return interruptFd_ >= 0; }
  void Interrupt() override;

 private:
  // One turn of the event loop that sleeps at most maxWaitMs when nothing is pending.
  void Turn(int maxWaitMs);

  QElapsedTimer elapsed_;
  std::uint64_t arrivalsSeen_ = 0;
  QThread* owner_;        // whose event loop a yield turns
  int interruptFd_ = -1;  // readable once interrupted
};

}  // namespace platform
