#pragma once

#include <QString>
#include <cstdint>

#include "config/SubscriberData.h"
#include "core/Def_Globales.h"

// The data screens' save side, without widgets. Each function reports its own
// failures in message boxes and returns false; nothing is passed on.

// The phone becomes a file name, so anything but digits is refused like a missing
// phone, with the same critical box.
[[nodiscard]] bool IsUsableSubscriberPhone(const QString& phone);

// The checks made before saving, in this order, the first failure shown in a
// critical box: phone empty or not digits only, an empty octet of the user IP, user
// mask, modem IP or modem mask, for the Speed Touch Pro a modem mask shorter than 24
// bits, a service setting that the settings screen would refuse (an octet outside 0
// to 255, a VPI outside 1 to 9, a VCI outside 1 to 99: the subscriber's own data
// first, then the settings that the file adds to it), and last a computed address
// that the file would write with an octet outside 0 to 255.
[[nodiscard]] bool ValidateSubscriberData(const SubscriberData& data, DataScreen screen,
                                          std::int16_t model,
                                          const ServiceSettingsRecord& settings = ServiceSettings);

// True when Configuraciones exists as a directory or has just been created; a
// failure is shown with the system's description.
[[nodiscard]] bool EnsureConfigDirectory();

// Writes the subscriber's file with the generator of the model and the screen's
// mode, replacing any earlier file whole. A save that would write nothing (no
// model, or a mode that is not the screen's) leaves an existing file untouched; a
// failed write leaves the previous file as it was.
[[nodiscard]] bool SaveConfiguration(const SubscriberData& data, DataScreen screen,
                                     std::int16_t model, ConfigMode mode,
                                     const ServiceSettingsRecord& settings = ServiceSettings);

// What the data screens' "&Salvar" button does: validate, make sure the directory
// exists, ask before replacing a stored file, save, and confirm. The screen passes
// SelectedModel and SelectedMode as they are at that moment. True when the file was
// written; on any failure the screen keeps its data.
[[nodiscard]] bool SaveSubscriberConfiguration(
    const SubscriberData& data, DataScreen screen, std::int16_t model, ConfigMode mode,
    const ServiceSettingsRecord& settings = ServiceSettings);
