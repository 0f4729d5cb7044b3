#pragma once

#include <functional>
#include <memory>

#include "platform/AppDirectory.h"
#include "platform/MessageBoxes.h"

namespace platform {

class Clock;
class SerialLink;

// The seams to the outside world, installed once by main() and replaced by test
// doubles in the tests. Everything outside screens/ reaches the world through them.
struct Services {
  MessageBoxes* messages = nullptr;
  AppDirectory* appDirectory = nullptr;
  // Time for the modem dialogue; the real clock when empty.
  Clock* clock = nullptr;
  // Makes the serial link of a loading screen; a QSerialPort link when empty.
  std::function<std::unique_ptr<SerialLink>()> makeSerialLink;
};

Services& Current();

// The application directory joined with a name.
[[nodiscard]] QString AppPath(const QString& name);

// The description of a failed save of `path`. When no folder can be written, the
// installer could not tell where the program tried: the path is named then.
[[nodiscard]] QString DescribeSaveFailure(const QString& path, const QString& description);

}  // namespace platform
