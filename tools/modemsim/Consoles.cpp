#include "modemsim/Consoles.h"

#include "modemsim/EfficientConsole.h"

namespace modemsim {

std::unique_ptr<ModemConsole> MakeConsole(const QString& model, ConsoleHost& host,
                                          const ConsoleOptions& options) {
  if (model == QLatin1String("efficient")) return std::make_unique<EfficientConsole>(host, options);
  return nullptr;
}

QStringList ModelNames() { return {QStringLiteral("efficient")}; }

}  // namespace modemsim
