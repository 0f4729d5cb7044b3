#include "config/ConfigHeader.h"

namespace {

QString OfficeOnly(const HeaderVariant& variant, const QString& value) {
  return variant.writesOfficeFigures ? value : QStringLiteral("-");
}

void AppendSubscriber(QStringList& lines, const SubscriberData& data,
                      const HeaderVariant& variant) {
  const bool dhcp = variant.mode;
  lines << data.Title << QString(31, QLatin1Char('-')) << QStringLiteral("Abonado: ") + data.Phone
        << QStringLiteral("Tipo de configuración: ") + variant.configurationType
        << QStringLiteral("IP del Usuario: ") + TypedAddress(data.UserIp)
        << QStringLiteral("Máscara del Usuario: ") + TypedAddress(data.UserMask)
        << (dhcp ? QStringLiteral("IP de gestión del módem: ")
                 : QStringLiteral("IP de Ethernet del módem: ")) +
               TypedAddress(data.ModemIp)
        << (dhcp ? QStringLiteral("Máscara de gestión del módem: ")
                 : QStringLiteral("Máscara de Ethernet del módem: ")) +
               TypedAddress(data.ModemMask);
}

void AppendModemSide(QStringList& lines, const DerivedAddresses& derived,
                     const HeaderVariant& variant) {
  if (!variant.mode) {
    lines << QStringLiteral("Dirección Loopback del SABA: ") +
                 FormatOctets(derived.SabaLoopbackAddress);
    return;
  }
  lines << QStringLiteral("Dirección Lan del ATU-R: ") + FormatOctets(derived.AtuRLanAddress)
        << QStringLiteral("Dirección de subred de la LAN del ATU-R: ") +
               OfficeOnly(variant, FormatOctets(derived.UserNetwork))
        << QStringLiteral("Dirección remota del SABA: ") + FormatOctets(derived.SabaRemoteAddress);
}

void AppendService(QStringList& lines, const ServiceSettingsRecord& settings,
                   const DerivedAddresses& derived, const HeaderVariant& variant) {
  lines << QStringLiteral("Dirección de gestión de EDCs: ") + FormatOctets(settings.EdcNetwork)
        << QStringLiteral("Máscara de gestión de EDCs: ") + FormatOctets(settings.EdcMask)
        << QStringLiteral("Dirección de inicio de gestión de EDC's: ") +
               OfficeOnly(variant, FormatOctets(derived.EdcFirstAddress))
        << QStringLiteral("Dirección de fin de gestión de EDC's: ") +
               OfficeOnly(variant, FormatOctets(derived.EdcLastAddress))
        << QStringLiteral("Dirección IP del DNS: ") + FormatOctets(settings.DnsServer)
        << QStringLiteral("Circuito ATM de usuario: ") + AtmCircuitText(settings.AtmCircuit)
        << QStringLiteral("SCR: ") + OfficeOnly(variant, QString::number(derived.Scr));
}

}  // namespace

QStringList HeaderLines(const SubscriberData& data, const ServiceSettingsRecord& settings,
                        const DerivedAddresses& derived, const HeaderVariant& variant) {
  QStringList lines;
  AppendSubscriber(lines, data, variant);
  AppendModemSide(lines, derived, variant);
  AppendService(lines, settings, derived, variant);
  lines << QString() << QString::fromLatin1(kStartMarker) << variant.keyLine << ModalityWord(data)
        << QString();
  return lines;
}
