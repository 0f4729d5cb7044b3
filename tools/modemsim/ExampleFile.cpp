#include "modemsim/ExampleFile.h"

#include "config/Generators.h"
#include "core/Def_Globales.h"

namespace modemsim {

QString ConsoleName(std::int16_t model) {
  switch (model) {
    case kSpeedTouchOffice: return QStringLiteral("office");
    case kSpeedTouchPro: return QStringLiteral("pro");
    default: return QStringLiteral("efficient");
  }
}

QStringList ExampleConfigFile(std::int16_t model, DataScreen screen, const QString& phone) {
  SubscriberData data = InitialSubscriberData(screen, model);
  data.Phone = phone;
  data.UserIp = {"192", "0", "2", "13"};
  data.UserMask = {"255", "255", "255", "248"};
  // The NAPT screen keeps its usual LAN behind the modem.
  if (screen == DataScreen::Dhcp) {
    data.ModemIp = {"10", "1", "1", "6"};
    data.ModemMask = {"255", "255", "255", "252"};
  }
  ServiceSettingsRecord settings = ServiceSettings;
  settings.DnsServer = {192, 0, 2, 53};
  settings.EdcNetwork = {198, 51, 100, 0};
  settings.EdcMask = {255, 255, 255, 240};
  settings.AtmCircuit = {8, 32};
  return GeneratorFor(screen, model)(data, settings);
}

}  // namespace modemsim
