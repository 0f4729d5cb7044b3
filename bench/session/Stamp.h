#pragma once

#include <time.h>

namespace bench {

// Monotonic seconds: the clock of modem-sim's timing log, so both sides line up.
[[nodiscard]] inline double MonotonicSeconds() {
  timespec now {};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// CPU time of the whole process, every thread, user and system.
[[nodiscard]] inline double ProcessCpuSeconds() {
  timespec used {};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

}  // namespace bench
