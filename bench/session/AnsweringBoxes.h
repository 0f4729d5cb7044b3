#pragma once

#include <cstdio>

#include "platform/MessageBoxes.h"
#include "session/Stamp.h"

namespace bench {

// The user of the benchmark: presses the first button of every box at once (OK to
// the power-on question) and prints when, with the process's CPU time so far, so the
// runner can cut the session into the spans it measures.
class AnsweringBoxes final : public platform::MessageBoxes {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& /*title*/, platform::MsgIcon /*icon*/,
                           platform::MsgButtons buttons) override {
    Print("box", text);
    return buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
  }

  static void Print(const char* what, const QString& text = {}) {
    std::printf("%s %.6f %.6f %s\n", what, MonotonicSeconds(), ProcessCpuSeconds(),
                text.toUtf8().constData());
    std::fflush(stdout);
  }
};

}  // namespace bench
