#include "modemsim/ProConsole.h"

#include <utility>

namespace modemsim {
namespace {

const QByteArray kBanner =
    "\r\n\r\nSpeed Touch Pro ADSL router\r\n"
    "Software release 4.1.2\r\n"
    "Starting services... ok\r\n";
const QByteArray kFreshPrompt = "\r\n=>";
const QByteArray kShortPrompt = "=>";
const QByteArray kSetPassword = "system setpassword password=";

// The command groups of the console; their settings are taken without comment.
const QList<QByteArray> kGroups = {"atmf", "cip",  "ppp", "pptp", "bridge", "phonebook",
                                   "ip",   "dns",  "dhcp", "nat", "config", "system"};

}  // namespace

ProConsole::ProConsole(ConsoleHost& host, ConsoleOptions options)
    : ModemConsole(host, std::move(options)), password_(Options().password) {}

void ProConsole::Started() {
  confirming_ = false;
  Send(kBanner + kFreshPrompt);
}

void ProConsole::LineEntered(const QByteArray& line) {
  echo_ = line + "\r\n";
  const QByteArray& trouble = Options().troubleCommand;
  const bool shortPrompt = Options().behaviour == Behaviour::ShortPrompt && !trouble.isEmpty() &&
                           line.startsWith(trouble);
  promptEnd_ = shortPrompt ? kShortPrompt : kFreshPrompt;
  if (confirming_) return ConfirmReboot(line);
  Command(line);
}

void ProConsole::Command(const QByteArray& line) {
  const QByteArray command = line.trimmed();
  if (command.isEmpty()) return Reply({});
  if (command == "config erase") {
    return Answer({{Options().answerSeconds, echo_ + "Erasing the configuration...\r\n", {}},
                   {Options().defaultsSeconds, "Configuration erased.\r\n" + promptEnd_, {}}});
  }
  if (command == "system reboot") {
    if (Options().behaviour != Behaviour::NoSure) return AnswerAndReboot(echo_);
    confirming_ = true;
    return Answer(echo_ + "Reboot the modem now? (y/n) ");
  }
  if (line.startsWith(kSetPassword)) {
    password_ = line.mid(kSetPassword.size());
    return Reply({});
  }
  if (command == "config save") return Reply("Configuration saved.\r\n");
  if (kGroups.contains(command.split(' ').first())) return Reply({});
  Reply("Unknown command: " + command + "\r\n");
}

void ProConsole::ConfirmReboot(const QByteArray& line) {
  confirming_ = false;
  const QByteArray answer = line.trimmed();
  if (answer == "y" || answer == "Y") return AnswerAndReboot(echo_);
  Reply("Reboot cancelled.\r\n");
}

void ProConsole::Reply(const QByteArray& output) { Answer(echo_ + output + promptEnd_); }

void ProConsole::AnswerAndReboot(const QByteArray& output) {
  Answer({{Options().answerSeconds, output + "Rebooting...\r\n", [this] { Reboot(); }}});
}

}  // namespace modemsim
