#pragma once

#include "cli/CommandLine.h"

namespace cli {

// `cargar`: loads one modem, or several at once, each on its own port, with the
// loading window's sessions.
extern const Command kLoadCommand;

}  // namespace cli
