#include "modemsim/Consoles.h"

#include "modemsim/EfficientConsole.h"
#include "modemsim/OfficeConsole.h"
#include "modemsim/ProConsole.h"

namespace modemsim {

std::unique_ptr<ModemConsole> MakeConsole(const QString& model, ConsoleHost& host,
                                          const ConsoleOptions& options) {
  if (model == QLatin1String("efficient")) return std::make_unique<EfficientConsole>(host, options);
  if (model == QLatin1String("office")) return std::make_unique<OfficeConsole>(host, options);
  if (model == QLatin1String("pro")) return std::make_unique<ProConsole>(host, options);
  return nullptr;
}

QStringList ModelNames() {
  return {QStringLiteral("efficient"), QStringLiteral("office"), QStringLiteral("pro")};
}

QByteArray DefaultTroubleCommand(const QString& model) {
  if (model == QLatin1String("efficient")) return "set dns";
  if (model == QLatin1String("office")) return "remote setpvc";
  if (model == QLatin1String("pro")) return "cip pvcadd";
  return {};
}

}  // namespace modemsim
