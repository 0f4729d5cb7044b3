#include <gtest/gtest.h>
#include <sys/resource.h>

#include <functional>

#include <QDir>

#include "ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "support/TestPlatform.h"

using namespace config_examples;
using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;
using testing_support::ShownBox;
using testing_support::TestPlatform;

namespace {

const QString kFile = QStringLiteral("Configuraciones/900123456.cfg");
const QByteArray kOldFile = "previous configuration\r\n";

ShownBox Critical(const char* text, const char* title = "Error") {
  return {QString::fromUtf8(text), QString::fromUtf8(title), MsgIcon::Critical, MsgButtons::Ok};
}

const ShownBox kPhoneRefused = Critical("El número de teléfono del abonado no es valido o no ha sido rellenado");
const ShownBox kOverflowRefused =
    Critical("Las direcciones introducidas dan lugar a una dirección calculada no válida (octeto mayor que 255)");
const ShownBox kOverwriteQuestion{
    QStringLiteral("Ya ha sido almacenada una configuración para este abonado, ¿Desea sobreescribirla ?"),
    QStringLiteral("Configuración ya existente"), MsgIcon::Exclamation, MsgButtons::OkCancel};

class SaveFlowTest : public ::testing::Test {
 protected:
  bool Save(const SubscriberData& data, DataScreen screen, std::int16_t model) {
    return SaveSubscriberConfiguration(data, screen, model, ModeOf(screen), settings_);
  }
  bool SaveEfficientDhcp() {
    return Save(EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp, kEfficientSS5660);
  }
  void StoreOldFile() {
    ASSERT_TRUE(QDir(platform_.Dir()).mkpath(QStringLiteral("Configuraciones")));
    platform_.Write(kFile, kOldFile);
  }
  // Nothing but the named entries in Configuraciones: no stray temporary files.
  QStringList ConfigEntries() const {
    return QDir(platform_.PathOf(QStringLiteral("Configuraciones")))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }
  const QList<ShownBox>& Shown() const { return platform_.boxes.shown; }

  TestPlatform platform_;
  ServiceSettingsRecord settings_ = EfficientSettings();
};

// The phone becomes a file name: nothing but digits may reach a path.
TEST_F(SaveFlowTest, PhoneWithAnythingButDigitsIsRefused) {
  for (const char* phone : {"../900123456", "90012345a", " 900123456"}) {
    SubscriberData data = EfficientSubscriber(DataScreen::Dhcp);
    data.Phone = QString::fromLatin1(phone);
    platform_.boxes.shown.clear();
    EXPECT_FALSE(Save(data, DataScreen::Dhcp, kEfficientSS5660)) << phone;
    EXPECT_EQ(Shown(), QList<ShownBox>{kPhoneRefused}) << phone;
    platform_.boxes.shown.clear();
    EXPECT_FALSE(SaveConfiguration(data, DataScreen::Dhcp, kEfficientSS5660, true, settings_));
    EXPECT_EQ(Shown(), QList<ShownBox>{kPhoneRefused}) << phone;
  }
  EXPECT_EQ(QDir(platform_.Dir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList());
}

TEST_F(SaveFlowTest, TheFirstIncompleteAddressIsNamed) {
  struct Case {
    TypedQuad SubscriberData::*quad;
    const char* message;
  };
  const Case cases[] = {
      {&SubscriberData::UserIp,
       "Dirección IP de Usuario incorrecta. Asegurese de que se han "
       "rellenado todos los campos"},
      {&SubscriberData::UserMask,
       "Máscara de red del usuario incorrecta. Asegurese de que se han "
       "rellenado todos los campos"},
      {&SubscriberData::ModemIp,
       "Dirección IP de gestión del modem incorrecta. Asegurese de que se "
       "han rellenado todos los campos"},
      {&SubscriberData::ModemMask,
       "Máscara de red de gestión del modem incorrecta. Asegurese de "
       "que se han rellenado todos los campos"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    for (const DataScreen screen : {DataScreen::Dhcp, DataScreen::Napt}) {
      // The named quad and every later one lose an octet; the named one is reported.
      SubscriberData data = EfficientSubscriber(screen);
      for (std::size_t j = i; j < std::size(cases); ++j) (data.*cases[j].quad)[3 - j].clear();
      platform_.boxes.shown.clear();
      EXPECT_FALSE(Save(data, screen, kEfficientSS5660));
      EXPECT_EQ(Shown(),
                QList<ShownBox>{Critical(cases[i].message, "Información incompleta")});
    }
  }
  EXPECT_FALSE(QDir(platform_.Dir()).exists(QStringLiteral("Configuraciones")));
}

// The Pro's 24-bit rule is proven on its screen; the other models take any mask.
TEST_F(SaveFlowTest, OnlyTheProNeedsAModemMaskOfAtLeast24Bits) {
  SubscriberData data = AlcatelDhcpSubscriber(kSpeedTouchOffice);
  for (const char* mask : {"255.255.254.0", "0.0.0.0"}) {
    for (const std::int16_t model : {kSpeedTouchOffice, kEfficientSS5660}) {
      SCOPED_TRACE(mask);
      TestPlatform platform;
      data.ModemMask = Quad(mask);
      EXPECT_TRUE(Save(data, DataScreen::Napt, model));
      EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{kSaved});
    }
  }
}

struct OverflowCase {
  const char* what;
  DataScreen screen;
  std::int16_t model;
  const char* userIp;
  const char* userMask;
  const char* modemIp;
  const char* modemMask;
  Octets edcNetwork;
  Octets edcMask;
  bool refused;
};

// Only addresses the chosen file writes are judged.
TEST_F(SaveFlowTest, DataGivingAnOctetOutsideTheByteAreRefusedAndNothingWritten) {
  const Octets edc{203, 0, 113, 192};
  const Octets edc255{203, 0, 113, 255};
  const Octets m240{255, 255, 255, 240};
  const Octets m255{255, 255, 255, 255};
  const auto dhcp = DataScreen::Dhcp;
  const auto napt = DataScreen::Napt;
  const char* ones = "255.255.255.255";
  const OverflowCase cases[] = {
      {"LAN address 256", dhcp, kEfficientSS5660, "192.0.2.255", ones, "10.1.1.6", "255.255.255.252", edc, m240, true},
      {"loopback 257", napt, kEfficientSS5660, "192.0.2.255", ones, "172.16.0.1", "255.255.255.240", edc, m240, true},
      {"loopback 256", napt, kSpeedTouchPro, "192.0.2.254", ones, "172.16.0.1", "255.255.255.240", edc, m240, true},
      {"LAN address 255", dhcp, kSpeedTouchPro, "192.0.2.254", ones, "10.1.1.6", "255.255.255.252", edc, m240, false},
      {"remote 256", dhcp, kSpeedTouchOffice, "192.0.2.66", "255.255.255.248", "10.1.1.255", ones, edc, m240, true},
      {"modem network unused in NAPT", napt, kSpeedTouchOffice, "192.0.2.65", "255.255.255.252", "172.16.0.255",
       ones, edc, m240, false},
      {"EDC first 256", napt, kSpeedTouchOffice, "192.0.2.65", "255.255.255.252", "172.16.0.1", "255.255.255.240",
       edc255, m240, true},
      {"EDC last -1", dhcp, kSpeedTouchOffice, "192.0.2.66", "255.255.255.248", "10.1.1.6", "255.255.255.252",
       {203, 0, 113, 0}, m255, true},
      {"EDC last 269", dhcp, kSpeedTouchOffice, "192.0.2.66", "255.255.255.248", "10.1.1.6", "255.255.255.252",
       edc255, m240, true},
      {"EDC range unused by the Efficient", napt, kEfficientSS5660, "192.0.2.65", "255.255.255.252", "172.16.0.1",
       "255.255.255.240", edc255, m255, false},
  };
  for (const OverflowCase& c : cases) {
    SCOPED_TRACE(c.what);
    TestPlatform platform;
    settings_.EdcNetwork = c.edcNetwork;
    settings_.EdcMask = c.edcMask;
    const SubscriberData data =
        Subscriber(c.screen, c.model, c.userIp, c.userMask, c.modemIp, c.modemMask);
    EXPECT_EQ(Save(data, c.screen, c.model), !c.refused);
    EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{c.refused ? kOverflowRefused : kSaved});
    EXPECT_EQ(platform.Read(kFile).isEmpty(), c.refused);
  }
}

TEST_F(SaveFlowTest, AnUnwritableAddressIsTheLastCheck) {
  SubscriberData data = Subscriber(DataScreen::Dhcp, kSpeedTouchPro, "192.0.2.255",
                                   "255.255.255.255", "10.1.1.6", "255.255.254.0");
  EXPECT_FALSE(Save(data, DataScreen::Dhcp, kSpeedTouchPro));
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_TRUE(Shown()[0].text.startsWith(QStringLiteral("La máscara de WAN")));
  data.ModemIp[0].clear();
  platform_.boxes.shown.clear();
  EXPECT_FALSE(Save(data, DataScreen::Dhcp, kSpeedTouchPro));
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].title, QStringLiteral("Información incompleta"));
}

// A hand-edited conf_gen.dat is read as it stands, but a setting that the settings
// screen would refuse never reaches a subscriber file: the message names it and
// sends the user to the settings screen. Checked after the subscriber's own data.
TEST_F(SaveFlowTest, AServiceSettingTheSettingsScreenWouldRefuseStopsTheSave) {
  const struct {
    const char* named;
    std::function<void(ServiceSettingsRecord&)> spoil;
  } cases[] = {
      {"la dirección IP de gestión de EDCs vale 300", [](auto& s) { s.EdcNetwork[0] = 300; }},
      {"la máscara de red de gestión de EDCs vale 256", [](auto& s) { s.EdcMask[2] = 256; }},
      {"la dirección IP del DNS vale -1", [](auto& s) { s.DnsServer[3] = -1; }},
      {"el VPI del circuito ATM vale 0", [](auto& s) { s.AtmCircuit.Vpi = 0; }},
      {"el VCI del circuito ATM vale 32767", [](auto& s) { s.AtmCircuit.Vci = 32767; }},
      {"el VCI del circuito ATM vale 100", [](auto& s) { s.AtmCircuit.Vci = 100; }},
  };
  for (const auto& c : cases) {
    settings_ = EfficientSettings();
    c.spoil(settings_);
    platform_.boxes.shown.clear();
    EXPECT_FALSE(SaveEfficientDhcp()) << c.named;
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(Shown()[0].text.contains(QString::fromUtf8(c.named)) &&
                Shown()[0].text.contains(QStringLiteral("\"Configuración del Servicio ADSL\"")))
        << Shown()[0].text.toStdString();
    EXPECT_TRUE(platform_.Read(kFile).isEmpty());
  }
  // The subscriber's own data is judged first.
  SubscriberData data = EfficientSubscriber(DataScreen::Dhcp);
  data.UserIp[0].clear();
  platform_.boxes.shown.clear();
  EXPECT_FALSE(Save(data, DataScreen::Dhcp, kEfficientSS5660));
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0].title, QStringLiteral("Información incompleta"));
}

TEST_F(SaveFlowTest, AModeOtherThanTheScreensWritesNothing) {
  const ShownBox outOfFlow = Critical("Fuera del flujo de ejecución. ");
  const SubscriberData dhcp = EfficientSubscriber(DataScreen::Dhcp);
  EXPECT_FALSE(
      SaveSubscriberConfiguration(dhcp, DataScreen::Dhcp, kEfficientSS5660, false, settings_));
  EXPECT_EQ(Shown(), QList<ShownBox>{outOfFlow});
  EXPECT_EQ(ConfigEntries(), QStringList());

  StoreOldFile();
  platform_.boxes.shown.clear();
  const SubscriberData napt = EfficientSubscriber(DataScreen::Napt);
  EXPECT_FALSE(
      SaveSubscriberConfiguration(napt, DataScreen::Napt, kSpeedTouchPro, true, settings_));
  EXPECT_EQ(Shown(), (QList<ShownBox>{kOverwriteQuestion, outOfFlow}));
  EXPECT_EQ(platform_.Read(kFile), kOldFile);
  EXPECT_EQ(ConfigEntries(), QStringList{QStringLiteral("900123456.cfg")});
}

TEST_F(SaveFlowTest, NoModelWritesNothingAndSaysNothing) {
  EXPECT_FALSE(Save(EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp, 3));
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_EQ(ConfigEntries(), QStringList());

  StoreOldFile();
  EXPECT_FALSE(Save(EfficientSubscriber(DataScreen::Napt), DataScreen::Napt, -1));
  EXPECT_EQ(Shown(), QList<ShownBox>{kOverwriteQuestion});
  EXPECT_EQ(platform_.Read(kFile), kOldFile);
}

// The program carries on: the operator can free the name and save again.
TEST_F(SaveFlowTest, ABlockedDirectoryIsReportedAndTheSaveFails) {
  platform_.Write(QStringLiteral("Configuraciones"), "not a directory");
  EXPECT_FALSE(SaveEfficientDhcp());
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_FALSE(Shown()[0].text.isEmpty());
  EXPECT_EQ(Shown()[0].title, QString());  // the application's title
  EXPECT_EQ(Shown()[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(Shown()[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(platform_.Read(QStringLiteral("Configuraciones")), QByteArray("not a directory"));

  ASSERT_TRUE(QFile::remove(platform_.PathOf(QStringLiteral("Configuraciones"))));
  platform_.boxes.shown.clear();
  EXPECT_TRUE(SaveEfficientDhcp());
  EXPECT_EQ(Shown(), QList<ShownBox>{kSaved});
}

// A write cut short (here by a file-size limit) must not leave a half file in place
// of the stored one.
TEST_F(SaveFlowTest, AWriteCutShortLeavesTheStoredFileWhole) {
  StoreOldFile();
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 256;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = SaveEfficientDhcp();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);

  EXPECT_FALSE(written);
  ASSERT_EQ(Shown().size(), 2);
  EXPECT_EQ(Shown()[0], kOverwriteQuestion);
  EXPECT_EQ(Shown()[1].icon, MsgIcon::Exclamation);
  EXPECT_FALSE(Shown()[1].text.isEmpty());
  EXPECT_EQ(platform_.Read(kFile), kOldFile);
  EXPECT_EQ(ConfigEntries(), QStringList{QStringLiteral("900123456.cfg")});
}

}  // namespace
