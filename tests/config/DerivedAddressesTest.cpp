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

// Prefix lengths count the leading ones from the first octet on, and networks are
// masked octet by octet, whichever octet a mask ends in.
TEST(TypedAndComputedOctets, ProNetworksAndPrefixesFollowEveryOctetOfTheMasks) {
  const struct {
    const char* userMask;
    const char* modemMask;
    const char* lan;     // the user network + 1
    const char* remote;  // the modem network + 1
    int userPrefix;
    int modemPrefix;
  } cases[] = {
      {"255.255.0.255", "255.255.255.252", "192.0.0.67", "198.51.100.41", 16, 30},
      {"255.192.0.0", "255.254.0.0", "192.0.0.1", "198.50.0.1", 10, 15},
      {"254.255.255.255", "0.255.255.255", "192.0.2.67", "0.51.100.43", 7, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.userMask);
    SubscriberData data = AlcatelDhcpSubscriber(kSpeedTouchPro);
    data.UserMask = Quad(c.userMask);
    data.ModemMask = Quad(c.modemMask);
    const QStringList lines = GenerateProDhcp(data, AlcatelSettings());
    const QString lan = QString::fromLatin1(c.lan);
    const QString remote = QString::fromLatin1(c.remote);
    EXPECT_EQ(Line(lines, 9), QStringLiteral("Dirección Lan del ATU-R: ") + lan);
    EXPECT_EQ(Line(lines, 11), QStringLiteral("Dirección remota del SABA: ") + remote);
    EXPECT_EQ(Line(lines, 31), QStringLiteral("ip apadd addr=%1/%2 intf=eth0").arg(lan).arg(c.userPrefix));
    EXPECT_EQ(Line(lines, 34), QStringLiteral("cip ifadd addr=198.51.100.42/%1").arg(c.modemPrefix));
    EXPECT_EQ(Line(lines, 35), QStringLiteral("cip pvcadd dest=8*32 destaddr=") + remote);
    EXPECT_EQ(Line(lines, 39), QStringLiteral("dhcp config beginrange=192.0.2.66 endrange=192.0.2.66 netmask=%1 "
                                              "leasetime=300 gateway=%2 dnsaddr=203.0.113.10")
                                   .arg(QString::fromLatin1(c.userMask), lan));
  }
}

// The range comes from the stored network as it is: an unaligned network is not
// corrected, and a host mask gives a range that ends before it starts.
TEST(EdcRange, FollowsTheStoredNetworkAndMask) {
  const struct {
    Octets network;
    Octets mask;
    const char* first;
    const char* last;
  } cases[] = {
      {{198, 51, 100, 200}, {255, 255, 255, 240}, "198.51.100.201", "198.51.100.214"},
      {{198, 51, 100, 0}, {255, 255, 255, 0}, "198.51.100.1", "198.51.100.254"},
      {{203, 0, 113, 192}, {255, 255, 255, 255}, "203.0.113.193", "203.0.113.191"},
  };
  for (const auto& c : cases) {
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

// The modality word tests Estandar first, the traffic figure Class first, so the two
// can disagree when more than one option is set. Nothing else follows the options,
// and only the Office writes the figure.
TEST(Modality, WordAndTrafficFigureTestTheOptionsInTheirOwnOrder) {
  const struct {
    bool estandar, clase, premium;
    const char* word;
    const char* scr;
  } cases[] = {
      {true, false, false, "Estandar", "301"}, {false, true, false, "Class", "301"},
      {false, false, true, "Premium", "707"},  {true, false, true, "Estandar", "707"},
      {false, true, true, "Class", "301"},     {true, true, false, "Estandar", "301"},
  };
  for (const std::int16_t model : {kSpeedTouchOffice, kSpeedTouchPro, kEfficientSS5660}) {
    for (const DataScreen screen : {DataScreen::Dhcp, DataScreen::Napt}) {
      const ConfigGenerator generate = GeneratorFor(screen, model);
      SubscriberData data = EfficientSubscriber(screen);
      const QStringList estandar = generate(data, EfficientSettings());
      ASSERT_EQ(estandar.filter(QStringLiteral("301")).size(), model == kSpeedTouchOffice ? 2 : 0);
      for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << model << " " << c.estandar << c.clase << c.premium);
        Select(data, c.estandar, c.clase, c.premium);
        QStringList expected = estandar;
        expected[screen == DataScreen::Dhcp ? 21 : 19] = QString::fromLatin1(c.word);
        const QString scr = QString::fromLatin1(c.scr);
        expected.replaceInStrings(QStringLiteral("SCR: 301"), QStringLiteral("SCR: ") + scr);
        expected.replaceInStrings(QStringLiteral("setatmtraffic 301 "), QStringLiteral("setatmtraffic %1 ").arg(scr));
        EXPECT_EQ(generate(data, EfficientSettings()), expected);
      }
    }
  }
}

}  // namespace
