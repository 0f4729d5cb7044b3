#pragma once

#include <QByteArray>

#include <cstdint>

#include "platform/SerialLink.h"

// What tells the models apart on the serial line before a sequence takes over: line
// settings and the wait for the console's first prompt. One row per model.
struct ModemProfile {
  std::int16_t model = 0;
  platform::LineSettings line;
  int firstPromptLimitSeconds = 0;
  // Whether the text collected so far holds the console's prompt.
  bool (*promptFound)(const QByteArray& collected) = nullptr;
  // A blocking pause after the prompt, while the console finishes starting.
  int settlingPauseMs = 0;
  // What precedes the access password in the command line that sends it; the echo
  // of that line is masked up to its end. Empty when no line carries it.
  const char* passwordEchoLead = "";
};

// The row of a ModemModel; nullptr for a number that names no model.
[[nodiscard]] const ModemProfile* ProfileFor(std::int16_t model);
