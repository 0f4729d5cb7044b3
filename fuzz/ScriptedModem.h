#pragma once

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

#include "modemsim/ModemConsole.h"

// A modem whose every answer is given by a script: the fuzzer's bytes.
namespace fuzzing {

// One piece of an answer, sent a while after what came before it.
struct ScriptPart {
  double delaySeconds = 0;
  QByteArray bytes;
  bool unplug = false;  // the adapter is pulled out once the part is sent
};

// The answer to one line: the first answer plays when the modem is switched on, each
// following one when the program has typed a line that is not empty.
using ScriptAnswer = QList<ScriptPart>;

// The script as bytes, part after part:
//   a header byte: bits 0 to 5 give the delay before the part, v * v / 100 seconds
//     (0 to 39.69 s, finer for the short delays that matter most); bit 6 says that
//     another part of the same answer follows; bit 7 pulls the adapter out once the
//     part is sent;
//   a length byte, then that many bytes (fewer when the script ends there).
// When the script runs out the modem says nothing more.
[[nodiscard]] QList<ScriptAnswer> ParseScript(const uint8_t* data, size_t size);

class ScriptedConsole final : public modemsim::ModemConsole {
 public:
  ScriptedConsole(modemsim::ConsoleHost& host, QList<ScriptAnswer> answers);

 protected:
  void Started() override;
  void LineEntered(const QByteArray& line) override;
  [[nodiscard]] bool Echoes() const override { return false; }

 private:
  void PlayNext();

  modemsim::ConsoleHost& host_;
  QList<ScriptAnswer> answers_;
  qsizetype next_ = 0;
};

}  // namespace fuzzing
