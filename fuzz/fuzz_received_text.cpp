// CleanReceivedText and DropLeadingLines on arbitrary chunks, each held against a
// plain, slow reading of its rules. The first byte cuts the rest into chunks, fed
// one after another into a growing answer buffer as the Speed Touch Pro's waits do.
#include <cstddef>
#include <cstdint>

#include "loader/CleanReceivedText.h"
#include "loader/DialogueBox.h"
#include "loader/ProAnswers.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The four passes as the rules state them, each repeated until nothing is left.
QByteArray ReferenceClean(QByteArray text) {
  for (qsizetype at = text.indexOf('\b'); at >= 0; at = text.indexOf('\b')) {
    text.remove(at == 0 ? 0 : at - 1, at == 0 ? 1 : 2);
  }
  text.replace('\n', QByteArray());
  text.replace('\0', QByteArray());
  QByteArray out;
  for (const char c : text) {
    out.append(c);
    if (c == '\r') out.append('\n');
  }
  return out;
}

// The trimming as it is described: cut, look again, cut again.
QByteArray ReferenceDrop(QByteArray buffer) {
  qsizetype first = buffer.indexOf("\r\n");
  while (first >= 0 && first + 5 < buffer.size()) {
    if (!(buffer[first + 2] == '\r' && buffer[first + 3] == '\n')) {
      buffer.remove(0, first + 4);
    } else if (first == 0) {
      buffer.remove(0, 6);
    } else {
      break;
    }
    first = buffer.indexOf("\r\n");
  }
  return buffer;
}

void CheckClean(const QByteArray& chunk) {
  const QByteArray clean = CleanReceivedText(chunk);
  fuzzing::Require(clean == ReferenceClean(chunk), "CleanReceivedText breaks its rules");
  fuzzing::Require(!clean.contains('\0') && !clean.contains('\b'), "a NUL or backspace survived cleaning");
  fuzzing::Require(clean.count('\r') == clean.count("\r\n") && clean.count('\n') == clean.count("\r\n"),
                   "a line break other than CR LF survived cleaning");
  fuzzing::Require(CleanReceivedText(clean) == clean, "cleaning clean text changed it");
}

void CheckDrop(const QByteArray& buffer) {
  const QByteArray dropped = DropLeadingLines(buffer);
  fuzzing::Require(dropped == ReferenceDrop(buffer), "DropLeadingLines breaks its rules");
  fuzzing::Require(buffer.endsWith(dropped), "DropLeadingLines kept something that was not the end");
  fuzzing::Require(DropLeadingLines(dropped) == dropped, "trimming a trimmed buffer changed it");
  (void)IsFreshPrompt(dropped);
  (void)IsShortPrompt(dropped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const qsizetype chunkSize = data[0] + 1;
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  CheckClean(rest);
  CheckDrop(rest);
  QByteArray buffer;
  for (qsizetype at = 0; at < rest.size(); at += chunkSize) {
    const QByteArray chunk = CleanReceivedText(rest.mid(at, chunkSize));
    CheckClean(rest.mid(at, chunkSize));
    buffer = DropLeadingLines(buffer + chunk);
    CheckDrop(buffer);
    KeepNewest(buffer, 64);
    fuzzing::Require(buffer.size() <= 64, "KeepNewest kept too much");
  }
  return 0;
}
