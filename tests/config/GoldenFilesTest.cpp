#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "support/TestPlatform.h"

using namespace config_examples;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

// The expected files sit beside this test, as the bytes that go to disk.
QByteArray Reference(const char* name) {
  const QDir data(QFileInfo(QString::fromUtf8(__FILE__)).absolutePath() + QStringLiteral("/data"));
  QFile file(data.filePath(QString::fromLatin1(name)));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

struct Variant {
  const char* name;
  const char* reference;
  DataScreen screen;
  std::int16_t model;
  SubscriberData data;
  ServiceSettingsRecord settings;
  qsizetype lineCount;
};

void PrintTo(const Variant& variant, std::ostream* os) { *os << variant.name; }

SubscriberData WithModality(SubscriberData data, bool estandar, bool clase, bool premium) {
  Select(data, estandar, clase, premium);
  return data;
}

std::vector<Variant> Variants() {
  const auto dhcp = DataScreen::Dhcp;
  const auto napt = DataScreen::Napt;
  return {
      {"EfficientDhcp", "efficient-dhcp.ref", dhcp, kEfficientSS5660, EfficientSubscriber(dhcp), EfficientSettings(),
       37},
      {"EfficientNapt", "efficient-napt.ref", napt, kEfficientSS5660, EfficientSubscriber(napt), EfficientSettings(),
       41},
      {"OfficeDhcp", "office-dhcp.ref", dhcp, kSpeedTouchOffice,
       WithModality(AlcatelDhcpSubscriber(kSpeedTouchOffice), false, false, true), AlcatelSettings(), 61},
      {"OfficeNapt", "office-napt.ref", napt, kSpeedTouchOffice, AlcatelNaptSubscriber(kSpeedTouchOffice),
       AlcatelSettings(), 55},
      {"ProDhcp", "pro-dhcp.ref", dhcp, kSpeedTouchPro,
       WithModality(AlcatelDhcpSubscriber(kSpeedTouchPro), false, true, false), AlcatelSettings(), 41},
      {"ProNapt", "pro-napt.ref", napt, kSpeedTouchPro,
       WithModality(AlcatelNaptSubscriber(kSpeedTouchPro), false, false, true), AlcatelSettings(), 38},
  };
}

class GoldenFileTest : public ::testing::TestWithParam<Variant> {};

TEST_P(GoldenFileTest, SaveWritesTheReferenceBytes) {
  const Variant& v = GetParam();
  TestPlatform platform;
  ASSERT_TRUE(SaveSubscriberConfiguration(v.data, v.screen, v.model, ModeOf(v.screen), v.settings));
  const QByteArray bytes = platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
  const QByteArray reference = Reference(v.reference);
  ASSERT_FALSE(reference.isEmpty()) << v.reference;
  EXPECT_EQ(bytes, reference);
  EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{kSaved});
  // Guards the reference files too: every line, the last included, ends with CR LF,
  // and there is no other CR or LF.
  EXPECT_EQ(bytes.count("\r\n"), v.lineCount);
  EXPECT_EQ(bytes.count('\n') + bytes.count('\r'), 2 * v.lineCount);
}

// The accented letters are single Windows-1252 bytes on disk.
TEST(SavedFileBytes, AreWindows1252) {
  const QByteArray bytes = Reference("efficient-dhcp.ref");
  EXPECT_TRUE(bytes.startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"));
  EXPECT_TRUE(bytes.contains("\r\nM\xE1scara de gesti\xF3n del m\xF3" "dem: 255.255.255.252\r\n"));
}

INSTANTIATE_TEST_SUITE_P(AllVariants, GoldenFileTest, ::testing::ValuesIn(Variants()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
