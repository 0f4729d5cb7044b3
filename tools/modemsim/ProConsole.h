#pragma once

#include <QByteArray>

#include "modemsim/ModemConsole.h"

namespace modemsim {

// The console of an Alcatel Speed Touch Pro as the loader meets it: no login, a
// banner and the "=>" prompt, every answer ending with an empty line and "=>",
// "config erase", "system reboot" without a question, and
// "system setpassword password=<word>". It echoes a line together with its answer,
// so a reader never sees an echo after the prompt it is waiting for.
class ProConsole final : public ModemConsole {
 public:
  ProConsole(ConsoleHost& host, ConsoleOptions options);

  // The password last set with "system setpassword".
  [[nodiscard]] const QByteArray& Password() const { return password_; }

 protected:
  void Started() override;
  void LineEntered(const QByteArray& line) override;
  [[nodiscard]] bool Echoes() const override { return false; }

 private:
  void Command(const QByteArray& line);
  void ConfirmReboot(const QByteArray& line);
  // The echo, the output lines and the prompt, in one piece.
  void Reply(const QByteArray& output);
  void AnswerAndReboot(const QByteArray& output);

  bool confirming_ = false;
  QByteArray password_;
  // The echo and the end of the answer to the line being handled.
  QByteArray echo_;
  QByteArray promptEnd_;
};

}  // namespace modemsim
