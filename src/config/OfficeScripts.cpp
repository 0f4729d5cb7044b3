#include "config/ConfigHeader.h"
#include "config/DerivedAddresses.h"
#include "config/Generators.h"

// The Alcatel Speed Touch Office's command-line script. The file holds no login:
// the loading sequence sends its own.

namespace {

QString Wan1(const QString& command) { return command + QStringLiteral(" WAN1"); }

// RIP and default-route learning off on one interface, in the modem's order.
QStringList RipOptionsOff(const QString& prefix, const QString& suffix) {
  QStringList lines;
  for (const char* option :
       {"rxrip", "rxrip1", "rxrip2", "rxdef", "txrip", "txrip1", "txrip2", "txdef"}) {
    lines << prefix + QString::fromLatin1(option) + QStringLiteral(" off") + suffix;
  }
  return lines;
}

QStringList LanStart(const DerivedAddresses& derived, const QString& ethAddress) {
  QStringList lines;
  lines << QStringLiteral("system snmpport disable")
        << QStringLiteral("system addTelnetFilter ") + FormatOctets(derived.EdcFirstAddress) +
               QLatin1Char(' ') + FormatOctets(derived.EdcLastAddress)
        << QStringLiteral("eth ip addr ") + ethAddress
        << RipOptionsOff(QStringLiteral("eth ip options "), QString())
        << QStringLiteral("dhcp disable all");
  return lines;
}

// The WAN1 interface on the subscriber's circuit. source and remote are the near
// and far addresses with their mask, already joined.
QStringList Wan(const ServiceSettingsRecord& settings, const DerivedAddresses& derived,
                bool translate, const QString& source, const QString& remote) {
  const QString circuit = AtmCircuitText(settings.AtmCircuit);
  QStringList lines;
  lines << QStringLiteral("eth ip enable") << QStringLiteral("remote add WAN1")
        << Wan1(QStringLiteral("remote setprotocol rfc1483"))
        << Wan1(QStringLiteral("remote setpvc ") + circuit)
        << Wan1(translate ? QStringLiteral("remote setIPTranslate on")
                          : QStringLiteral("remote setIPTranslate off"))
        << Wan1(QStringLiteral("remote disBridge"))
        << Wan1(QStringLiteral("remote setSrcIpAddr ") + source)
        << Wan1(QStringLiteral("remote setRmtIpAddr ") + remote)
        << Wan1(QStringLiteral("remote addiproute 0.0.0.0 255.255.255.255 1"))
        << RipOptionsOff(QStringLiteral("remote setIpOptions "), QStringLiteral(" WAN1"))
        << Wan1(QStringLiteral("remote setatmtraffic ") + QString::number(derived.Scr) +
                QStringLiteral(" 1"))
        << Wan1(QStringLiteral("ato echoPVC ") + circuit) << QStringLiteral("remote enable WAN1")
        << QStringLiteral("save") << QStringLiteral("reboot");
  return lines;
}

QString Pair(const QString& address, const QString& mask) {
  return address + QLatin1Char(' ') + mask;
}

}  // namespace

QStringList GenerateOfficeDhcp(const SubscriberData& data, const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  // No "Alcatel " in this type line, unlike every other Alcatel file.
  const HeaderVariant variant{true, QStringLiteral("Speed Touch Office con DHCP"),
                              QStringLiteral("Speed Touch Office dhcp"), true};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString userIp = TypedAddress(data.UserIp);
  const QString userMask = TypedAddress(data.UserMask);
  const QString userNetwork = FormatOctets(derived.UserNetwork);
  const QString modemMask = TypedAddress(data.ModemMask);
  lines << LanStart(derived, Pair(FormatOctets(derived.AtuRLanAddress), userMask))
        // The pool is the subscriber's one address.
        << QStringLiteral("dhcp add ") + Pair(userNetwork, userMask)
        << QStringLiteral("dhcp set addresses ") + Pair(userIp, userIp)
        << QStringLiteral("dhcp set valueoption domainnameserver ") +
               FormatOctets(settings.DnsServer)
        << QStringLiteral("dhcp set lease ") + userNetwork + QStringLiteral(" 1")
        << Wan(settings, derived, false, Pair(TypedAddress(data.ModemIp), modemMask),
               Pair(FormatOctets(derived.SabaRemoteAddress), modemMask));
  return lines;
}

QStringList GenerateOfficeNapt(const SubscriberData& data, const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  const HeaderVariant variant{false, QStringLiteral("Alcatel Speed Touch Office con NAPT"),
                              QStringLiteral("Speed Touch Office napt"), true};
  QStringList lines = HeaderLines(data, settings, derived, variant);
  const QString userMask = TypedAddress(data.UserMask);
  lines << LanStart(derived, Pair(TypedAddress(data.ModemIp), TypedAddress(data.ModemMask)))
        << Wan(settings, derived, true, Pair(TypedAddress(data.UserIp), userMask),
               Pair(FormatOctets(derived.SabaLoopbackAddress), userMask));
  return lines;
}
