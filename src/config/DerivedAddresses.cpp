#include "config/DerivedAddresses.h"

#include "core/AddressHelpers.h"

namespace {

constexpr std::int16_t kStandardScr = 301;
constexpr std::int16_t kPremiumScr = 707;

// The screens keep octet fields to at most three digits, so the value fits.
std::int16_t OctetValue(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? static_cast<std::int16_t>(value) : 0;
}

Octets Network(const TypedQuad& address, const TypedQuad& mask) {
  Octets network{};
  for (std::size_t k = 0; k < network.size(); ++k) {
    network[k] = static_cast<std::int16_t>(OctetValue(address[k]) & OctetValue(mask[k]));
  }
  return network;
}

Octets WithFourthOctet(Octets address, int fourth) {
  address[3] = static_cast<std::int16_t>(fourth);
  return address;
}

// Class costs the same as Estandar; only Premium buys more. The options are tested
// Class first, unlike the modality word.
std::int16_t ScrOf(const SubscriberData& data) {
  if (data.oClass) return kStandardScr;
  if (data.oPremium) return kPremiumScr;
  if (data.oEstandar) return kStandardScr;
  return 0;
}

std::int16_t PrefixLength(const TypedQuad& mask) {
  return MaskPrefixLength(mask[0], mask[1], mask[2], mask[3]);
}

}  // namespace

DerivedAddresses DeriveAddresses(const SubscriberData& data,
                                 const ServiceSettingsRecord& settings) {
  DerivedAddresses derived;
  derived.UserNetwork = Network(data.UserIp, data.UserMask);
  derived.ModemNetwork = Network(data.ModemIp, data.ModemMask);
  derived.AtuRLanAddress = WithFourthOctet(derived.UserNetwork, derived.UserNetwork[3] + 1);
  derived.SabaRemoteAddress = WithFourthOctet(derived.ModemNetwork, derived.ModemNetwork[3] + 1);
  derived.SabaLoopbackAddress = WithFourthOctet(derived.UserNetwork, derived.UserNetwork[3] + 2);
  // The range is taken from the stored network as it is, not aligned to the mask:
  // first is network + 1, last is network + (block size - 2).
  const Octets& edc = settings.EdcNetwork;
  derived.EdcFirstAddress = WithFourthOctet(edc, edc[3] + 1);
  derived.EdcLastAddress = WithFourthOctet(edc, edc[3] + 254 - settings.EdcMask[3]);
  derived.Scr = ScrOf(data);
  derived.UserPrefixLength = PrefixLength(data.UserMask);
  derived.ModemPrefixLength = PrefixLength(data.ModemMask);
  return derived;
}

bool IsWritableAddress(const Octets& address) {
  for (const auto octet : address) {
    if (octet < 0 || octet > 255) return false;
  }
  return true;
}

QString TypedAddress(const TypedQuad& quad) {
  return quad[0] + QLatin1Char('.') + quad[1] + QLatin1Char('.') + quad[2] + QLatin1Char('.') +
         quad[3];
}

QString AtmCircuitText(const AtmCircuitValue& circuit) {
  return QString::number(circuit.Vpi) + QLatin1Char('*') + QString::number(circuit.Vci);
}

QString ModalityWord(const SubscriberData& data) {
  if (data.oEstandar) return QStringLiteral("Estandar");
  if (data.oClass) return QStringLiteral("Class");
  if (data.oPremium) return QStringLiteral("Premium");
  return {};
}
