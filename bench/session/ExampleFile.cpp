#include "session/ExampleFile.h"

#include "config/Generators.h"
#include "config/SubscriberData.h"
#include "core/AddressHelpers.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace bench {
namespace {

TypedQuad Quad(const char* a, const char* b, const char* c, const char* d) {
  return {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c), QString::fromLatin1(d)};
}

// A subscriber as an installer would type it; the NAPT screen keeps its own modem side.
SubscriberData ExampleData(DataScreen screen, std::int16_t model, const QString& phone) {
  SubscriberData data = InitialSubscriberData(screen, model);
  data.Phone = phone;
  data.UserIp = Quad("192", "0", "2", "13");
  data.UserMask = Quad("255", "255", "255", "248");
  if (screen == DataScreen::Dhcp) {
    data.ModemIp = Quad("10", "1", "1", "6");
    data.ModemMask = Quad("255", "255", "255", "252");
  }
  return data;
}

}  // namespace

bool WriteExampleFile(const QString& phone, std::int16_t model, bool dhcp, QString* error) {
  const DataScreen screen = dhcp ? DataScreen::Dhcp : DataScreen::Napt;
  const ConfigGenerator generate = GeneratorFor(screen, model);
  if (generate == nullptr) {
    *error = QStringLiteral("no generator for model %1").arg(model);
    return false;
  }
  const QString directory = platform::AppPath(QString::fromLatin1(kConfigDirectoryName));
  if (!platform::IsDirectory(directory) && !platform::MakeDirectory(directory, error)) return false;
  return platform::ReplaceTextFile(ConfigFilePath(phone),
                                   generate(ExampleData(screen, model, phone), ServiceSettings), error);
}

}  // namespace bench
