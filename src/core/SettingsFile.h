#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// conf_gen.dat: the service-wide settings, 17 lines in the application directory.

inline constexpr const char* kSettingsFileName = "conf_gen.dat";
inline constexpr int kSettingsFileLines = 17;

[[nodiscard]] QString SettingsFilePath();

// Fills ServiceSettings from the file, or with the file-less defaults when there is
// none. Each line is stored as soon as it is read, so a failure keeps what came
// before it. Reports its own failure; false when reading stopped.
bool LoadServiceSettings();

// Writes the file from ComPort and the sixteen field texts of the service settings
// screen, in file order (EDC address 1-4, EDC mask 1-4, DNS 1-4, VPI, VCI, minimum,
// maximum). Replaces the file atomically. Reports its own failure.
[[nodiscard]] bool SaveServiceSettings(const QStringList& fieldTexts);

// A line as a 16-bit signed number, blanks around it ignored. On failure, the
// description of why.
[[nodiscard]] bool ParseSettingsNumber(const QString& line, std::int16_t* value, QString* error);
