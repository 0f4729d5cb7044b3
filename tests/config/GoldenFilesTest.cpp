#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ConfigExamples.h"
#include "config/Generators.h"
#include "config/SaveConfiguration.h"
#include "platform/TextFile.h"
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
  ConfigGenerator generator;
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
  return {
      {"EfficientDhcp", "efficient-dhcp.ref", DataScreen::Dhcp, kEfficientSS5660,
       GenerateEfficientDhcp, EfficientSubscriber(DataScreen::Dhcp), EfficientSettings(), 37},
      {"EfficientNapt", "efficient-napt.ref", DataScreen::Napt, kEfficientSS5660,
       GenerateEfficientNapt, EfficientSubscriber(DataScreen::Napt), EfficientSettings(), 41},
      {"OfficeDhcp", "office-dhcp.ref", DataScreen::Dhcp, kSpeedTouchOffice, GenerateOfficeDhcp,
       WithModality(AlcatelDhcpSubscriber(kSpeedTouchOffice), false, false, true),
       AlcatelSettings(), 61},
      {"OfficeNapt", "office-napt.ref", DataScreen::Napt, kSpeedTouchOffice, GenerateOfficeNapt,
       AlcatelNaptSubscriber(kSpeedTouchOffice), AlcatelSettings(), 55},
      {"ProDhcp", "pro-dhcp.ref", DataScreen::Dhcp, kSpeedTouchPro, GenerateProDhcp,
       WithModality(AlcatelDhcpSubscriber(kSpeedTouchPro), false, true, false), AlcatelSettings(),
       41},
      {"ProNapt", "pro-napt.ref", DataScreen::Napt, kSpeedTouchPro, GenerateProNapt,
       WithModality(AlcatelNaptSubscriber(kSpeedTouchPro), false, false, true), AlcatelSettings(),
       38},
  };
}

class GoldenFileTest : public ::testing::TestWithParam<Variant> {};

TEST_P(GoldenFileTest, GeneratorWritesTheReferenceLines) {
  const Variant& v = GetParam();
  const QByteArray reference = Reference(v.reference);
  ASSERT_FALSE(reference.isEmpty()) << v.reference;
  const QStringList lines = v.generator(v.data, v.settings);
  EXPECT_EQ(lines.size(), v.lineCount);
  EXPECT_EQ(lines, platform::DecodeLines(reference));
  EXPECT_EQ(GeneratorFor(v.screen, v.model), v.generator);
}

TEST_P(GoldenFileTest, SaveWritesTheReferenceBytes) {
  const Variant& v = GetParam();
  TestPlatform platform;
  ASSERT_TRUE(SaveSubscriberConfiguration(v.data, v.screen, v.model, ModeOf(v.screen), v.settings));
  EXPECT_EQ(platform.Read(QStringLiteral("Configuraciones/900123456.cfg")), Reference(v.reference));
  const ShownBox saved{QStringLiteral("Fichero de configuración almacenado"),
                       QStringLiteral("Salvar..."), platform::MsgIcon::Information,
                       platform::MsgButtons::Ok};
  EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{saved});
}

INSTANTIATE_TEST_SUITE_P(AllVariants, GoldenFileTest, ::testing::ValuesIn(Variants()),
                         [](const auto& info) { return std::string(info.param.name); });

// Guards the reference files too: the accented letters are single Windows-1252
// bytes and every line, the last included, ends with CR LF.
TEST(SavedFileBytes, AreWindows1252WithCrLf) {
  TestPlatform platform;
  ASSERT_TRUE(SaveSubscriberConfiguration(EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp,
                                          kEfficientSS5660, true, EfficientSettings()));
  const QByteArray bytes = platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
  EXPECT_TRUE(
      bytes.startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"
                       "-------------------------------\r\n"));
  EXPECT_TRUE(
      bytes.contains("\r\nM\xE1scara de gesti\xF3n del m\xF3"
                     "dem: 255.255.255.252\r\n"));
  EXPECT_TRUE(bytes.endsWith("\r\nreboot\r\ny\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), 37);
  EXPECT_EQ(bytes.count('\n'), 37);
  EXPECT_EQ(bytes.count('\r'), 37);
}

}  // namespace
