#pragma once

#include <QString>
#include <QStringList>

#include <memory>

#include "modemsim/Behaviour.h"
#include "modemsim/ModemConsole.h"

namespace modemsim {

// The console of a model by its short name ("efficient"); nullptr for a name that
// has no simulation.
[[nodiscard]] std::unique_ptr<ModemConsole> MakeConsole(const QString& model, ConsoleHost& host,
                                                        const ConsoleOptions& options);
[[nodiscard]] QStringList ModelNames();

}  // namespace modemsim
