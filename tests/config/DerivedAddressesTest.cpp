#include <gtest/gtest.h>

#include "ConfigExamples.h"
#include "config/DerivedAddresses.h"
#include "config/Generators.h"

using namespace config_examples;

namespace {

// File lines are numbered from 1, as a reader of the file counts them.
QString Line(const QStringList& lines, int number) { return lines.value(number - 1); }

TEST(TypedAndComputedOctets, TypedTextsAreCopiedAndComputedOnesReformatted) {
  SubscriberData data = EfficientSubscriber(DataScreen::Dhcp);
  data.UserIp = Quad("192.0.2.013");
  data.ModemIp = Quad("010.1.1.6");
  const QStringList lines = GenerateEfficientDhcp(data, EfficientSettings());
  EXPECT_EQ(Line(lines, 5), QStringLiteral("IP del Usuario: 192.0.2.013"));
  EXPECT_EQ(Line(lines, 7), QStringLiteral("IP de gestión del módem: 010.1.1.6"));
  EXPECT_EQ(Line(lines, 9), QStringLiteral("Dirección Lan del ATU-R: 192.0.2.9"));
  EXPECT_EQ(Line(lines, 11), QStringLiteral("Dirección remota del SABA: 10.1.1.5"));
  EXPECT_EQ(Line(lines, 29), QStringLiteral("set dhcpcfg server 192.0.2.013 255.255.255.248 "
                                            "192.0.2.013 192.0.2.9 192.0.2.53 0.0.0.0 0.0.0.0 "
                                            "0.0.0.0 zelvora none server 60"));
  EXPECT_EQ(Line(lines, 31), QStringLiteral("set vc 1483r 8 32 llc max 010.1.1.6 255.255.255.252"));
}

TEST(TypedAndComputedOctets, ProPrefixCountsOnlyTheLeadingOnes) {
  SubscriberData data = AlcatelDhcpSubscriber(kSpeedTouchPro);
  data.UserMask = Quad("255.255.0.255");
  const QStringList lines = GenerateProDhcp(data, AlcatelSettings());
  EXPECT_EQ(Line(lines, 6), QStringLiteral("Máscara del Usuario: 255.255.0.255"));
  EXPECT_EQ(Line(lines, 31), QStringLiteral("ip apadd addr=192.0.0.67/16 intf=eth0"));
  EXPECT_TRUE(Line(lines, 39).contains(QStringLiteral(" netmask=255.255.0.255 ")));
}

struct EdcCase {
  Octets network;
  Octets mask;
  const char* first;
  const char* last;
};

// The range comes from the stored network as it is: an unaligned network is not
// corrected, and a host mask gives a range that ends before it starts.
TEST(EdcRange, FollowsTheStoredNetworkAndMask) {
  const EdcCase cases[] = {
      {{203, 0, 113, 192}, {255, 255, 255, 240}, "203.0.113.193", "203.0.113.206"},
      {{198, 51, 100, 200}, {255, 255, 255, 240}, "198.51.100.201", "198.51.100.214"},
      {{198, 51, 100, 0}, {255, 255, 255, 0}, "198.51.100.1", "198.51.100.254"},
      {{203, 0, 113, 192}, {255, 255, 255, 255}, "203.0.113.193", "203.0.113.191"},
  };
  for (const EdcCase& c : cases) {
    ServiceSettingsRecord settings = AlcatelSettings();
    settings.EdcNetwork = c.network;
    settings.EdcMask = c.mask;
    const QString first = QString::fromLatin1(c.first);
    const QString last = QString::fromLatin1(c.last);
    const QStringList lines =
        GenerateOfficeNapt(AlcatelNaptSubscriber(kSpeedTouchOffice), settings);
    SCOPED_TRACE(c.first);
    EXPECT_EQ(Line(lines, 12), QStringLiteral("Dirección de inicio de gestión de EDC's: ") + first);
    EXPECT_EQ(Line(lines, 13), QStringLiteral("Dirección de fin de gestión de EDC's: ") + last);
    EXPECT_EQ(Line(lines, 23),
              QStringLiteral("system addTelnetFilter ") + first + QLatin1Char(' ') + last);
  }
}

struct ModalityCase {
  bool estandar, clase, premium;
  const char* word;
  const char* scr;
};

// The modality word looks at Estandar first, the traffic figure at Class first, so
// the two can disagree when more than one option is set.
TEST(Modality, WordAndTrafficFigureTestTheOptionsInTheirOwnOrder) {
  const ModalityCase cases[] = {
      {true, false, false, "Estandar", "301"}, {false, true, false, "Class", "301"},
      {false, false, true, "Premium", "707"},  {true, false, true, "Estandar", "707"},
      {false, true, true, "Class", "301"},     {true, true, false, "Estandar", "301"},
  };
  for (const ModalityCase& c : cases) {
    SubscriberData data = AlcatelDhcpSubscriber(kSpeedTouchOffice);
    Select(data, c.estandar, c.clase, c.premium);
    const QStringList lines = GenerateOfficeDhcp(data, AlcatelSettings());
    SCOPED_TRACE(c.word);
    EXPECT_EQ(Line(lines, 18), QStringLiteral("SCR: ") + QString::fromLatin1(c.scr));
    EXPECT_EQ(Line(lines, 22), QString::fromLatin1(c.word));
    EXPECT_EQ(Line(lines, 57),
              QStringLiteral("remote setatmtraffic %1 1 WAN1").arg(QString::fromLatin1(c.scr)));
  }
}

// Only the modality line follows the option, except the Office's traffic figure
// for Premium.
TEST(Modality, ChangesNothingButItsLineOutsideTheOfficePremiumFigure) {
  for (const std::int16_t model : {kSpeedTouchOffice, kSpeedTouchPro, kEfficientSS5660}) {
    for (const DataScreen screen : {DataScreen::Dhcp, DataScreen::Napt}) {
      const ConfigGenerator generate = GeneratorFor(screen, model);
      SubscriberData data = EfficientSubscriber(screen);
      const QStringList estandar = generate(data, EfficientSettings());
      for (const bool premium : {false, true}) {
        Select(data, false, !premium, premium);
        QStringList other = generate(data, EfficientSettings());
        ASSERT_EQ(other.size(), estandar.size());
        const int modalityLine = screen == DataScreen::Dhcp ? 22 : 20;
        EXPECT_EQ(Line(other, modalityLine),
                  premium ? QStringLiteral("Premium") : QStringLiteral("Class"));
        other[modalityLine - 1] = Line(estandar, modalityLine);
        if (premium && model == kSpeedTouchOffice) continue;
        EXPECT_EQ(other, estandar) << "model " << model << " premium " << premium;
      }
    }
  }
}

}  // namespace
