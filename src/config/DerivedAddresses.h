#pragma once

#include <QString>
#include <cstdint>

#include "config/SubscriberData.h"
#include "core/Def_Globales.h"

// Every address and figure a configuration file computes rather than copies, all
// worked out in this one place. Additions touch the fourth octet alone, without
// carry, so a result can leave 0 to 255; such data are refused before saving.
struct DerivedAddresses {
  Octets UserNetwork{};          // user IP AND user mask, octet by octet
  Octets ModemNetwork{};         // modem IP AND modem mask
  Octets AtuRLanAddress{};       // UserNetwork, fourth octet + 1 (DHCP)
  Octets SabaRemoteAddress{};    // ModemNetwork, fourth octet + 1 (DHCP)
  Octets SabaLoopbackAddress{};  // UserNetwork, fourth octet + 2 (NAPT)
  Octets EdcFirstAddress{};      // the telnet range the EDCs are allowed from
  Octets EdcLastAddress{};
  std::int16_t Scr = 0;  // ATM traffic figure of the modality
  std::int16_t UserPrefixLength = 0;
  std::int16_t ModemPrefixLength = 0;
};

[[nodiscard]] DerivedAddresses DeriveAddresses(const SubscriberData& data,
                                               const ServiceSettingsRecord& settings);

// True when every octet lies in 0 to 255, so the address can be written.
[[nodiscard]] bool IsWritableAddress(const Octets& address);

// The four typed texts joined by ".", unchanged (a typed "010" stays "010").
[[nodiscard]] QString TypedAddress(const TypedQuad& quad);

// VPI "*" VCI, as the file and the Office and Pro commands write the circuit.
[[nodiscard]] QString AtmCircuitText(const AtmCircuitValue& circuit);

// "Estandar", "Class" or "Premium": the first selected in that order.
[[nodiscard]] QString ModalityWord(const SubscriberData& data);
