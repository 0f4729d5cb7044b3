#include <gtest/gtest.h>

#include <QDir>

#include "ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "support/TestPlatform.h"

using namespace config_examples;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

SubscriberData WithModality(SubscriberData data, bool estandar, bool clase, bool premium) {
  Select(data, estandar, clase, premium);
  return data;
}

TEST(GoldenFiles, EachModelAndModeSavesTheReferenceBytes) {
  const auto dhcp = DataScreen::Dhcp;
  const auto napt = DataScreen::Napt;
  const struct {
    const char* reference;
    DataScreen screen;
    std::int16_t model;
    SubscriberData data;
    ServiceSettingsRecord settings;
    qsizetype lineCount;
  } cases[] = {
      {"efficient-dhcp.ref", dhcp, kEfficientSS5660, EfficientSubscriber(dhcp), EfficientSettings(), 37},
      {"efficient-napt.ref", napt, kEfficientSS5660, EfficientSubscriber(napt), EfficientSettings(), 41},
      {"office-dhcp.ref", dhcp, kSpeedTouchOffice,
       WithModality(AlcatelDhcpSubscriber(kSpeedTouchOffice), false, false, true), AlcatelSettings(), 61},
      {"office-napt.ref", napt, kSpeedTouchOffice, AlcatelNaptSubscriber(kSpeedTouchOffice), AlcatelSettings(), 55},
      {"pro-dhcp.ref", dhcp, kSpeedTouchPro, WithModality(AlcatelDhcpSubscriber(kSpeedTouchPro), false, true, false),
       AlcatelSettings(), 41},
      {"pro-napt.ref", napt, kSpeedTouchPro, WithModality(AlcatelNaptSubscriber(kSpeedTouchPro), false, false, true),
       AlcatelSettings(), 38},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reference);
    TestPlatform platform;
    ASSERT_TRUE(SaveSubscriberConfiguration(c.data, c.screen, c.model, ModeOf(c.screen), c.settings));
    const QByteArray bytes = platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
    const QByteArray reference = config_examples::Golden(c.reference);
    ASSERT_FALSE(reference.isEmpty());
    EXPECT_EQ(bytes, reference);
    EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{kSaved});
    // Guards the reference files too: every line, the last included, ends with CR LF,
    // and there is no other CR or LF.
    EXPECT_EQ(bytes.count("\r\n"), c.lineCount);
    EXPECT_EQ(bytes.count('\n') + bytes.count('\r'), 2 * c.lineCount);
  }
  // The accented letters are single Windows-1252 bytes on disk.
  const QByteArray efficient = config_examples::Golden("efficient-dhcp.ref");
  EXPECT_TRUE(efficient.startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"));
  EXPECT_TRUE(efficient.contains("\r\nM\xE1scara de gesti\xF3n del m\xF3" "dem: 255.255.255.252\r\n"));
}

}  // namespace
