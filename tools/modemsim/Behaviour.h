#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace modemsim {

// How the simulated modem misbehaves, if at all. A behaviour that means nothing for a
// model (a login word for the Pro, which asks for none) leaves that model healthy.
enum class Behaviour {
  Healthy,
  Silent,          // never answers anything
  NoPassword,      // no access password set: the Efficient opens at its prompt, the
                   // Office takes any login word
  OtherPassword,   // protected by a password other than the one the program uses
  NoSure,          // the Efficient asks about a reboot without the word "sure"; the
                   // Office and the Pro ask for a confirmation they never get
  SlowCommand,     // the trouble command answers only after slowCommandSeconds
  DeadCommand,     // the console hangs on the trouble command
  Unplugged,       // the adapter is pulled out when the trouble command arrives
  Noise,           // answers carry NULs, backspaces, bare LFs and binary bytes
  FixedWord,       // an Office fresh from the factory: only "velun" logs in
  ShortPrompt,     // the Pro ends every answer to the trouble command with "=>" right
                   // after a line break, with no empty line before it
};

[[nodiscard]] QString BehaviourName(Behaviour behaviour);
[[nodiscard]] bool ParseBehaviour(const QString& name, Behaviour* behaviour);
[[nodiscard]] QStringList BehaviourNames();

struct ConsoleOptions {
  Behaviour behaviour = Behaviour::Healthy;
  // The password the modem is protected with (unless NoPassword or OtherPassword).
  QByteArray password = "tarnimol";
  // The command that SlowCommand, DeadCommand and Unplugged act on: the first line
  // received that starts with this text (ShortPrompt: every such line). The default
  // is the Efficient's; DefaultTroubleCommand gives each model's usual one.
  QByteArray troubleCommand = "set dns";
  double bootSeconds = 2.0;      // from power-on to the first prompt
  double rebootSeconds = 3.0;    // from the reboot confirmation to the prompt
  double answerSeconds = 0.02;   // how long an ordinary command takes
  double defaultsSeconds = 1.5;  // how long restoring the defaults takes
  double slowCommandSeconds = 6.0;
};

}  // namespace modemsim
