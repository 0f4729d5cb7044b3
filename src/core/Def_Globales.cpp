#include "core/Def_Globales.h"

#include <QStringList>

void SetStartupValues() {
  ServiceSettings.ComPort = 1;
  ServiceSettings.AccessPassword = QString::fromLatin1(kFactoryAccessPassword);
  ServiceSettings.DefaultAccessPassword = QString::fromLatin1(kFactoryAccessPassword);
  ServiceSettings.DnsServer = kOperatorDnsServer;
  ServiceSettings.EdcNetwork = kOperatorEdcNetwork;
  ServiceSettings.EdcMask = kDefaultEdcMask;
}

QString FormatOctets(const Octets& octets) {
  QStringList parts;
  for (const auto octet : octets) parts << QString::number(octet);
  return parts.join(QLatin1Char('.'));
}
