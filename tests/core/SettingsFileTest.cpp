#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "support/TestPlatform.h"

using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetStartupValues(); }
  TestPlatform platform_;
};

TEST_F(SettingsFileTest, AbsentFileGivesDefaultsSilently) {
  ServiceSettings.ComPort = 5;
  EXPECT_TRUE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.ComPort, 1);
  EXPECT_EQ(ServiceSettings.EdcMask, (Octets{255, 255, 255, 240}));
  EXPECT_EQ(ServiceSettings.EdcNetwork, kOperatorEdcNetwork);
  EXPECT_EQ(ServiceSettings.DnsServer, kOperatorDnsServer);
  EXPECT_EQ(ServiceSettings.AtmCircuit.Vpi, 8);
  EXPECT_EQ(ServiceSettings.AtmCircuit.Vci, 32);
  EXPECT_EQ(ServiceSettings.PhoneMinDigits, 9);
  EXPECT_EQ(ServiceSettings.PhoneMaxDigits, 9);
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}
}  // namespace
