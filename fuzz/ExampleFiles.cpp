#include "fuzz/ExampleFiles.h"

#include <QDir>
#include <QFile>

#include "config/Generators.h"
#include "core/Def_Globales.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Cp1252.h"

namespace fuzzing {

QStringList ExampleConfigFile(std::int16_t model, DataScreen screen) {
  SubscriberData data = InitialSubscriberData(screen, model);
  data.Phone = kPhone;
  data.UserIp = {"192", "0", "2", "13"};
  data.UserMask = {"255", "255", "255", "248"};
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

QString ConsoleName(std::int16_t model) {
  switch (model) {
    case kSpeedTouchOffice: return QStringLiteral("office");
    case kSpeedTouchPro: return QStringLiteral("pro");
    default: return QStringLiteral("efficient");
  }
}

QByteArray LogTrailer() { return platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n")); }

QByteArray ReadAppFile(const QString& name) {
  QFile file(QDir(AppDirectory()).filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace fuzzing
