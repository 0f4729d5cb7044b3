#pragma once

#include <QPointer>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

// The process-wide state that every screen reads and writes directly: the service
// settings record and the modem selection. Lives from start to exit, one copy.

// An IPv4 address or mask, first octet most significant.
using Octets = std::array<std::int16_t, 4>;

struct AtmCircuitValue {
  std::int16_t Vpi = 0;
  std::int16_t Vci = 0;
};

struct ServiceSettingsRecord {
  std::int16_t ComPort = 0;
  QString AccessPassword;
  QString DefaultAccessPassword;
  Octets DnsServer{};
  Octets EdcNetwork{};
  Octets EdcMask{};
  AtmCircuitValue AtmCircuit;
  std::int16_t PhoneMinDigits = 0;
  std::int16_t PhoneMaxDigits = 0;
};

// Positions in the selection dialog's list; the loader numbers models the same way.
enum ModemModel : std::int16_t {
  kSpeedTouchOffice = 0,
  kSpeedTouchPro = 1,
  kEfficientSS5660 = 2,
};

// DHCP (true) or NAPT (false).
using ConfigMode = bool;

inline ServiceSettingsRecord ServiceSettings;
inline std::int16_t SelectedModel = kSpeedTouchOffice;
inline ConfigMode SelectedMode = true;
// The selection dialog that the data screens go back to; empty when not loaded.
inline QPointer<QObject> SelectionDialog;

// The operator's factory addresses, used both at start-up and when conf_gen.dat is
// absent. They are documentation addresses until an operator sets its own.
inline constexpr Octets kOperatorDnsServer{198, 51, 100, 53};
inline constexpr Octets kOperatorEdcNetwork{192, 0, 2, 16};
inline constexpr Octets kDefaultEdcMask{255, 255, 255, 240};
inline constexpr const char* kFactoryAccessPassword = "tarnimol";

// The main menu's load step: the values in force before any file is read.
void SetStartupValues();

// Four octets joined by ".", as plain decimal numbers.
[[nodiscard]] QString FormatOctets(const Octets& octets);
