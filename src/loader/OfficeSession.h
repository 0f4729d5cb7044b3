#pragma once

#include <QByteArray>

#include "loader/SessionResult.h"

class ConfigFileReader;
class ModemDialogue;
class SessionLog;

// The loading sequence of the Alcatel Speed Touch Office: log in, erase the
// configuration, reboot, log in again, set the administrator password and type the
// file's command lines. Reports every outcome itself and returns
// it: loaded, or failed at the step in progress.
SessionResult RunOfficeSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log);

// Tries AccessPassword twice and then the factory word twice at the "Login:" prompt.
// `answer` starts as the whole dialogue box and collects every answer read, so a "#"
// already on the screen counts.
[[nodiscard]] bool OfficeLogin(ModemDialogue& modem, QByteArray& answer);

// Sends the administrator line and then the rest of the file, a line at a time, each
// followed by a wait for the "#" prompt. An empty rest of file sends nothing at all.
bool SendOfficeScript(ModemDialogue& modem, ConfigFileReader& file);
