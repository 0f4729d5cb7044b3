#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>

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

// A hand-edited file: blanks around numbers, an octet out of range but a 16-bit number,
// both ends of the 16-bit range, and no two fields alike, so that none passes for another.
const QList<QByteArray> kSeventeen = {" 4 ", "300", "1", "113", "192", "255", "254", "128", "0",
                                      "198", "51", "100", "7", "8", "\t-32768 ", "6", "32767"};
const QList<int> kSeventeenValues = {4, 300, 1, 113, 192, 255, 254, 128, 0, 198, 51, 100, 7, 8, -32768, 6, 32767};

// Every field of the record, in file order.
std::array<std::int16_t*, 17> Fields() {
  auto& s = ServiceSettings;
  return {&s.ComPort,      &s.EdcNetwork[0], &s.EdcNetwork[1], &s.EdcNetwork[2],    &s.EdcNetwork[3],
          &s.EdcMask[0],   &s.EdcMask[1],    &s.EdcMask[2],    &s.EdcMask[3],       &s.DnsServer[0],
          &s.DnsServer[1], &s.DnsServer[2],  &s.DnsServer[3],  &s.AtmCircuit.Vpi,   &s.AtmCircuit.Vci,
          &s.PhoneMinDigits, &s.PhoneMaxDigits};
}

QList<int> Values() {
  QList<int> values;
  for (const std::int16_t* field : Fields()) values << *field;
  return values;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetStartupValues();
    for (std::int16_t* field : Fields()) *field = 77;
  }

  // A message box with the exclamation icon and the application's title.
  static ShownBox Warning(const QString& text) {
    return {text, QString(), MsgIcon::Exclamation, platform::MsgButtons::Ok};
  }

  TestPlatform platform_;
};

// A directory of that name counts as absent: the defaults, silently, and the port reset.
TEST_F(SettingsFileTest, AbsentFileGivesDefaultsSilentlyAndResetsThePort) {
  ASSERT_TRUE(QDir(platform_.Dir()).mkdir("conf_gen.dat"));
  EXPECT_TRUE(LoadServiceSettings());
  const Octets& edc = kOperatorEdcNetwork;
  const Octets& dns = kOperatorDnsServer;
  EXPECT_EQ(Values(), (QList<int>{1, edc[0], edc[1], edc[2], edc[3], 255, 255, 255, 240, dns[0], dns[1], dns[2],
                                  dns[3], 8, 32, 9, 9}));
  EXPECT_EQ(ServiceSettings.AccessPassword, "tarnimol");  // passwords are not touched
  EXPECT_TRUE(platform_.boxes.shown.isEmpty());
}

// Each line is stored as it is read: a failure keeps the fields before it and leaves
// the later ones as they were, with one warning saying why.
TEST_F(SettingsFileTest, ReadingStopsAtTheFirstBadLineKeepingWhatCameBefore) {
  const struct {
    const char* situation;
    int line;          // the line changed (0 = the first); 17 adds one
    const char* text;  // nullptr: the file ends before `line`
    int taken;         // fields filled from the file
    const char* box;   // nullptr: read whole, no warning
  } cases[] = {
      {"a whole file and a line after it", 17, "garbage after the seventeenth line", 17, nullptr},
      {"the file ends after sixteen lines", 16, nullptr, 16, platform::kEndOfFileText},
      {"an empty second mask octet", 6, "", 6, platform::kNotANumberText},
      {"a lone sign", 13, "-", 13, platform::kNotANumberText},
      {"a fraction", 13, "1.5", 13, platform::kNotANumberText},
      {"hexadecimal", 13, "0x10", 13, platform::kNotANumberText},
      {"one past the largest", 13, "32768", 13, platform::kOverflowText},
      {"one past the smallest", 13, "-32769", 13, platform::kOverflowText},
      {"twenty digits", 13, "99999999999999999999", 13, platform::kOverflowText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    SetUp();
    platform_.boxes.shown.clear();
    QList<QByteArray> lines = kSeventeen.mid(0, c.text ? 17 : c.line);
    if (c.text) {
      lines.resize(std::max<qsizetype>(lines.size(), c.line + 1));
      lines[c.line] = c.text;
    }
    platform_.Write("conf_gen.dat", lines.join("\r\n") + "\r\n");
    EXPECT_EQ(LoadServiceSettings(), c.box == nullptr);
    QList<int> expected = kSeventeenValues.mid(0, c.taken);
    while (expected.size() < 17) expected << 77;
    EXPECT_EQ(Values(), expected);
    EXPECT_EQ(platform_.boxes.shown, c.box ? QList<ShownBox>{Warning(QString::fromUtf8(c.box))} : QList<ShownBox>{});
  }
}

// Root reads anything, so make the read itself fail: this regular file has no
// readable byte at offset 0.
TEST_F(SettingsFileTest, AnUnreadableFileIsReportedOnceWithItsDescription) {
  ASSERT_TRUE(QFile::link("/proc/self/mem", platform_.PathOf("conf_gen.dat")));
  EXPECT_FALSE(LoadServiceSettings());
  EXPECT_EQ(Values(), QList<int>(17, 77));
  EXPECT_EQ(platform_.boxes.shown, QList<ShownBox>{Warning(platform::DescribeSystemError(EIO))});
}

}  // namespace
