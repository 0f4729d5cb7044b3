#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/Clock.h"

namespace platform {

// A clock for tests: sleeps and yields move virtual time forward and nothing really
// waits. Simulated devices schedule their actions on it, so a wait of a minute runs
// in microseconds and still meets its limits exactly as it would in real time.
class VirtualClock final : public Clock {
 public:
  // Starts away from zero, like a real clock would, so that rounding is exercised.
  explicit VirtualClock(double startSeconds = 1000.0);

  [[nodiscard]] double Seconds() override;
  void SleepMs(int milliseconds) override;
  // Runs what is due, then advances to the next scheduled action or by the idle
  // step of a real yield, whichever comes first.
  void Yield() override;

  // Runs the action when virtual time reaches the moment; actions of the same moment
  // run in the order they were scheduled.
  void At(double seconds, std::function<void()> action);
  void After(double delaySeconds, std::function<void()> action);
  // Moves to the moment, running every action due on the way.
  void AdvanceTo(double seconds);

  [[nodiscard]] std::int64_t Micros() const { return now_; }

  static constexpr std::int64_t kYieldStepMicros = 10'000;

 private:
  void AdvanceToMicros(std::int64_t target);

  std::int64_t now_ = 0;
  std::multimap<std::int64_t, std::function<void()>> actions_;
};

}  // namespace platform
