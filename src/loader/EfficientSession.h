#pragma once

#include <QByteArray>

#include "loader/SessionResult.h"

class ConfigFileReader;
class ModemDialogue;
class SessionLog;

// The loading sequence of the Efficient SS5660: log in (or set the password on a
// modem that has none), restore the defaults, reboot, log in again and type the
// file's command lines. Reports every outcome itself and returns
// it: loaded, or failed at the step in progress.
SessionResult RunEfficientSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log);

// `answer` starts as the whole dialogue box and collects every answer read, so a
// prompt already on the screen counts.
[[nodiscard]] bool EfficientLogin(ModemDialogue& modem, QByteArray& answer);
// Sets the modem's password to AccessPassword.
[[nodiscard]] bool EfficientSetPassword(ModemDialogue& modem);
// Sends the rest of the file, a line at a time, each followed by a wait for an answer.
bool SendEfficientScript(ModemDialogue& modem, ConfigFileReader& file);
