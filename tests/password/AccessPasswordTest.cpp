#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/Def_Globales.h"
#include "password/AccessPassword.h"
#include "support/TestPlatform.h"

using platform::MsgIcon;
using testing_support::TestPlatform;

namespace {

class AccessPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override { SetStartupValues(); }
  TestPlatform platform_;
};

TEST_F(AccessPasswordTest, NoFileMeansTheDefaultPassword) {
  ServiceSettings.AccessPassword = "otra";
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

TEST_F(AccessPasswordTest, OnlyTheFirstLineIsTakenAndAnEmptyFileGivesAnEmptyPassword) {
  platform_.Write("claves.dat", "Primera\r\nsegunda\r\n");
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "Primera");
  platform_.Write("claves.dat", "");
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "");
  platform_.Write("claves.dat", "\r\n");
  ServiceSettings.AccessPassword = "x";
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "");
}

TEST_F(AccessPasswordTest, AnUnreadableFileKeepsThePasswordAndSaysWhy) {
  ASSERT_TRUE(QFile::link("/proc/self/mem", platform_.PathOf("claves.dat")));
  ServiceSettings.AccessPassword = "vigente";
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "vigente");
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0].title, "Error");
  EXPECT_EQ(platform_.boxes.shown[0].icon, MsgIcon::Critical);
}

TEST_F(AccessPasswordTest, SavedPasswordIsOneWindowsLineReadableByTheOwnerOnly) {
  ASSERT_TRUE(SaveAccessPassword(QString::fromUtf8("Año2024")));
  EXPECT_EQ(platform_.Read("claves.dat"), QByteArray("A\xF1o2024\r\n"));
  struct stat st {};
  ASSERT_EQ(stat(QFile::encodeName(platform_.PathOf("claves.dat")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, QString::fromUtf8("Año2024"));

  ASSERT_TRUE(SaveAccessPassword(""));
  EXPECT_EQ(platform_.Read("claves.dat"), QByteArray("\r\n"));
}

TEST_F(AccessPasswordTest, AFailedSaveLeavesTheOldFile) {
  ASSERT_TRUE(SaveAccessPassword("antigua"));
  platform::FixedAppDirectory blocked(platform_.PathOf("claves.dat"));  // a file, not a folder
  platform::Current().appDirectory = &blocked;
  EXPECT_FALSE(SaveAccessPassword("nueva"));
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(platform_.boxes.shown[0].title.isEmpty());
  EXPECT_EQ(platform_.Read("claves.dat"), QByteArray("antigua\r\n"));
}

TEST_F(AccessPasswordTest, ConfirmationMustMatchExactlyIncludingLetterCase) {
  EXPECT_TRUE(PasswordsMatch("Clave", "Clave"));
  EXPECT_FALSE(PasswordsMatch("Clave", "clave"));
  EXPECT_FALSE(PasswordsMatch("", "x"));
  EXPECT_TRUE(PasswordsMatch("", ""));
}

}  // namespace
