#include <gtest/gtest.h>

#include <QDir>

#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "support/TestPlatform.h"

namespace {

TEST(Cp1252Test, AccentsAndEuroAreSingleBytesBothWays) {
  const QString text = QString::fromUtf8("Configuración Módem € ñ");
  const QByteArray bytes = platform::ToCp1252(text);
  EXPECT_EQ(bytes, QByteArray("Configuraci\xF3n M\xF3" "dem \x80 \xF1"));
  EXPECT_EQ(platform::FromCp1252(bytes), text);
  EXPECT_EQ(platform::ToCp1252(QString::fromUtf8("日本")), "??");
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(char(b));
  EXPECT_EQ(platform::ToCp1252(platform::FromCp1252(all)), all);  // every byte survives
}

TEST(TextFileTest, LinesEndAtCrLfCrOrLfAndALastLineWithoutEndingCounts) {
  EXPECT_EQ(platform::DecodeLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(platform::DecodeLines("\r\n\r\n"), (QStringList{"", ""}));
  EXPECT_TRUE(platform::DecodeLines("").isEmpty());
}

TEST(TextFileTest, ReplacingAFileThatIsADirectoryFailsAndLeavesNoTemporary) {
  testing_support::TestPlatform platform;
  ASSERT_TRUE(QDir(platform.Dir()).mkdir("target"));
  QString error;
  EXPECT_FALSE(platform::ReplaceTextFile(platform.PathOf("target"), {"x"}, &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_EQ(QDir(platform.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"target"});
}

}  // namespace
