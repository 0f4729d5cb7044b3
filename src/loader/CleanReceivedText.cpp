#include "loader/CleanReceivedText.h"

namespace {

constexpr char kBackspace = '\x08';

// Deleting the first backspace with the character before it, again and again, is
// the same as typing the chunk into a line editor.
QByteArray ApplyBackspaces(const QByteArray& chunk) {
  QByteArray out(chunk.size(), Qt::Uninitialized);
  char* const begin = out.data();
  char* to = begin;
  for (const char c : chunk) {
    if (c != kBackspace) {
      *to++ = c;
    } else if (to != begin) {
      --to;
    }
  }
  out.truncate(to - begin);
  return out;
}

}  // namespace

QByteArray CleanReceivedText(const QByteArray& chunk) {
  // Backspaces first: one may erase an LF or NUL that the later passes would drop.
  const QByteArray typed = ApplyBackspaces(chunk);
  // Written in place: a flooding modem hands over large chunks.
  QByteArray out(typed.size() + typed.count('\r'), Qt::Uninitialized);
  char* to = out.data();
  for (const char c : typed) {
    if (c == '\n' || c == '\0') continue;
    *to++ = c;
    if (c == '\r') *to++ = '\n';
  }
  out.truncate(to - out.constData());
  return out;
}
