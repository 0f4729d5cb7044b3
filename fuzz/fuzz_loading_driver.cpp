// The loading driver on an arbitrary configuration file (marker search, key line,
// body), against a healthy simulated modem of the model the file names, if any: the
// session must end within the limits its length allows, with the port and both files
// closed and the screen idle; the log is either empty or closed by its trailer.
#include <cstddef>
#include <cstdint>

#include "fuzz/CheckedSession.h"
#include "fuzz/FuzzSupport.h"
#include "modemsim/Consoles.h"

namespace {

// The console of the first model named anywhere in the file, in the driver's order.
QString ConsoleFor(const QByteArray& file) {
  if (file.contains("Speed Touch Office")) return QStringLiteral("office");
  if (file.contains("Speed Touch Pro")) return QStringLiteral("pro");
  return QStringLiteral("efficient");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  fuzzing::WriteAppFile(fuzzing::kConfigFile, file);
  modemsim::ConsoleOptions quick;
  quick.bootSeconds = 0.5;
  quick.rebootSeconds = 0.5;
  fuzzing::RunCheckedSession(
      [&](modemsim::ConsoleHost& line, auto&) { return modemsim::MakeConsole(ConsoleFor(file), line, quick); },
      fuzzing::CountLines(data, size), true);
  return 0;
}
