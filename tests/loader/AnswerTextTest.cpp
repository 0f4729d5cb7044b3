#include <gtest/gtest.h>

#include "loader/CleanReceivedText.h"
#include "loader/ProAnswers.h"
#include "loader/SequenceSteps.h"

namespace {

using sequence::MaskEchoedPassword;

TEST(DropLeadingLinesTest, CasesThatKeepOrLoseTheFreshPrompt) {
  // An answer of one line and its prompt is left alone.
  EXPECT_EQ(DropLeadingLines("dns stop\r\n\r\n=>"), "dns stop\r\n\r\n=>");
  // A prompt left over from the line before: gone, so it cannot end the next wait.
  EXPECT_EQ(DropLeadingLines("\r\n\r\n=>"), "");
  EXPECT_EQ(DropLeadingLines("\r\n\r\n=>config erase\r\n"), "config erase\r\n");
  // Each cut takes the two characters after the first line break.
  EXPECT_EQ(DropLeadingLines("ip flush\r\nabc\r\n\r\n=>"), "c\r\n\r\n=>");
  // A last line of two characters or one is cut into, and the prompt is not seen.
  EXPECT_EQ(DropLeadingLines("ip flush\r\nab\r\n\r\n=>"), "");
  EXPECT_FALSE(IsFreshPrompt(DropLeadingLines("ip flush\r\nx\r\n\r\n=>")));
}

TEST(DropLeadingLinesTest, LongerAnswersKeepTheirPromptAndShortBuffersStay) {
  const QByteArray answer =
      "cip ifadd addr=198.51.100.42/30\r\nInterface cip0 added\r\nRoute table updated\r\n\r\n=>";
  EXPECT_EQ(DropLeadingLines(answer), "ute table updated\r\n\r\n=>");
  for (const QByteArray& small : {QByteArray(), QByteArray("=>"), QByteArray("\r\n=>"),
                                  QByteArray("ab\r\ncd"), QByteArray("\r\n\r\n=")}) {
    EXPECT_EQ(DropLeadingLines(small), small) << small.toStdString();
  }
}

TEST(ProPromptTest, FreshAndShortPrompts) {
  EXPECT_TRUE(IsFreshPrompt("dhcp stop\r\n\r\n=>"));
  EXPECT_FALSE(IsFreshPrompt("dhcp stop\r\n=>"));
  EXPECT_FALSE(IsFreshPrompt("\r\n\r\n=> "));
  EXPECT_TRUE(IsShortPrompt("dhcp stop\r\n=>"));
  EXPECT_TRUE(IsShortPrompt("=> "));
  EXPECT_FALSE(IsShortPrompt("=>\r\n"));
  EXPECT_FALSE(IsShortPrompt("=> \r\n"));
}

TEST(MaskEchoedPasswordTest, TheLineAfterTheCommandIsHiddenWhateverItHolds) {
  EXPECT_EQ(MaskEchoedPassword("Office# system admin tarnimol\r\nOffice# ", "system admin "),
            "Office# system admin ********\r\nOffice# ");
  // An echo broken up by line noise no longer holds the password whole.
  EXPECT_EQ(MaskEchoedPassword("system admin tar\x81\xfenimol\r\n", "system admin "),
            "system admin ********\r\n");
  EXPECT_EQ(MaskEchoedPassword("stem setpassword password=a\r\nx password=b", "password="),
            "stem setpassword password=********\r\nx password=********");
  // Nothing to hide: no mask that would suggest a password.
  EXPECT_EQ(MaskEchoedPassword("system admin \r\nOffice# ", "system admin "),
            "system admin \r\nOffice# ");
  EXPECT_EQ(MaskEchoedPassword("Office# ", "system admin "), "Office# ");
}

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
