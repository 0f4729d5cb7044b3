#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

#include "config/SubscriberData.h"

namespace modemsim {

// The simulated console of a model: "efficient", "office" or "pro".
[[nodiscard]] QString ConsoleName(std::int16_t model);

// The file a data screen saves for the model, with an example subscriber and example
// service settings, for sessions against the simulated modem.
[[nodiscard]] QStringList ExampleConfigFile(std::int16_t model, DataScreen screen, const QString& phone);

}  // namespace modemsim
