#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <utility>

#include "loader/LoaderTexts.h"

#include "modemsim/Consoles.h"
#include "modemsim/SimulatedLink.h"
#include "platform/Platform.h"
#include "platform/VirtualClock.h"
#include "support/TestPlatform.h"

namespace testing_support {

// From its creation on, every serial port the program opens is a new simulated modem
// of `model` on a virtual clock. Header-only, for the test programs that link the
// simulator; declare it after the TestPlatform, which puts the real seams back.
class SimulatedPort {
 public:
  explicit SimulatedPort(const QString& model = QStringLiteral("efficient")) {
    platform::Current().clock = &clock;
    platform::Current().makeSerialLink = [this, model] {
      auto made = std::make_unique<modemsim::SimulatedLink>(clock);
      link = made.get();
      console = modemsim::MakeConsole(model, *made, {});
      made->Attach(console.get());
      return std::unique_ptr<platform::SerialLink>(std::move(made));
    };
  }
  // Switches the modem on when the program asks the user to, then runs `then`.
  void PowerOnWhenAsked(TestPlatform& platform, std::function<void()> then = {}) {
    platform.boxes.onShow = [this, then = std::move(then)](const ShownBox& box) {
      if (box.title != loader_texts::kPowerOnTitle) return;
      console->PowerOn();
      if (then) then();
    };
  }

  SimulatedPort(const SimulatedPort&) = delete;
  SimulatedPort& operator=(const SimulatedPort&) = delete;

  platform::VirtualClock clock;
  modemsim::SimulatedLink* link = nullptr;  // the latest, owned by the program
  std::unique_ptr<modemsim::ModemConsole> console;
};

}  // namespace testing_support
