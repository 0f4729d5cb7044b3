#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include <QDir>

#include "platform/Cp1252.h"
#include "platform/ErrorText.h"
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

// Folders and shared files get what a plain creation would, for the other users of
// the machine too (the temporary a file is written to starts as 0600). With no umask,
// every bit shows.
TEST(TextFileTest, MadeFoldersAndReplacedFilesGetTheModeTheUmaskAllows) {
  testing_support::TestPlatform platform;
  QString error;
  const mode_t saved = ::umask(0);
  const bool made = platform::MakeDirectory(platform.PathOf("Logs"), &error) &&
                    platform::ReplaceTextFile(platform.PathOf("Logs/x.cfg"), {"x"}, &error);
  ::umask(saved);
  ASSERT_TRUE(made) << error.toStdString();
  struct stat folder {}, file {};
  ASSERT_EQ(::stat(platform.PathOf("Logs").toLocal8Bit().constData(), &folder), 0);
  ASSERT_EQ(::stat(platform.PathOf("Logs/x.cfg").toLocal8Bit().constData(), &file), 0);
  EXPECT_EQ(folder.st_mode & 07777, 0777u);
  EXPECT_EQ(file.st_mode & 07777, 0666u);
}

// No system error reaches the user in the system's own English words, and a size
// limit is not a full disk.
TEST(ErrorTextTest, EverySystemErrorIsDescribedInSpanish) {
  for (int value = 1; value < 134; ++value) {
    const QString english = QString::fromLocal8Bit(std::strerror(value));
    const QString text = platform::DescribeSystemError(value);
    EXPECT_FALSE(text.contains(english, Qt::CaseInsensitive)) << value << ": " << text.toStdString();
    EXPECT_EQ(platform::DescribeLibraryErrorText(english), text) << value;
  }
  EXPECT_FALSE(platform::DescribeSystemError(EFBIG).contains(QStringLiteral("disco")));
}

// A file past the size the program reads is refused for what it is.
TEST(TextFileTest, AFileTooLargeToReadIsNotReportedAsADiskProblem) {
  testing_support::TestPlatform platform;
  platform.Write(QStringLiteral("conf_gen.dat"), QByteArray(17 * 1024 * 1024, '1'));
  QByteArray bytes;
  QString error;
  EXPECT_FALSE(platform::ReadWholeFile(platform.PathOf(QStringLiteral("conf_gen.dat")), &bytes, &error));
  EXPECT_EQ(error, QString::fromUtf8(platform::kFileTooLargeText));
}

}  // namespace
