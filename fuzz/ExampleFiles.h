#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

#include "config/SubscriberData.h"
#include "modemsim/ExampleFile.h"
#include "platform/Cp1252.h"

namespace fuzzing {

inline const QString kPhone = QStringLiteral("900123456");
inline const QString kConfigFile = QStringLiteral("Configuraciones/900123456.cfg");
inline const QString kLogFile = QStringLiteral("Logs/900123456.log");

// The file that a data screen saves for the model, with example subscriber data.
inline QStringList ExampleConfigFile(std::int16_t model, DataScreen screen) {
  return modemsim::ExampleConfigFile(model, screen, kPhone);
}

using modemsim::ConsoleName;

// The bytes the session log ends with when its session read the key line.
inline QByteArray LogTrailer() { return platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n")); }

}  // namespace fuzzing
