#pragma once

#include "loader/SessionResult.h"

class ConfigFileReader;
class ModemDialogue;
class SessionLog;

// The loading sequence of the Alcatel Speed Touch Pro, which asks for no login: erase
// the configuration, reboot, set the access password and type the file's command
// lines. Its answers are judged by how they end, so it keeps its own answer buffers
// and shows each one in the dialogue box when its wait is over. Reports every
// outcome itself and returns it: loaded, or failed at the step in progress.
SessionResult RunProSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log);

// Sets the modem's password to AccessPassword.
[[nodiscard]] bool ProSetPassword(ModemDialogue& modem);

// Sends the rest of the file, a line at a time, each followed by a wait for the
// prompt after an empty line; the last line is waited for like any other.
bool SendProScript(ModemDialogue& modem, ConfigFileReader& file);
