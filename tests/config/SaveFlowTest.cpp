#include <gtest/gtest.h>

#include <cerrno>

#include <QDir>

#include "ConfigExamples.h"
#include "config/SaveConfiguration.h"
#include "platform/ErrorText.h"
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

ShownBox Critical(const QString& text, const char* title = "Error") {
  return {text, QString::fromUtf8(title), MsgIcon::Critical, MsgButtons::Ok};
}

ShownBox Incomplete(const char* what) {
  return Critical(QString::fromUtf8(what) +
                      QStringLiteral(" incorrecta. Asegurese de que se han rellenado todos los campos"),
                  "Información incompleta");
}

ShownBox SettingRefused(const char* named, int value, int low, int high) {
  return Critical(QStringLiteral("La configuración del servicio no es válida: %1 vale %2 y debe estar entre "
                                 "%3 y %4.\r\nCorríjala en \"Configuración del Servicio ADSL\" antes de salvar.")
                      .arg(QString::fromUtf8(named))
                      .arg(value)
                      .arg(low)
                      .arg(high));
}

const ShownBox kPhoneRefused =
    Critical(QStringLiteral("El número de teléfono del abonado no es valido o no ha sido rellenado"));
const ShownBox kUserIpIncomplete = Incomplete("Dirección IP de Usuario");
const ShownBox kProMaskRefused = Critical(QStringLiteral(
    "La máscara de WAN no puede ser superior a una clase C\r\nLa máscara no puede ser inferior a 24 bits"));
const ShownBox kOverflowRefused = Critical(QStringLiteral(
    "Las direcciones introducidas dan lugar a una dirección calculada no válida (octeto mayor que 255)"));
const ShownBox kOverwriteQuestion{
    QStringLiteral("Ya ha sido almacenada una configuración para este abonado, ¿Desea sobreescribirla ?"),
    QStringLiteral("Configuración ya existente"), MsgIcon::Exclamation, MsgButtons::OkCancel};

// One save from a data screen, the Efficient DHCP example unless a field says
// otherwise; an empty text between dots is an empty octet field.
struct SaveCase {
  const char* what;
  DataScreen screen = DataScreen::Dhcp;
  std::int16_t model = kEfficientSS5660;
  const char* phone = "900123456";
  const char* userIp = "192.0.2.13";
  const char* userMask = "255.255.255.248";
  const char* modemIp = "10.1.1.6";
  const char* modemMask = "255.255.255.252";
  Octets edc{198, 51, 100, 0};
  Octets edcMask{255, 255, 255, 240};
  Octets dns{192, 0, 2, 53};
  AtmCircuitValue atm{8, 32};
  ShownBox shown = kSaved;  // the one box: the first check that fails, or the confirmation
};

constexpr auto kNapt = DataScreen::Napt;
constexpr auto kOffice = kSpeedTouchOffice;
constexpr auto kPro = kSpeedTouchPro;
constexpr const char* kOnes = "255.255.255.255";

// The checks run in order: phone, empty octets, the Pro's modem mask, the service
// settings, and last the computed addresses that the chosen file writes (one row for
// each two neighbours in that order).
const SaveCase kSaveCases[] = {
    // The phone becomes a file name: nothing but digits may reach a path.
    {.what = "phone with a path", .phone = "../900123456", .shown = kPhoneRefused},
    {.what = "phone with a letter", .phone = "90012345a", .userIp = "192.0.2.", .shown = kPhoneRefused},
    {.what = "no phone", .phone = "", .shown = kPhoneRefused},
    // The first quad with an empty octet is named, whatever follows it.
    {.what = "user IP", .userIp = "192.0.2.", .userMask = "255.255..248", .modemIp = "10..1.6",
     .modemMask = ".255.255.252", .shown = kUserIpIncomplete},
    {.what = "user mask", .screen = kNapt, .userMask = "255.255..248", .modemIp = "10..1.6",
     .modemMask = ".255.255.252", .shown = Incomplete("Máscara de red del usuario")},
    {.what = "modem IP", .modemIp = "10..1.6", .modemMask = ".255.255.252",
     .shown = Incomplete("Dirección IP de gestión del modem")},
    {.what = "modem mask", .screen = kNapt, .modemMask = ".255.255.252",
     .shown = Incomplete("Máscara de red de gestión del modem")},
    // Only the Pro needs 24 bits (which masks pass is the prefix helper's test).
    {.what = "Pro /23", .model = kPro, .modemMask = "255.255.254.0", .shown = kProMaskRefused},
    {.what = "Office /23", .screen = kNapt, .model = kOffice, .modemMask = "255.255.254.0"},
    {.what = "empty octet before the Pro mask", .model = kPro, .userIp = "192.0.2.255", .userMask = kOnes,
     .modemIp = ".1.1.6", .modemMask = "255.255.254.0", .shown = Incomplete("Dirección IP de gestión del modem")},
    // A hand-edited conf_gen.dat that the settings screen would refuse.
    {.what = "EDC network 300", .edc = {300, 51, 100, 0},
     .shown = SettingRefused("la dirección IP de gestión de EDCs", 300, 0, 255)},
    {.what = "EDC mask 256", .edcMask = {255, 255, 256, 240},
     .shown = SettingRefused("la máscara de red de gestión de EDCs", 256, 0, 255)},
    {.what = "DNS -1", .dns = {192, 0, 2, -1}, .shown = SettingRefused("la dirección IP del DNS", -1, 0, 255)},
    {.what = "VPI 0", .atm = {0, 32}, .shown = SettingRefused("el VPI del circuito ATM", 0, 1, 9)},
    {.what = "VPI 10", .atm = {10, 32}, .shown = SettingRefused("el VPI del circuito ATM", 10, 1, 9)},
    {.what = "VCI 100", .atm = {8, 100}, .shown = SettingRefused("el VCI del circuito ATM", 100, 1, 99)},
    {.what = "Pro mask before the settings", .model = kPro, .modemMask = "255.255.254.0", .atm = {0, 32},
     .shown = kProMaskRefused},
    {.what = "settings before an overflow", .userIp = "192.0.2.255", .userMask = kOnes, .atm = {0, 32},
     .shown = SettingRefused("el VPI del circuito ATM", 0, 1, 9)},
    // The fourth-octet additions carry nowhere; only what the chosen file writes counts.
    {.what = "LAN address 256", .userIp = "192.0.2.255", .userMask = kOnes, .shown = kOverflowRefused},
    {.what = "loopback 256", .screen = kNapt, .model = kPro, .userIp = "192.0.2.254", .userMask = kOnes,
     .shown = kOverflowRefused},
    {.what = "LAN address 255", .model = kPro, .userIp = "192.0.2.254", .userMask = kOnes},
    {.what = "remote 256", .model = kOffice, .modemIp = "10.1.1.255", .modemMask = kOnes, .shown = kOverflowRefused},
    {.what = "modem network unused in NAPT", .screen = kNapt, .model = kOffice, .modemIp = "172.16.0.255",
     .modemMask = kOnes},
    {.what = "EDC first 256", .screen = kNapt, .model = kOffice, .edc = {203, 0, 113, 255},
     .shown = kOverflowRefused},
    {.what = "EDC last -1", .model = kOffice, .edc = {203, 0, 113, 0}, .edcMask = {255, 255, 255, 255},
     .shown = kOverflowRefused},
    {.what = "EDC range unused by the Efficient", .screen = kNapt, .edc = {203, 0, 113, 255},
     .edcMask = {255, 255, 255, 255}},
};

QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

bool SaveEfficientDhcp() {
  return SaveSubscriberConfiguration(EfficientSubscriber(DataScreen::Dhcp), DataScreen::Dhcp, kEfficientSS5660,
                                     true, EfficientSettings());
}

void StoreOldFile(const TestPlatform& platform) {
  ASSERT_TRUE(QDir(platform.Dir()).mkpath(QStringLiteral("Configuraciones")));
  platform.Write(kFile, kOldFile);
}

TEST(SaveFlow, OnlyDataPassingEveryCheckIsWrittenAndTheFirstFailureIsShown) {
  for (const SaveCase& c : kSaveCases) {
    SCOPED_TRACE(c.what);
    TestPlatform platform;
    SubscriberData data = Subscriber(c.screen, c.model, c.userIp, c.userMask, c.modemIp, c.modemMask);
    data.Phone = QString::fromLatin1(c.phone);
    ServiceSettingsRecord settings = EfficientSettings();
    settings.EdcNetwork = c.edc;
    settings.EdcMask = c.edcMask;
    settings.DnsServer = c.dns;
    settings.AtmCircuit = c.atm;
    const bool saved = c.shown == kSaved;
    EXPECT_EQ(SaveSubscriberConfiguration(data, c.screen, c.model, ModeOf(c.screen), settings), saved);
    if (c.shown == kPhoneRefused) {  // the writer guards the path on its own too
      EXPECT_FALSE(SaveConfiguration(data, c.screen, c.model, ModeOf(c.screen), settings));
      EXPECT_EQ(platform.boxes.shown, (QList<ShownBox>{kPhoneRefused, kPhoneRefused}));
    } else {
      EXPECT_EQ(platform.boxes.shown, QList<ShownBox>{c.shown});
    }
    EXPECT_EQ(Entries(platform.Dir()), saved ? QStringList{QStringLiteral("Configuraciones")} : QStringList());
    EXPECT_EQ(platform.Read(kFile).isEmpty(), !saved);
  }
}

// Decided before the file is touched, so a stored file stays as it was.
TEST(SaveFlow, AModeOtherThanTheScreensOrNoModelWritesNothing) {
  const struct {
    std::int16_t model;
    bool otherMode;
    QList<ShownBox> shown;
  } cases[] = {{kSpeedTouchPro, true, {kOverwriteQuestion, Critical(QStringLiteral("Fuera del flujo de ejecución. "))}},
               {3, false, {kOverwriteQuestion}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    TestPlatform platform;
    StoreOldFile(platform);
    EXPECT_FALSE(SaveSubscriberConfiguration(EfficientSubscriber(kNapt), kNapt, c.model, ModeOf(kNapt) != c.otherMode,
                                             EfficientSettings()));
    EXPECT_EQ(platform.boxes.shown, c.shown);
    EXPECT_EQ(platform.Read(kFile), kOldFile);
    EXPECT_EQ(Entries(platform.PathOf(QStringLiteral("Configuraciones"))),
              QStringList{QStringLiteral("900123456.cfg")});
  }
}

// What blocks the directory is left as it was.
TEST(SaveFlow, ABlockedDirectoryIsReportedAndTheSaveFails) {
  TestPlatform platform;
  platform.Write(QStringLiteral("Configuraciones"), "not a directory");
  EXPECT_FALSE(SaveEfficientDhcp());
  // The system's description, under the application's title.
  EXPECT_EQ(platform.boxes.shown, (QList<ShownBox>{{platform::DescribeSystemError(EEXIST), QString(),
                                                    MsgIcon::Exclamation, MsgButtons::Ok}}));
  EXPECT_EQ(platform.Read(QStringLiteral("Configuraciones")), QByteArray("not a directory"));
}

// Only an OK to the question replaces a stored file (a failed replacement is a
// fault test's matter).
TEST(SaveFlow, AStoredFileIsReplacedOnlyWhenTheUserAgrees) {
  TestPlatform platform;
  StoreOldFile(platform);
  platform.boxes.Answer(MsgAnswer::Cancel);
  EXPECT_FALSE(SaveEfficientDhcp());
  EXPECT_EQ(platform.Read(kFile), kOldFile);
  EXPECT_TRUE(SaveEfficientDhcp());
  EXPECT_EQ(platform.boxes.shown, (QList<ShownBox>{kOverwriteQuestion, kOverwriteQuestion, kSaved}));
  EXPECT_TRUE(platform.Read(kFile).startsWith("Configuraci\xF3n DHCP para Efficient SS5660\r\n"));
}

}  // namespace
