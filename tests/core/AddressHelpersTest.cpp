#include <gtest/gtest.h>

#include <QDir>

#include "config/ConfigExamples.h"
#include "config/DerivedAddresses.h"
#include "config/SaveConfiguration.h"
#include "core/AddressHelpers.h"
#include "support/TestPlatform.h"

namespace {

// Every place a prefix length is taken from a mask: the helper itself, the derived
// user and modem prefixes of the files, and the Pro's refusal of a mask under 24
// bits. Masks whose first two octets differ catch an octet read in place of another.
TEST(AddressHelpersTest, PrefixLengthCountsOnlyTheLeadingRunOfOnesOfEveryOctetInItsPlace) {
  testing_support::TestPlatform platform;
  const struct {
    const char* mask;
    int prefix;
  } masks[] = {
      {"255.255.255.240", 28}, {"255.255.255.255", 32}, {"0.0.0.0", 0},         {"255.0.255.0", 8},
      {"254.255.255.255", 7},  {"255.255.0.255", 16},   {"255.192.0.0", 10},    {"255.254.0.0", 15},
      {"255.254.255.255", 15}, {"255.255.254.255", 23}, {"255.255.255.007", 24},  // leading zeros by value
      {"255.255.256.0", 16},   // an octet out of range counts as 0
  };
  const int count = static_cast<int>(std::size(masks));
  for (int k = 0; k < count; ++k) {
    const auto& row = masks[k];
    const auto& next = masks[(k + 1) % count];
    SCOPED_TRACE(row.mask);
    const TypedQuad quad = config_examples::Quad(row.mask);
    EXPECT_EQ(MaskPrefixLength(quad[0], quad[1], quad[2], quad[3]), row.prefix);
    SubscriberData data = config_examples::Subscriber(DataScreen::Dhcp, kSpeedTouchPro, "192.0.2.13", row.mask,
                                                      "10.1.1.6", next.mask);
    const DerivedAddresses derived = DeriveAddresses(data, config_examples::EfficientSettings());
    EXPECT_EQ(derived.UserPrefixLength, row.prefix);
    EXPECT_EQ(derived.ModemPrefixLength, next.prefix);
    data.ModemMask = quad;
    EXPECT_EQ(ValidateSubscriberData(data, DataScreen::Dhcp, kSpeedTouchPro, config_examples::EfficientSettings()),
              row.prefix >= 24);
  }
}

// Which phones may name a file is proven where the files are saved and loaded.
TEST(AddressHelpersTest, ConfigFileExistsOnlyForARegularFile) {
  testing_support::TestPlatform platform;
  EXPECT_FALSE(ConfigFileExists("900123456"));  // no Configuraciones at all
  ASSERT_TRUE(QDir(platform.Dir()).mkpath("Configuraciones/900123456.cfg"));
  EXPECT_FALSE(ConfigFileExists("900123456"));  // a directory of that name
  platform.Write("Configuraciones/.cfg", "x\r\n");
  EXPECT_TRUE(ConfigFileExists(""));
  EXPECT_TRUE(platform.boxes.shown.isEmpty());
}

}  // namespace
