#include <gtest/gtest.h>

#include "loader/CleanReceivedText.h"
#include "loader/ProAnswers.h"
#include "loader/SequenceSteps.h"

namespace {

using sequence::MaskEchoedPassword;

TEST(DropLeadingLinesTest, CutsLeadingLinesButKeepsTheFreshPrompt) {
  const struct {
    QByteArray in;
    QByteArray out;
  } cases[] = {
      // An answer of one line and its prompt is left alone.
      {"dns stop\r\n\r\n=>", "dns stop\r\n\r\n=>"},
      // A prompt left over from the line before: gone, so it cannot end the next wait.
      {"\r\n\r\n=>", ""},
      {"\r\n\r\n=>config erase\r\n", "config erase\r\n"},
      // Each cut takes the two characters after the first line break.
      {"ip flush\r\nabc\r\n\r\n=>", "c\r\n\r\n=>"},
      {"cip ifadd addr=198.51.100.42/30\r\nInterface cip0 added\r\nRoute table updated\r\n\r\n=>",
       "ute table updated\r\n\r\n=>"},
      // A last line of two characters is cut into, and the prompt is not seen.
      {"ip flush\r\nab\r\n\r\n=>", ""},
      // Too short to cut.
      {"\r\n\r\n=", "\r\n\r\n="},
      {"ab\r\ncd", "ab\r\ncd"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DropLeadingLines(c.in), c.out) << c.in.toStdString();
  }
}

TEST(ProPromptTest, FreshAndShortPrompts) {
  EXPECT_TRUE(IsFreshPrompt("dhcp stop\r\n\r\n=>"));
  EXPECT_FALSE(IsFreshPrompt("dhcp stop\r\n=>"));
  EXPECT_TRUE(IsShortPrompt("dhcp stop\r\n=>"));
  EXPECT_TRUE(IsShortPrompt("=> "));
  EXPECT_FALSE(IsShortPrompt("=>\r\n"));
}

TEST(MaskEchoedPasswordTest, TheLineAfterTheCommandIsHiddenWhateverItHolds) {
  EXPECT_EQ(MaskEchoedPassword("Office# system admin tarnimol\r\nOffice# ", "system admin "),
            "Office# system admin ********\r\nOffice# ");
  EXPECT_EQ(MaskEchoedPassword("stem setpassword password=a\r\nx password=b", "password="),
            "stem setpassword password=********\r\nx password=********");
  // Nothing to hide: no mask that would suggest a password.
  EXPECT_EQ(MaskEchoedPassword("system admin \r\nOffice# ", "system admin "),
            "system admin \r\nOffice# ");
}

TEST(CleanReceivedText, EditsOneChunk) {
  const struct {
    QByteArray in;
    QByteArray out;
  } cases[] = {
      {"AB\bC", "AC"},
      {"\b\bX\b", ""},
      {"a\r\nb", "a\r\nb"},
      {"a\nb", "ab"},
      {QByteArray("C\0om\0mand", 9), "Command"},
      // The backspace rubs out the LF before the LF pass could drop it.
      {"ab\n\bc", "abc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CleanReceivedText(c.in), c.out) << c.in.toHex().constData();
  }
}

}  // namespace
