#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "core/Def_Globales.h"

// The four octet texts of one address or mask, first octet first, exactly as typed.
using TypedQuad = std::array<QString, 4>;

// Which of the two data screens is saving: each accepts only its own mode.
enum class DataScreen { Dhcp, Napt };

// The data screen's values at the moment of saving. Octet texts are kept as typed
// because the file copies them unchanged; only computed addresses are reformatted.
struct SubscriberData {
  QString Title;  // the screen's title, line 1 of the file
  QString Phone;
  TypedQuad UserIp;
  TypedQuad UserMask;
  TypedQuad ModemIp;
  TypedQuad ModemMask;
  // Three options rather than one value: the modality word and the Office traffic
  // figure test them in different orders.
  bool oEstandar = true;
  bool oClass = false;
  bool oPremium = false;
};

// The mode a screen saves in: DHCP for the DHCP screen, NAPT for the other.
[[nodiscard]] constexpr ConfigMode ModeOf(DataScreen screen) { return screen == DataScreen::Dhcp; }

// "Configuración DHCP" or "Configuración NAPT" with the model's suffix (none for an
// unknown model).
[[nodiscard]] QString DataScreenTitle(DataScreen screen, std::int16_t model);

// A freshly opened screen: empty phone, every octet "0" except the NAPT screen's
// modem Ethernet side (172.16.0.1 / 255.255.255.240), Estandar selected.
[[nodiscard]] SubscriberData InitialSubscriberData(DataScreen screen, std::int16_t model);
