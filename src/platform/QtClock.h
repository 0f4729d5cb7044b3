#pragma once

#include <QElapsedTimer>

#include <cstdint>

#include "platform/Clock.h"

namespace platform {

// The real clock: a monotonic timer, a thread sleep, and a yield that pumps the
// event loop of the calling thread (a loading session's own).
class QtClock final : public Clock {
 public:
  QtClock();

  [[nodiscard]] double Seconds() override;
  void SleepMs(int milliseconds) override;
  void Yield() override;

 private:
  QElapsedTimer elapsed_;
  std::uint64_t arrivalsSeen_ = 0;
};

}  // namespace platform
