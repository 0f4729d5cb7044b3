#include "loader/CleanReceivedText.h"

namespace {

constexpr char kBackspace = '\x08';

// Deleting the first backspace with the character before it, again and again, is
// the same as typing the chunk into a line editor.
QByteArray ApplyBackspaces(const QByteArray& chunk) {
  QByteArray out;
  out.reserve(chunk.size());
  for (const char c : chunk) {
    if (c != kBackspace) {
      out.append(c);
    } else if (!out.isEmpty()) {
      out.chop(1);
    }
  }
  return out;
}

}  // namespace

QByteArray CleanReceivedText(const QByteArray& chunk) {
  // Backspaces first: one may erase an LF or NUL that the later passes would drop.
  const QByteArray typed = ApplyBackspaces(chunk);
  QByteArray out;
  out.reserve(typed.size() + typed.count('\r'));
  for (const char c : typed) {
    if (c == '\n' || c == '\0') continue;
    out.append(c);
    if (c == '\r') out.append('\n');
  }
  return out;
}
