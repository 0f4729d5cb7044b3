#include <gtest/gtest.h>

#include "ConfigExamples.h"
#include "config/DerivedAddresses.h"
#include "config/Generators.h"

using namespace config_examples;

namespace {

// Typed texts are copied as typed; computed addresses read them as decimal and are
// written without the leading zeros.
TEST(TypedAndComputedOctets, TypedTextsAreCopiedAndComputedOnesReformatted) {
  SubscriberData data = EfficientSubscriber(DataScreen::Dhcp);
  data.UserIp = Quad("192.0.2.013");
  data.ModemIp = Quad("010.1.1.6");
  const QStringList lines = GenerateEfficientDhcp(data, EfficientSettings());
  EXPECT_EQ(lines.value(4), QStringLiteral("IP del Usuario: 192.0.2.013"));
  EXPECT_EQ(lines.value(10), QStringLiteral("Dirección remota del SABA: 10.1.1.5"));
  EXPECT_EQ(lines.value(28), QStringLiteral("set dhcpcfg server 192.0.2.013 255.255.255.248 "
                                            "192.0.2.013 192.0.2.9 192.0.2.53 0.0.0.0 0.0.0.0 "
                                            "0.0.0.0 zelvora none server 60"));
}

// The word tests Estandar first, the traffic figure Class first, so the two can
// disagree when more than one option is set (where each is written: the golden files).
TEST(Modality, WordAndTrafficFigureTestTheOptionsInTheirOwnOrder) {
  const struct {
    bool estandar, clase, premium;
    const char* word;
    int scr;
  } cases[] = {
      {true, false, false, "Estandar", 301}, {false, true, false, "Class", 301},
      {false, false, true, "Premium", 707},  {true, false, true, "Estandar", 707},
      {false, true, true, "Class", 301},     {true, true, false, "Estandar", 301},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.estandar << c.clase << c.premium);
    SubscriberData data = EfficientSubscriber(DataScreen::Dhcp);
    Select(data, c.estandar, c.clase, c.premium);
    EXPECT_EQ(ModalityWord(data), QString::fromLatin1(c.word));
    EXPECT_EQ(DeriveAddresses(data, EfficientSettings()).Scr, c.scr);
  }
}

}  // namespace
