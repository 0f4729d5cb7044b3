#include "config/SubscriberData.h"

namespace {

QString ModelSuffix(std::int16_t model) {
  switch (model) {
    case kSpeedTouchOffice:
      return QStringLiteral(" para Alcatel Speed Touch Office");
    case kSpeedTouchPro:
      return QStringLiteral(" para Alcatel Speed Touch Pro");
    case kEfficientSS5660:
      return QStringLiteral(" para Efficient SS5660");
    default:
      return {};
  }
}

TypedQuad Quad(const char* a, const char* b, const char* c, const char* d) {
  return {QString::fromLatin1(a), QString::fromLatin1(b), QString::fromLatin1(c),
          QString::fromLatin1(d)};
}

}  // namespace

QString DataScreenTitle(DataScreen screen, std::int16_t model) {
  const QString base = screen == DataScreen::Dhcp ? QStringLiteral("Configuración DHCP")
                                                  : QStringLiteral("Configuración NAPT");
  return base + ModelSuffix(model);
}

SubscriberData InitialSubscriberData(DataScreen screen, std::int16_t model) {
  SubscriberData data;
  data.Title = DataScreenTitle(screen, model);
  data.UserIp = Quad("0", "0", "0", "0");
  data.UserMask = Quad("0", "0", "0", "0");
  if (screen == DataScreen::Napt) {
    // The usual private LAN behind a NAPT modem.
    data.ModemIp = Quad("172", "16", "0", "1");
    data.ModemMask = Quad("255", "255", "255", "240");
  } else {
    data.ModemIp = Quad("0", "0", "0", "0");
    data.ModemMask = Quad("0", "0", "0", "0");
  }
  return data;
}
