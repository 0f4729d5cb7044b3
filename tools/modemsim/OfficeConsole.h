#pragma once

#include <QByteArray>

#include "modemsim/ModemConsole.h"

namespace modemsim {

// The console of an Alcatel Speed Touch Office as the loader meets it: a banner and
// "Login:", the login word typed without echo, the "Office#" prompt, "erase all"
// (the login word survives it), "reboot" without a question, and
// "system admin <word>" making <word> the login word.
class OfficeConsole final : public ModemConsole {
 public:
  OfficeConsole(ConsoleHost& host, ConsoleOptions options);

  // The word that logs in now; empty when any word does.
  [[nodiscard]] const QByteArray& Password() const { return password_; }
  // Another installer changed it, say.
  void SetPassword(const QByteArray& password) { password_ = password; }

 protected:
  void Started() override;
  void LineEntered(const QByteArray& line) override;
  [[nodiscard]] bool Echoes() const override { return state_ != State::Login; }

 private:
  enum class State { Login, Command, ConfirmReboot };

  void Login(const QByteArray& word);
  void Command(const QByteArray& line);
  void ConfirmReboot(const QByteArray& line);
  void PromptAfter(const QByteArray& text);

  State state_ = State::Login;
  QByteArray password_;
};

}  // namespace modemsim
