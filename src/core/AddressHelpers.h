#pragma once

#include <QString>

#include <cstdint>

// Eight characters "1" or "0", most significant bit first.
[[nodiscard]] QString ByteToBits(std::uint8_t value);

// The number of leading one-bits of a mask given as the texts of its four octets.
// Only the leading run counts; texts that are not 0 to 255 count as 0.
[[nodiscard]] std::int16_t MaskPrefixLength(const QString& octet1, const QString& octet2,
                                             const QString& octet3, const QString& octet4);

inline constexpr const char* kConfigDirectoryName = "Configuraciones";

// Application directory / Configuraciones / phone.cfg, the phone used unchanged.
[[nodiscard]] QString ConfigFilePath(const QString& phone);
// True when a regular file of that path exists; never reports anything.
[[nodiscard]] bool ConfigFileExists(const QString& phone);

// A phone number names files, so it may hold nothing but the digits 0 to 9.
[[nodiscard]] bool IsDigitsOnly(const QString& text);
