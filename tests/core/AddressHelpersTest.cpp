#include <gtest/gtest.h>

#include <QDir>

#include "core/AddressHelpers.h"
#include "support/TestPlatform.h"

namespace {

TEST(AddressHelpersTest, PrefixLengthCountsOnlyTheLeadingRunOfOnes) {
  EXPECT_EQ(MaskPrefixLength("255", "255", "255", "240"), 28);
  EXPECT_EQ(MaskPrefixLength("255", "255", "255", "255"), 32);
  EXPECT_EQ(MaskPrefixLength("0", "0", "0", "0"), 0);
  EXPECT_EQ(MaskPrefixLength("255", "0", "255", "0"), 8);
  EXPECT_EQ(MaskPrefixLength("254", "255", "255", "255"), 7);
  EXPECT_EQ(MaskPrefixLength("255", "255", "0", "255"), 16);
  EXPECT_EQ(MaskPrefixLength("255", "255", "255", "007"), 24);  // leading zeros by value
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
