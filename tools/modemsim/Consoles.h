#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

#include "modemsim/Behaviour.h"
#include "modemsim/ModemConsole.h"

namespace modemsim {

// The console of a model by its short name ("efficient", "office", "pro"); nullptr
// for a name that has no simulation.
[[nodiscard]] std::unique_ptr<ModemConsole> MakeConsole(const QString& model, ConsoleHost& host,
                                                        const ConsoleOptions& options);
[[nodiscard]] QStringList ModelNames();

// A command of the model's own files for the trouble behaviours to act on; empty for
// a name that has no simulation.
[[nodiscard]] QByteArray DefaultTroubleCommand(const QString& model);

}  // namespace modemsim
