#include <gtest/gtest.h>

#include "loader/CleanReceivedText.h"

namespace {

QByteArray Bytes(const char* text, qsizetype size) { return QByteArray(text, size); }

TEST(CleanReceivedText, EditsOneChunk) {
  const struct {
    QByteArray in;
    QByteArray out;
  } cases[] = {
      {"AB\bC", "AC"},
      {"\bX", "X"},
      {"\b\bX\b", ""},
      {"a\r\nb", "a\r\nb"},
      {"a\n\rb", "a\r\nb"},
      {"a\nb", "ab"},
      {"a\rb", "a\r\nb"},
      {"a\r\rb", "a\r\n\r\nb"},
      {Bytes("C\0om\0mand", 9), "Command"},
      // The backspace rubs out the LF before the LF pass could drop it.
      {"ab\n\bc", "abc"},
      // And a NUL, which then does not count as a character to keep.
      {Bytes("ab\0\bc", 5), "abc"},
      {"\xff\xfe\x81", "\xff\xfe\x81"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanReceivedText(c.in), c.out) << c.in.toHex().constData();
  }
}

// The modem's line breaks arrive split across reads; each chunk is cleaned alone and
// the pieces must still join to CR LF line breaks.
TEST(CleanReceivedText, LineBreaksSplitAcrossChunks) {
  EXPECT_EQ(CleanReceivedText("a\r") + CleanReceivedText("\nb"), "a\r\nb");
  EXPECT_EQ(CleanReceivedText("a\n") + CleanReceivedText("\rb"), "a\r\nb");
  EXPECT_EQ(CleanReceivedText("a\r") + CleanReceivedText("\r\nb"), "a\r\n\r\nb");
  // A backspace at the start of a chunk deletes only itself.
  EXPECT_EQ(CleanReceivedText("ab") + CleanReceivedText("\bc"), "abc");
}

}  // namespace
