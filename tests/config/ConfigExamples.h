#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include "config/SubscriberData.h"
#include "core/Def_Globales.h"
#include "core/ReadableFailures.h"
#include "support/TestPlatform.h"

// The subscribers and service settings the configuration tests share.
namespace config_examples {

// A golden file (tests/config/data): the bytes a saved configuration must match.
inline QByteArray Golden(const char* name) {
  QFile file(QStringLiteral(ADSL_GOLDEN_DIR "/") + QString::fromLatin1(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline const testing_support::ShownBox kSaved{QStringLiteral("Fichero de configuración almacenado"),
                                              QStringLiteral("Salvar..."), platform::MsgIcon::Information,
                                              platform::MsgButtons::Ok};

inline TypedQuad Quad(const char* dotted) {
  const QStringList parts = QString::fromLatin1(dotted).split(QLatin1Char('.'));
  return {parts.value(0), parts.value(1), parts.value(2), parts.value(3)};
}

inline SubscriberData Subscriber(DataScreen screen, std::int16_t model, const char* userIp,
                                 const char* userMask, const char* modemIp, const char* modemMask) {
  SubscriberData data;
  data.Title = DataScreenTitle(screen, model);
  data.Phone = QStringLiteral("900123456");
  data.UserIp = Quad(userIp);
  data.UserMask = Quad(userMask);
  data.ModemIp = Quad(modemIp);
  data.ModemMask = Quad(modemMask);
  return data;
}

inline void Select(SubscriberData& data, bool estandar, bool clase, bool premium) {
  data.oEstandar = estandar;
  data.oClass = clase;
  data.oPremium = premium;
}

// The Efficient worked example: a /29 subscriber managed over a /30.
inline SubscriberData EfficientSubscriber(DataScreen screen) {
  return Subscriber(screen, kEfficientSS5660, "192.0.2.13", "255.255.255.248", "10.1.1.6",
                    "255.255.255.252");
}

inline ServiceSettingsRecord EfficientSettings() {
  ServiceSettingsRecord settings;
  settings.DnsServer = {192, 0, 2, 53};
  settings.EdcNetwork = {198, 51, 100, 0};
  settings.EdcMask = {255, 255, 255, 240};
  settings.AtmCircuit = {8, 32};
  settings.PhoneMinDigits = 9;
  settings.PhoneMaxDigits = 9;
  return settings;
}

// The Alcatel worked examples: DHCP managed over a /30, NAPT behind 172.16.0.1/28.
inline SubscriberData AlcatelSubscriber(DataScreen screen, std::int16_t model) {
  return screen == DataScreen::Dhcp
             ? Subscriber(screen, model, "192.0.2.66", "255.255.255.248", "198.51.100.42", "255.255.255.252")
             : Subscriber(screen, model, "192.0.2.65", "255.255.255.252", "172.16.0.1", "255.255.255.240");
}

inline ServiceSettingsRecord AlcatelSettings() {
  ServiceSettingsRecord settings = EfficientSettings();
  settings.DnsServer = {203, 0, 113, 10};
  settings.EdcNetwork = {203, 0, 113, 192};
  return settings;
}

}  // namespace config_examples
