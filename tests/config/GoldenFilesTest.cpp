#include <gtest/gtest.h>

#include "ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "support/TestPlatform.h"

using namespace config_examples;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

TEST(GoldenFiles, EachModelAndModeSavesTheReferenceBytes) {
  const auto dhcp = DataScreen::Dhcp;
  const auto napt = DataScreen::Napt;
  const struct {
    const char* reference;
    DataScreen screen;
    std::int16_t model;
    bool estandar, clase, premium;
  } cases[] = {
      {"efficient-dhcp.ref", dhcp, kEfficientSS5660, true, false, false},
      {"efficient-napt.ref", napt, kEfficientSS5660, true, false, false},
      {"office-dhcp.ref", dhcp, kSpeedTouchOffice, false, false, true},
      {"office-napt.ref", napt, kSpeedTouchOffice, true, false, false},
      {"pro-dhcp.ref", dhcp, kSpeedTouchPro, false, true, false},
      {"pro-napt.ref", napt, kSpeedTouchPro, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reference);
    TestPlatform platform;
    const bool efficient = c.model == kEfficientSS5660;
    SubscriberData data = efficient ? EfficientSubscriber(c.screen) : AlcatelSubscriber(c.screen, c.model);
    Select(data, c.estandar, c.clase, c.premium);
    ASSERT_TRUE(SaveSubscriberConfiguration(data, c.screen, c.model, ModeOf(c.screen),
                                            efficient ? EfficientSettings() : AlcatelSettings()));
    const QByteArray bytes = platform.Read(QStringLiteral("Configuraciones/900123456.cfg"));
    const QByteArray reference = Golden(c.reference);
    ASSERT_FALSE(reference.isEmpty());
    EXPECT_EQ(bytes, reference);
    EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{kSaved});
    // Guards the reference files too: every line, the last included, ends with CR LF,
    // and there is no other CR or LF (their accents: the save flow's test).
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n') + bytes.count('\r'), 2 * bytes.count("\r\n"));
  }
}

}  // namespace
