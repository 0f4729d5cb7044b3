#pragma once

#include <QByteArray>

#include "modemsim/ModemConsole.h"

namespace modemsim {

// The console of an Efficient SS5660 as the loader meets it: a banner, "Password:"
// when a password is set, the "Command->" prompt, "set password" asking
// "New password :" twice, "default all" (the password goes at the next restart),
// and "reboot" asking for confirmation. Questions that take a "y" mention the
// default configuration, which the loader accepts as an answer.
class EfficientConsole final : public ModemConsole {
 public:
  EfficientConsole(ConsoleHost& host, ConsoleOptions options);

  // The password in force; empty when the console asks for none.
  [[nodiscard]] const QByteArray& Password() const { return password_; }

 protected:
  void Started() override;
  void LineEntered(const QByteArray& line) override;
  [[nodiscard]] bool Echoes() const override;

 private:
  enum class State { Password, Command, NewPassword, RepeatPassword, ConfirmReboot, ConfirmEthip };

  void Login(const QByteArray& line);
  void Command(const QByteArray& line);
  void Confirm(const QByteArray& line, State question);
  void PromptAfter(const QByteArray& text);

  State state_ = State::Password;
  QByteArray password_;
  QByteArray newPassword_;
  bool defaultsAtRestart_ = false;
};

}  // namespace modemsim
