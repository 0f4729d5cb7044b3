#include "platform/VirtualClock.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace platform {
namespace {

std::int64_t ToMicros(double seconds) { return std::llround(seconds * 1e6); }

}  // namespace

VirtualClock::VirtualClock(double startSeconds) : now_(ToMicros(startSeconds)) {}

double VirtualClock::Seconds() { return static_cast<double>(now_) / 1e6; }

void VirtualClock::SleepMs(int milliseconds) {
  AdvanceToMicros(now_ + std::max(milliseconds, 0) * std::int64_t{1000});
}

void VirtualClock::Yield() {
  std::int64_t target = now_ + kYieldStepMicros;
  if (!actions_.empty()) target = std::max(now_, std::min(target, actions_.begin()->first));
  AdvanceToMicros(target);
}

void VirtualClock::At(double seconds, std::function<void()> action) {
  actions_.emplace(std::max(ToMicros(seconds), now_), std::move(action));
}

void VirtualClock::After(double delaySeconds, std::function<void()> action) {
  actions_.emplace(now_ + std::max<std::int64_t>(ToMicros(delaySeconds), 0), std::move(action));
}

void VirtualClock::AdvanceTo(double seconds) { AdvanceToMicros(ToMicros(seconds)); }

void VirtualClock::AdvanceToMicros(std::int64_t target) {
  while (!actions_.empty() && actions_.begin()->first <= target) {
    auto first = actions_.begin();
    now_ = std::max(now_, first->first);
    auto action = std::move(first->second);
    actions_.erase(first);
    action();
  }
  now_ = std::max(now_, target);
}

}  // namespace platform
