#include "config/ConfigHeader.h"
#include "config/DerivedAddresses.h"
#include "config/Generators.h"

// The Efficient SS5660's command-line script. Key and type lines say "SS56660":
// the loader recognises the model by that spelling in files already stored.

namespace {

QString VcLine(const ServiceSettingsRecord& settings, const TypedQuad& ip, const TypedQuad& mask) {
  return QStringLiteral("set vc 1483r %1 %2 llc max %3 %4")
      .arg(settings.AtmCircuit.Vpi)
      .arg(settings.AtmCircuit.Vci)
      .arg(TypedAddress(ip), TypedAddress(mask));
}

}  // namespace

QStringList GenerateEfficientDhcp(const SubscriberData& data,
                                  const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  const HeaderVariant variant{true, QStringLiteral("Efficient SS56660 dhcp"),
                              QStringLiteral("Efficient SS56660 dhcp")};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString lan = FormatOctets(derived.AtuRLanAddress);
  const QString userIp = TypedAddress(data.UserIp);
  const QString userMask = TypedAddress(data.UserMask);
  const QString gateway =
      QStringLiteral("set ipgateway ") + FormatOctets(derived.SabaRemoteAddress);
  // DHCP hands out the subscriber's one address; nothing is translated.
  lines << QStringLiteral("set bridge disable") << QStringLiteral("set hostname ") + data.Phone
        << QStringLiteral("set ethip ") + lan + QLatin1Char(' ') + userMask << QStringLiteral("y")
        << QStringLiteral("set dhcp enable")
        << QStringLiteral("set dhcpcfg server ") + userIp + QLatin1Char(' ') + userMask +
               QLatin1Char(' ') + userIp + QLatin1Char(' ') + lan + QLatin1Char(' ') +
               FormatOctets(settings.DnsServer) +
               QStringLiteral(" 0.0.0.0 0.0.0.0 0.0.0.0 zelvora none server 60")
        << QStringLiteral("set dns disable")
        << VcLine(settings, data.ModemIp, data.ModemMask)
        // Written twice: the script has always carried both lines.
        << gateway << gateway << QStringLiteral("set ripcfg none")
        << QStringLiteral("set napt disable") << QStringLiteral("reboot") << QStringLiteral("y");
  return lines;
}

QStringList GenerateEfficientNapt(const SubscriberData& data,
                                  const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  const HeaderVariant variant{false, QStringLiteral("Efficient SS56660 NAPT"),
                              QStringLiteral("Efficient SS56660 napt")};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString userIp = TypedAddress(data.UserIp);
  const QString gateway =
      QStringLiteral("set ipgateway ") + FormatOctets(derived.SabaLoopbackAddress);
  lines << QStringLiteral("set bridge disable") << QStringLiteral("set hostname ") + data.Phone
        << QStringLiteral("set ethip ") + TypedAddress(data.ModemIp) + QLatin1Char(' ') +
               TypedAddress(data.ModemMask)
        << QStringLiteral("y") << QStringLiteral("set dhcp disable")
        << QStringLiteral("set dns disable") << VcLine(settings, data.UserIp, data.UserMask)
        << gateway << gateway << QStringLiteral("set ripcfg none")
        << QStringLiteral("set napt enable")
        << QStringLiteral("set naptserver tcp telnet ") + userIp
        << QStringLiteral("set naptserver tcp ftp ") + userIp
        << QStringLiteral("set ipfilter enable")
        // Management from the EDCs only; telnet and ftp to the subscriber are closed.
        << QStringLiteral("set ipfiltercfg 1 in permit all ") + FormatOctets(settings.EdcNetwork) +
               QLatin1Char(' ') + FormatOctets(settings.EdcMask) + QStringLiteral(" any")
        << QStringLiteral("set ipfiltercfg 2 in deny tcp any any ") + userIp +
               QStringLiteral(" 255.255.255.255 eq 21 n")
        << QStringLiteral("set ipfiltercfg 3 in deny tcp any any ") + userIp +
               QStringLiteral(" 255.255.255.255 eq 23 n")
        << QStringLiteral("set ipfiltercfg 4 in permit all any any") << QStringLiteral("reboot")
        << QStringLiteral("y");
  return lines;
}
