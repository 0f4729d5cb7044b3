#include "modemsim/EfficientConsole.h"

#include <utility>

namespace modemsim {
namespace {

const QByteArray kBanner =
    "\r\n\r\nEfficient SS5660 ADSL router\r\n"
    "Boot loader 2.1, system software 5.3.0\r\n"
    "Checking flash memory... ok\r\n"
    "Starting services... ok\r\n\r\n";
const QByteArray kPasswordPrompt = "Password: ";
const QByteArray kCommandPrompt = "Command-> ";
const QByteArray kNewPassword = "New password : ";
const QByteArray kRebootQuestion =
    "Save the configuration as the default and restart. Are you sure? (y/n) ";
const QByteArray kRebootQuestionWithoutSure =
    "Save the configuration as the default and restart? (y/n) ";
const QByteArray kEthipQuestion =
    "The DHCP pool will be reset to the default range. Continue? (y/n) ";

QByteArray OtherPassword(const QByteArray& password) { return password + "-otra"; }

}  // namespace

EfficientConsole::EfficientConsole(ConsoleHost& host, ConsoleOptions options)
    : ModemConsole(host, std::move(options)) {
  switch (Options().behaviour) {
    case Behaviour::NoPassword: break;
    case Behaviour::OtherPassword: password_ = OtherPassword(Options().password); break;
    default: password_ = Options().password; break;
  }
}

void EfficientConsole::Started() {
  if (defaultsAtRestart_) password_.clear();
  defaultsAtRestart_ = false;
  state_ = password_.isEmpty() ? State::Command : State::Password;
  Send(kBanner + (state_ == State::Command ? kCommandPrompt : kPasswordPrompt));
}

bool EfficientConsole::Echoes() const {
  return state_ != State::Password && state_ != State::NewPassword &&
         state_ != State::RepeatPassword;
}

void EfficientConsole::LineEntered(const QByteArray& line) {
  switch (state_) {
    case State::Password: return Login(line);
    case State::Command: return Command(line);
    case State::NewPassword:
      newPassword_ = line;
      state_ = State::RepeatPassword;
      return Answer("\r\n" + kNewPassword);
    case State::RepeatPassword:
      state_ = State::Command;
      if (line != newPassword_) return PromptAfter("\r\nPasswords do not match, nothing changed\r\n\r\n");
      password_ = line;
      return PromptAfter("\r\nPassword changed\r\n\r\n");
    case State::ConfirmReboot:
    case State::ConfirmEthip: return Confirm(line, state_);
  }
}

void EfficientConsole::Login(const QByteArray& line) {
  if (line.isEmpty()) return Answer("\r\n" + kPasswordPrompt);
  if (line != password_) return Answer("\r\nLogin incorrect\r\n\r\n" + kPasswordPrompt);
  state_ = State::Command;
  PromptAfter("\r\n\r\nLogin successful\r\n\r\n");
}

void EfficientConsole::Command(const QByteArray& line) {
  const QByteArray command = line.trimmed();
  if (command.isEmpty()) return Answer(kCommandPrompt);
  if (command == "set password") {
    state_ = State::NewPassword;
    return Answer(kNewPassword);
  }
  if (command == "default all") {
    defaultsAtRestart_ = true;
    return Answer({{Options().answerSeconds, "Restoring factory defaults... ", {}},
                   {Options().defaultsSeconds,
                    "done\r\nThe defaults take effect at the next restart\r\n\r\n" + kCommandPrompt,
                    {}}});
  }
  if (command == "reboot") {
    state_ = State::ConfirmReboot;
    const bool sure = Options().behaviour != Behaviour::NoSure;
    return Answer(sure ? kRebootQuestion : kRebootQuestionWithoutSure);
  }
  if (command.startsWith("set ethip ")) {
    state_ = State::ConfirmEthip;
    return Answer(kEthipQuestion);
  }
  if (command.startsWith("set ") || command.startsWith("show ")) return Answer(kCommandPrompt);
  PromptAfter("Unknown command: " + command + "\r\n\r\n");
}

void EfficientConsole::Confirm(const QByteArray& line, State question) {
  state_ = State::Command;
  const bool yes = line.trimmed() == "y" || line.trimmed() == "Y";
  if (!yes) return PromptAfter("Cancelled\r\n\r\n");
  if (question == State::ConfirmEthip) return PromptAfter("Ethernet address changed\r\n\r\n");
  Answer({{Options().answerSeconds, "Restarting...\r\n", [this] { Reboot(); }}});
}

void EfficientConsole::PromptAfter(const QByteArray& text) { Answer(text + kCommandPrompt); }

}  // namespace modemsim
