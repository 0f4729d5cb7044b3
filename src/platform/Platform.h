#pragma once

#include "platform/AppDirectory.h"
#include "platform/MessageBoxes.h"

namespace platform {

// The seams to the outside world, installed once by main() and replaced by test
// doubles in the tests. Everything outside screens/ reaches the world through them.
struct Services {
  MessageBoxes* messages = nullptr;
  AppDirectory* appDirectory = nullptr;
};

Services& Current();

// The application directory joined with a name.
[[nodiscard]] QString AppPath(const QString& name);

}  // namespace platform
