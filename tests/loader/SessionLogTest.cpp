#include <gtest/gtest.h>

#include "loader/DialogueBox.h"
#include "loader/LoaderTestSupport.h"
#include "loader/SessionLog.h"
#include "platform/Cp1252.h"
#include "support/TestPlatform.h"

using testing_support::TestPlatform;

namespace {

class SessionLogTest : public ::testing::Test {
 protected:
  [[nodiscard]] QString LogPath() const { return platform_.PathOf(QStringLiteral("Logs/900123456.log")); }

  TestPlatform platform_;
};

// A one-character password, given in Windows-1252, is masked in the dialogue but
// leaves the program's own lines, full of that character, readable.
TEST_F(SessionLogTest, HeaderLinesInWindows1252WithCrLfAndAShortPasswordMaskedOnlyInTheDialogue) {
  ASSERT_TRUE(EnsureLogsDirectory());
  {  // left open: the log is kept when it goes
    SessionLog log;
    QString error;
    ASSERT_TRUE(log.Open(LogPath(), QStringLiteral("\u00f3"), &error));
    EXPECT_TRUE(WriteSessionLogHeader(log, QStringLiteral("911111111"), QStringLiteral("Speed Touch Pro dhcp"),
                                      QDateTime(QDate(2024, 11, 1), QTime(11, 1, 1))));
    log.WriteDialogue(QByteArray("=>user config password=\xf3\r\n=>"));
  }
  EXPECT_EQ(platform_.Read(QStringLiteral("Logs/900123456.log")),
            QByteArray("Sesi\xf3n de configuraci\xf3n\r\n"
                       "=======================\r\n"
                       "\r\n"
                       "\r\n"
                       "Abonado: 911111111\r\n"
                       "Tipo de configuraci\xf3n: Speed Touch Pro dhcp\r\n"
                       "Fecha: 01/11/2024 11:01:01\r\n"
                       "\r\n"
                       "-- Comienzo de detalle de sesi\xf3n --\r\n"
                       "\r\n"
                       "=>user config password=********\r\n=>\r\n"));
}

// The loading screen shows the password masked as the log writes it, wherever the
// modem's reads cut the dialogue: not even a piece of it shows for a moment.
TEST(DialogueBoxTest, ThePasswordNeverShowsOnScreenWhereverAReadEnds) {
  const QByteArray dialogue = "Password: tarnimol\r\nOffice# system admin tarnimal\r\nOffice# ";
  const PasswordMask mask{"tarnimol", "system admin "};
  const QString masked = platform::FromCp1252(MaskPassword("Login: " + dialogue, mask));
  for (qsizetype first = 1; first < dialogue.size(); ++first) {
    for (qsizetype second = first; second < dialogue.size(); second += 3) {
      loader_testing::RecordingView view;
      DialogueBox box;
      box.AttachView(&view);
      box.SetPasswordMask(mask);
      box.Replace("Login: ");
      for (const QByteArray& read : {dialogue.left(first), dialogue.mid(first, second - first), dialogue.mid(second)}) {
        box.Append(read);
        ASSERT_FALSE(view.dialogue.contains(QStringLiteral("ta"))) << first << " " << second;
      }
      ASSERT_EQ(view.dialogue, masked) << first << " " << second;
    }
  }
}

}  // namespace
