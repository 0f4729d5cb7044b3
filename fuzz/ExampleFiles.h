#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "config/SubscriberData.h"

namespace fuzzing {

inline const QString kPhone = QStringLiteral("900123456");
inline const QString kConfigFile = QStringLiteral("Configuraciones/900123456.cfg");
inline const QString kLogFile = QStringLiteral("Logs/900123456.log");

// The file that a data screen saves for the model, with example subscriber data.
[[nodiscard]] QStringList ExampleConfigFile(std::int16_t model, DataScreen screen);

// The simulated console of a model: "efficient", "office" or "pro".
[[nodiscard]] QString ConsoleName(std::int16_t model);

// The bytes the session log ends with when its session read the key line.
[[nodiscard]] QByteArray LogTrailer();

// The application directory's file, "" when it cannot be read.
[[nodiscard]] QByteArray ReadAppFile(const QString& name);

}  // namespace fuzzing
