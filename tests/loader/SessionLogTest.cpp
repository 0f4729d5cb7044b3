#include <gtest/gtest.h>

#include "loader/SessionLog.h"
#include "support/TestPlatform.h"

using testing_support::TestPlatform;

namespace {

class SessionLogTest : public ::testing::Test {
 protected:
  [[nodiscard]] QString LogPath() const { return platform_.PathOf(QStringLiteral("Logs/900123456.log")); }

  TestPlatform platform_;
};

TEST_F(SessionLogTest, HeaderLinesInWindows1252WithCrLf) {
  ASSERT_TRUE(EnsureLogsDirectory());
  SessionLog log;
  QString error;
  ASSERT_TRUE(log.Open(LogPath(), QString(), &error));
  EXPECT_TRUE(WriteSessionLogHeader(log, QStringLiteral("900123456"),
                                    QStringLiteral("Efficient SS56660 dhcp"),
                                    QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))));
  ASSERT_TRUE(log.Close(&error));
  EXPECT_EQ(platform_.Read(QStringLiteral("Logs/900123456.log")),
            QByteArray("Sesi\xf3n de configuraci\xf3n\r\n"
                       "=======================\r\n"
                       "\r\n"
                       "\r\n"
                       "Abonado: 900123456\r\n"
                       "Tipo de configuraci\xf3n: Efficient SS56660 dhcp\r\n"
                       "Fecha: 05/03/2024 14:07:09\r\n"
                       "\r\n"
                       "-- Comienzo de detalle de sesi\xf3n --\r\n"
                       "\r\n"));
}

TEST_F(SessionLogTest, AccessPasswordNeverReachesTheFile) {
  ASSERT_TRUE(EnsureLogsDirectory());
  QString error;
  {
    SessionLog log;
    ASSERT_TRUE(log.Open(LogPath(), QStringLiteral("se\u00f1al"), &error));
    log.WriteDialogue(QByteArray("Password: se\xf1" "al\r\nLogin incorrect\r\nPassword: se\xf1" "al"));
    log.WriteText(QStringLiteral("Abonado: 900123456"));
  }
  EXPECT_EQ(platform_.Read(QStringLiteral("Logs/900123456.log")),
            QByteArray("Password: ********\r\nLogin incorrect\r\nPassword: ********\r\n"
                       "Abonado: 900123456\r\n"));

  // A new session replaces the old log; an empty password hides nothing.
  SessionLog log;
  ASSERT_TRUE(log.Open(LogPath(), QString(), &error));
  log.WriteDialogue(QByteArray("Command-> "));
  ASSERT_TRUE(log.Close(&error));
  EXPECT_EQ(platform_.Read(QStringLiteral("Logs/900123456.log")), QByteArray("Command-> \r\n"));
}

TEST_F(SessionLogTest, AShortPasswordIsMaskedInTheDialogueButLeavesTheProgramsLinesReadable) {
  ASSERT_TRUE(EnsureLogsDirectory());
  QString error;
  SessionLog log;
  ASSERT_TRUE(log.Open(LogPath(), QStringLiteral("1"), &error));
  (void)WriteSessionLogHeader(log, QStringLiteral("911111111"), QStringLiteral("Speed Touch Pro dhcp"),
                              QDateTime(QDate(2024, 11, 1), QTime(11, 1, 1)));
  log.WriteDialogue(QByteArray("=>user config password=1\r\n=>"));
  ASSERT_TRUE(log.Close(&error));
  const QByteArray written = platform_.Read(QStringLiteral("Logs/900123456.log"));
  EXPECT_TRUE(written.contains("Abonado: 911111111\r\n"));
  EXPECT_TRUE(written.contains("Fecha: 01/11/2024 11:01:01\r\n"));
  EXPECT_TRUE(written.endsWith("=>user config password=********\r\n=>\r\n"));
}

TEST_F(SessionLogTest, LogsDirectoryIsMadeOnceAndAFailureIsShown) {
  EXPECT_TRUE(EnsureLogsDirectory());
  EXPECT_TRUE(EnsureLogsDirectory());
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
  SessionLog log;
  QString error;
  EXPECT_FALSE(log.Open(platform_.PathOf(QStringLiteral("Logs/no/such.log")), QString(), &error));
  EXPECT_FALSE(error.isEmpty());
  EXPECT_FALSE(log.IsOpen());
}

}  // namespace
