#include <gtest/gtest.h>

#include <QFile>

#include <cerrno>

#include "core/Def_Globales.h"
#include "password/AccessPassword.h"
#include "platform/ErrorText.h"
#include "support/TestPlatform.h"

using platform::MsgIcon;
using testing_support::TestPlatform;

namespace {

class AccessPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override { SetStartupValues(); }
  TestPlatform platform_;
};

TEST_F(AccessPasswordTest, NoFileMeansTheDefaultAndOnlyTheFirstLineIsTaken) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "tarnimol"}, {"Primera\r\nsegunda\r\n", "Primera"}, {"", ""}, {"\r\n", ""}};
  for (const auto& [file, password] : cases) {
    SCOPED_TRACE(file ? file : "no file");
    if (file) platform_.Write("claves.dat", file);
    ServiceSettings.AccessPassword = "otra";
    LoadAccessPassword();
    EXPECT_EQ(ServiceSettings.AccessPassword, password);
  }
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

TEST_F(AccessPasswordTest, AnUnreadableFileKeepsThePasswordAndSaysWhy) {
  ASSERT_TRUE(QFile::link("/proc/self/mem", platform_.PathOf("claves.dat")));
  ServiceSettings.AccessPassword = "vigente";
  LoadAccessPassword();
  EXPECT_EQ(ServiceSettings.AccessPassword, "vigente");
  EXPECT_EQ(platform_.boxes.shown, (QList<testing_support::ShownBox>{{platform::DescribeSystemError(EIO),
                                                                      "Error", MsgIcon::Critical,
                                                                      platform::MsgButtons::Ok}}));
}

// Saving, its bytes, its mode, a failed save and matching the confirmation are
// proven through the password screen.

}  // namespace
