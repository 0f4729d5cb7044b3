#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "modemsim/ConsoleHost.h"
#include "modemsim/ModemConsole.h"
#include "platform/VirtualClock.h"

namespace fuzzing {

// Where every session target puts the configuration file it loads.
inline const QString kConfigFile = QStringLiteral("Configuraciones/900123456.cfg");

// Makes the modem's console on the session's line and clock.
using ConsoleMaker =
    std::function<std::unique_ptr<modemsim::ModemConsole>(modemsim::ConsoleHost& line, platform::VirtualClock& clock)>;

// One loading session of the file at kConfigFile, of so many lines, on a virtual
// clock against the console made, held to the rules every session keeps: each wait
// ends within its limit; afterwards the port and both files are closed, the screen
// is idle and the log is closed by its trailer, or empty where the file may stop the
// session before it starts. A broken rule aborts.
void RunCheckedSession(const ConsoleMaker& makeConsole, int fileLines, bool logMayBeEmpty);

}  // namespace fuzzing
