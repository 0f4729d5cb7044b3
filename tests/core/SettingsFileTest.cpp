#include <sys/resource.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "platform/ErrorText.h"
#include "support/TestPlatform.h"

using platform::MsgIcon;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

const QStringList kSixteenTexts = {"203", "0", "113", "192", "255", "255", "255", "240",
                                   "198", "51", "100", "7", "8", "35", "6", "11"};

QByteArray FileOf(const QList<QByteArray>& lines) {
  QByteArray bytes;
  for (const auto& line : lines) bytes += line + "\r\n";
  return bytes;
}

const QList<QByteArray> kSeventeen = {" 4 ", "203", "0", "113", "192", "255", "255", "255", "0",
                                      "198", "51", "100", "7", "8", "35", "6", "11"};

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SetStartupValues(); }

  // A message box with the exclamation icon and the application's title.
  ShownBox Warning(const QString& text) const { return {text, QString(), MsgIcon::Exclamation, platform::MsgButtons::Ok}; }

  // VPI, VCI and the phone's digit limits.
  static QList<int> Numbers() {
    return {ServiceSettings.AtmCircuit.Vpi, ServiceSettings.AtmCircuit.Vci, ServiceSettings.PhoneMinDigits,
            ServiceSettings.PhoneMaxDigits};
  }

  TestPlatform platform_;
};

// A directory of that name counts as absent.
TEST_F(SettingsFileTest, AbsentFileGivesDefaultsSilentlyAndResetsThePort) {
  for (const bool directory : {false, true}) {
    if (directory) {
      ASSERT_TRUE(QDir(platform_.Dir()).mkdir("conf_gen.dat"));
    }
    ServiceSettings.ComPort = 5;
    ServiceSettings.AtmCircuit = {1, 2};
    EXPECT_TRUE(LoadServiceSettings());
    EXPECT_EQ(ServiceSettings.ComPort, 1);
    EXPECT_EQ(ServiceSettings.EdcMask, (Octets{255, 255, 255, 240}));
    EXPECT_EQ(ServiceSettings.EdcNetwork, kOperatorEdcNetwork);
    EXPECT_EQ(ServiceSettings.DnsServer, kOperatorDnsServer);
    EXPECT_EQ(Numbers(), (QList<int>{8, 32, 9, 9}));
    EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");  // passwords are not touched
  }
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

TEST_F(SettingsFileTest, SaveThenLoadGivesBackEveryField) {
  ServiceSettings.ComPort = 12;
  ASSERT_TRUE(SaveServiceSettings(kSixteenTexts));
  EXPECT_TRUE(platform_.Read("conf_gen.dat").startsWith(" 12 \r\n203\r\n0\r\n113\r\n"));
  EXPECT_TRUE(platform_.Read("conf_gen.dat").endsWith("\r\n6\r\n11\r\n"));

  SetStartupValues();
  ASSERT_TRUE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.ComPort, 12);
  EXPECT_EQ(ServiceSettings.EdcNetwork, (Octets{203, 0, 113, 192}));
  EXPECT_EQ(ServiceSettings.EdcMask, (Octets{255, 255, 255, 240}));
  EXPECT_EQ(ServiceSettings.DnsServer, (Octets{198, 51, 100, 7}));
  EXPECT_EQ(Numbers(), (QList<int>{8, 35, 6, 11}));
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

TEST_F(SettingsFileTest, BlanksAroundNumbersAreIgnoredAndExtraLinesTooAndHandEditedValuesTaken) {
  auto lines = kSeventeen;
  lines[0] = "2";
  lines[1] = "300";  // out of octet range, but a 16-bit number: taken as it stands
  lines << "garbage after the seventeenth line";
  platform_.Write("conf_gen.dat", FileOf(lines));
  EXPECT_TRUE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.ComPort, 2);
  EXPECT_EQ(ServiceSettings.EdcNetwork[0], 300);
  EXPECT_EQ(ServiceSettings.PhoneMaxDigits, 11);
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());

  lines[0] = " 2 ";
  platform_.Write("conf_gen.dat", FileOf(lines));
  ServiceSettings.ComPort = 9;
  EXPECT_TRUE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.ComPort, 2);
}

TEST_F(SettingsFileTest, ASixteenLineFileKeepsTheLastFieldAndSaysTheFileEnded) {
  ServiceSettings.PhoneMaxDigits = 42;
  platform_.Write("conf_gen.dat", FileOf(kSeventeen.mid(0, 16)));
  EXPECT_FALSE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.PhoneMinDigits, 6);  // line 16 was taken
  EXPECT_EQ(ServiceSettings.PhoneMaxDigits, 42);
  EXPECT_EQ(platform_.boxes.shown, QList<ShownBox>{Warning(QString::fromUtf8(platform::kEndOfFileText))});
}

TEST_F(SettingsFileTest, AnEmptyLineStopsReadingThereAndKeepsLaterFields) {
  auto lines = kSeventeen;
  lines[6] = "";  // second mask octet
  const Octets dnsBefore = ServiceSettings.DnsServer;
  ServiceSettings.AtmCircuit.Vpi = 5;
  ServiceSettings.EdcMask = {1, 2, 3, 4};
  platform_.Write("conf_gen.dat", FileOf(lines));
  EXPECT_FALSE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.EdcNetwork, (Octets{203, 0, 113, 192}));
  EXPECT_EQ(ServiceSettings.EdcMask, (Octets{255, 2, 3, 4}));
  EXPECT_EQ(ServiceSettings.DnsServer, dnsBefore);
  EXPECT_EQ(ServiceSettings.AtmCircuit.Vpi, 5);
  EXPECT_EQ(platform_.boxes.shown, QList<ShownBox>{Warning(QString::fromUtf8(platform::kNotANumberText))});
}

TEST_F(SettingsFileTest, NumbersOutsideSixteenBitsOrInOtherNotationsAreRefused) {
  for (const QByteArray bad : {"40000", "-40000", "1.5", "0x10", "1e2", "2 3", "99999999999999999999"}) {
    SCOPED_TRACE(bad.constData());
    platform_.boxes.shown.clear();
    auto lines = kSeventeen;
    lines[13] = bad;  // VPI
    platform_.Write("conf_gen.dat", FileOf(lines));
    ServiceSettings.AtmCircuit.Vpi = 77;
    EXPECT_FALSE(LoadServiceSettings());
    EXPECT_EQ(ServiceSettings.AtmCircuit.Vpi, 77);
    EXPECT_EQ(platform_.boxes.shown.size(), 1);
  }
  std::int16_t value = 0;
  QString error;
  EXPECT_TRUE(ParseSettingsNumber("\t-32768 ", &value, &error));
  EXPECT_EQ(value, -32768);
}

TEST_F(SettingsFileTest, AnUnreadableFileIsReportedOnceWithItsDescription) {
  // Root reads anything, so make the read itself fail: this regular file has no
  // readable byte at offset 0.
  ASSERT_TRUE(QFile::link("/proc/self/mem", platform_.PathOf("conf_gen.dat")));
  ServiceSettings.ComPort = 7;
  EXPECT_FALSE(LoadServiceSettings());
  EXPECT_EQ(ServiceSettings.ComPort, 7);
  ASSERT_EQ(platform_.boxes.shown.size(), 1);
  EXPECT_EQ(platform_.boxes.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(platform_.boxes.shown[0].title.isEmpty());
  EXPECT_FALSE(platform_.boxes.shown[0].text.isEmpty());
}

TEST_F(SettingsFileTest, SavingIntoAMissingDirectoryFailsWithTheDescription) {
  platform::FixedAppDirectory blocked(platform_.PathOf("no-such-folder"));
  platform::Current().appDirectory = &blocked;
  EXPECT_FALSE(SaveServiceSettings(kSixteenTexts));
  EXPECT_EQ(platform_.boxes.shown, QList<ShownBox>{Warning(platform::DescribeSystemError(ENOENT))});
}

TEST_F(SettingsFileTest, AWriteThatFailsHalfwayLeavesTheOldFileWhole) {
  ServiceSettings.ComPort = 3;
  ASSERT_TRUE(SaveServiceSettings(kSixteenTexts));
  const QByteArray before = platform_.Read("conf_gen.dat");

  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tiny = saved;
  tiny.rlim_cur = 10;  // a full disk after ten bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  ServiceSettings.ComPort = 4;
  const bool saved_ok = SaveServiceSettings(kSixteenTexts);
  setrlimit(RLIMIT_FSIZE, &saved);

  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(platform_.Read("conf_gen.dat"), before);
  EXPECT_EQ(platform_.boxes.shown, QList<ShownBox>{Warning(platform::DescribeSystemError(EFBIG))});
  EXPECT_EQ(QDir(platform_.Dir()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no temporary left
}

}  // namespace
