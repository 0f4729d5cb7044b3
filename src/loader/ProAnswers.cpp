#include "loader/ProAnswers.h"

namespace {

const QByteArray kLineBreak = QByteArrayLiteral("\r\n");

bool IsLineBreakAt(const QByteArray& buffer, qsizetype at) {
  return buffer.at(at) == '\r' && buffer.at(at + 1) == '\n';
}

}  // namespace

bool IsFreshPrompt(const QByteArray& buffer) { return buffer.endsWith("\r\n\r\n=>"); }

bool IsShortPrompt(const QByteArray& buffer) { return buffer.right(3).contains("=>"); }

QByteArray DropLeadingLines(QByteArray buffer) {
  // The cuts are counted first and made once: cutting line by line would move a
  // flooded buffer again for every line in it.
  qsizetype from = 0;
  qsizetype first = buffer.indexOf(kLineBreak, from);
  while (first >= 0) {
    // Only cut with at least one character beyond the two that would go.
    if (first + 5 >= buffer.size()) break;
    if (!IsLineBreakAt(buffer, first + 2)) {
      from = first + 4;
    } else if (first == from) {
      // An empty line and the two characters after it: a stale "=>".
      from += 6;
    } else {
      break;
    }
    first = buffer.indexOf(kLineBreak, from);
  }
  buffer.remove(0, from);
  return buffer;
}
