#include "config/ConfigHeader.h"
#include "config/DerivedAddresses.h"
#include "config/Generators.h"

// The Alcatel Speed Touch Pro's command-line script: tables emptied first, addresses
// in prefix notation, the circuit reached through the phone-book entry "Zelvora",
// and no reboot at the end.

namespace {

QStringList Flushes() {
  return {QStringLiteral("atmf flush"),   QStringLiteral("cip flush"),
          QStringLiteral("ppp flush"),    QStringLiteral("pptp flush"),
          QStringLiteral("bridge flush"), QStringLiteral("phonebook flush"),
          QStringLiteral("ip flush")};
}

QString WithPrefix(const QString& address, std::int16_t prefix) {
  return address + QLatin1Char('/') + QString::number(prefix);
}

// From the Ethernet address to the default route; wan is the address of the "cip"
// interface, far the other end of the circuit. NAPT translates behind wan.
QStringList Routing(const ServiceSettingsRecord& settings, const QString& lan, const QString& wan,
                    const QString& far, const QString& translated) {
  const QString circuit = AtmCircuitText(settings.AtmCircuit);
  QStringList lines;
  lines << QStringLiteral("ip apadd addr=") + lan + QStringLiteral(" intf=eth0")
        << QStringLiteral("ip config firewalling off")
        << QStringLiteral("phonebook add name=Zelvora addr=") + circuit +
               QStringLiteral(" type=cip")
        << QStringLiteral("cip ifadd addr=") + wan
        << QStringLiteral("cip pvcadd dest=") + circuit + QStringLiteral(" destaddr=") + far;
  if (!translated.isEmpty()) {
    lines << QStringLiteral("nat enable addr=") + translated + QStringLiteral(" type=pat");
  }
  lines << QStringLiteral("ip rtadd dst=0.0.0.0/0 src=0.0.0.0/0 gateway=") + far
        << QStringLiteral("dns stop") << QStringLiteral("dhcp stop");
  return lines;
}

}  // namespace

QStringList GenerateProDhcp(const SubscriberData& data, const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  const HeaderVariant variant{true, QStringLiteral("Alcatel Speed Touch Pro con DHCP"),
                              QStringLiteral("Speed Touch Pro dhcp")};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString lan = FormatOctets(derived.AtuRLanAddress);
  const QString userIp = TypedAddress(data.UserIp);
  lines << Flushes()
        << Routing(settings, WithPrefix(lan, derived.UserPrefixLength),
                   WithPrefix(TypedAddress(data.ModemIp), derived.ModemPrefixLength),
                   FormatOctets(derived.SabaRemoteAddress), QString())
        // The pool is the subscriber's one address.
        << QStringLiteral("dhcp config beginrange=") + userIp + QStringLiteral(" endrange=") +
               userIp + QStringLiteral(" netmask=") + TypedAddress(data.UserMask) +
               QStringLiteral(" leasetime=300 gateway=") + lan + QStringLiteral(" dnsaddr=") +
               FormatOctets(settings.DnsServer)
        << QStringLiteral("dhcp start") << QStringLiteral("config save");
  return lines;
}

QStringList GenerateProNapt(const SubscriberData& data, const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  const HeaderVariant variant{false, QStringLiteral("Alcatel Speed Touch Pro con NAPT"),
                              QStringLiteral("Speed Touch Pro napt")};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString userIp = TypedAddress(data.UserIp);
  lines << Flushes()
        << Routing(settings, WithPrefix(TypedAddress(data.ModemIp), derived.ModemPrefixLength),
                   WithPrefix(userIp, derived.UserPrefixLength),
                   FormatOctets(derived.SabaLoopbackAddress), userIp)
        << QStringLiteral("config save");
  return lines;
}
