#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace modemsim {

// How the simulated modem misbehaves, if at all.
enum class Behaviour {
  Healthy,
  Silent,          // never answers anything
  NoPassword,      // no access password set: the console opens at its prompt
  OtherPassword,   // protected by a password other than the one the program uses
  NoSure,          // asks about a reboot without the word "sure"
  SlowCommand,     // the trouble command answers only after slowCommandSeconds
  DeadCommand,     // the console hangs on the trouble command
  Unplugged,       // the adapter is pulled out when the trouble command arrives
  Noise,           // answers carry NULs, backspaces, bare LFs and binary bytes
};

[[nodiscard]] QString BehaviourName(Behaviour behaviour);
[[nodiscard]] bool ParseBehaviour(const QString& name, Behaviour* behaviour);
[[nodiscard]] QStringList BehaviourNames();

struct ConsoleOptions {
  Behaviour behaviour = Behaviour::Healthy;
  // The password the modem is protected with (unless NoPassword or OtherPassword).
  QByteArray password = "tarnimol";
  // The command that SlowCommand, DeadCommand and Unplugged act on: the first line
  // received that starts with this text.
  QByteArray troubleCommand = "set dns";
  double bootSeconds = 2.0;      // from power-on to the first prompt
  double rebootSeconds = 3.0;    // from the reboot confirmation to the prompt
  double answerSeconds = 0.02;   // how long an ordinary command takes
  double defaultsSeconds = 1.5;  // how long restoring the defaults takes
  double slowCommandSeconds = 6.0;
};

}  // namespace modemsim
