#include "fuzz/ScriptedModem.h"

#include <algorithm>
#include <utility>

namespace fuzzing {
namespace {

constexpr uint8_t kDelayBits = 0x3F;
constexpr uint8_t kMoreFollows = 0x40;
constexpr uint8_t kUnplug = 0x80;

double DelayOf(uint8_t header) {
  const int v = header & kDelayBits;
  return v * v / 100.0;
}

modemsim::ConsoleOptions BootsAtOnce() {
  modemsim::ConsoleOptions options;
  options.bootSeconds = 0;  // the first answer's own delay says when it speaks
  options.troubleCommand.clear();
  return options;
}

}  // namespace

QList<ScriptAnswer> ParseScript(const uint8_t* data, size_t size) {
  QList<ScriptAnswer> answers;
  ScriptAnswer current;
  size_t at = 0;
  while (at < size) {
    const uint8_t header = data[at++];
    const size_t length = at < size ? data[at++] : 0;
    const size_t taken = std::min(length, size - at);
    current.append({DelayOf(header), QByteArray(reinterpret_cast<const char*>(data + at),
                                                static_cast<qsizetype>(taken)),
                    (header & kUnplug) != 0});
    at += taken;
    if ((header & kMoreFollows) != 0) continue;
    answers.append(std::exchange(current, {}));
  }
  if (!current.isEmpty()) answers.append(current);
  return answers;
}

ScriptedConsole::ScriptedConsole(modemsim::ConsoleHost& host, QList<ScriptAnswer> answers)
    : ModemConsole(host, BootsAtOnce()), host_(host), answers_(std::move(answers)) {}

void ScriptedConsole::Started() { PlayNext(); }

void ScriptedConsole::LineEntered(const QByteArray& line) {
  // The wake-ups and bare line ends are empty lines: the answers follow the dialogue.
  if (!line.isEmpty()) PlayNext();
}

void ScriptedConsole::PlayNext() {
  if (next_ >= answers_.size()) return;
  QList<Step> steps;
  for (const ScriptPart& part : answers_[next_++]) {
    std::function<void()> then;
    if (part.unplug) then = [this] { host_.HangUp(); };
    steps.append({part.delaySeconds, part.bytes, then});
  }
  Answer(steps);
}

}  // namespace fuzzing
