#include "modemsim/OfficeConsole.h"

#include <utility>

namespace modemsim {
namespace {

// Nothing before the login may hold a "#": the loader would take it for the prompt.
const QByteArray kBanner =
    "\r\n\r\nSpeed Touch Office ADSL router\r\n"
    "Software release 3.2.1\r\n"
    "Starting services... ok\r\n\r\n";
const QByteArray kLoginPrompt = "Login: ";
const QByteArray kCommandPrompt = "Office# ";
const QByteArray kFactoryWord = "velun";
const QByteArray kAdminCommand = "system admin ";

// The command groups of the console; their settings are taken without comment.
const QList<QByteArray> kGroups = {"system", "eth", "dhcp", "remote", "ato"};

}  // namespace

OfficeConsole::OfficeConsole(ConsoleHost& host, ConsoleOptions options)
    : ModemConsole(host, std::move(options)) {
  switch (Options().behaviour) {
    case Behaviour::NoPassword: break;
    case Behaviour::OtherPassword: password_ = Options().password + "-otra"; break;
    case Behaviour::FixedWord: password_ = kFactoryWord; break;
    default: password_ = Options().password; break;
  }
}

void OfficeConsole::Started() {
  state_ = State::Login;
  Send(kBanner + kLoginPrompt);
}

void OfficeConsole::LineEntered(const QByteArray& line) {
  switch (state_) {
    case State::Login: return Login(line);
    case State::Command: return Command(line);
    case State::ConfirmReboot: return ConfirmReboot(line);
  }
}

void OfficeConsole::Login(const QByteArray& word) {
  // An empty line (the loader's wake-up) only asks again.
  if (word.isEmpty()) return Answer("\r\n" + kLoginPrompt);
  if (!password_.isEmpty() && word != password_) {
    return Answer("\r\nLogin incorrect\r\n\r\n" + kLoginPrompt);
  }
  state_ = State::Command;
  PromptAfter("\r\n\r\nWelcome to the Speed Touch Office\r\n\r\n");
}

void OfficeConsole::Command(const QByteArray& line) {
  const QByteArray command = line.trimmed();
  if (command.isEmpty()) return Answer(kCommandPrompt);
  if (command == "erase all") {
    return Answer({{Options().answerSeconds, "Erasing the configuration... ", {}},
                   {Options().defaultsSeconds, "done\r\n\r\n" + kCommandPrompt, {}}});
  }
  if (command == "reboot") {
    if (Options().behaviour == Behaviour::NoSure) {
      state_ = State::ConfirmReboot;
      return Answer("Reboot the modem now? (y/n) ");
    }
    return Answer({{Options().answerSeconds, "Rebooting...\r\n", [this] { Reboot(); }}});
  }
  if (line.startsWith(kAdminCommand)) {
    password_ = line.mid(kAdminCommand.size());
    return PromptAfter("Administrator password set\r\n\r\n");
  }
  if (command == "save") return PromptAfter("Configuration saved\r\n\r\n");
  if (kGroups.contains(command.split(' ').first())) return Answer(kCommandPrompt);
  PromptAfter("Unknown command: " + command + "\r\n\r\n");
}

void OfficeConsole::ConfirmReboot(const QByteArray& line) {
  state_ = State::Command;
  const QByteArray answer = line.trimmed();
  if (answer != "y" && answer != "Y") return PromptAfter("Reboot cancelled\r\n\r\n");
  Answer({{Options().answerSeconds, "Rebooting...\r\n", [this] { Reboot(); }}});
}

void OfficeConsole::PromptAfter(const QByteArray& text) { Answer(text + kCommandPrompt); }

}  // namespace modemsim
