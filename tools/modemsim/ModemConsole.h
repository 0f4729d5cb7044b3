#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

#include "modemsim/Behaviour.h"
#include "modemsim/ConsoleHost.h"

namespace modemsim {

// The part of a simulated modem console that every model shares: power and boot,
// the line editor (echo, one line per CR, LF ignored), answers that take time while
// later input waits its turn, the misbehaviours, and a record of every byte received.
// A model supplies its texts and its command interpreter.
class ModemConsole {
 public:
  ModemConsole(ConsoleHost& host, ConsoleOptions options);
  virtual ~ModemConsole() = default;
  ModemConsole(const ModemConsole&) = delete;
  ModemConsole& operator=(const ModemConsole&) = delete;

  // Switches the modem on, or restarts it: silent until it has booted.
  void PowerOn();
  // Bytes from the computer.
  void Receive(const QByteArray& bytes);

  [[nodiscard]] const QByteArray& Received() const { return received_; }
  // What was typed, a line per CR with LFs dropped; the wake-ups are empty lines.
  [[nodiscard]] QList<QByteArray> ReceivedLines() const;
  [[nodiscard]] int Boots() const { return boots_; }
  [[nodiscard]] const ConsoleOptions& Options() const { return options_; }

 protected:
  struct Step {
    double delaySeconds = 0;
    QByteArray text;
    std::function<void()> then;
  };

  // The console has booted: show the banner and the first prompt.
  virtual void Started() = 0;
  // A whole line typed at the console, without its CR.
  virtual void LineEntered(const QByteArray& line) = 0;
  // Whether typed characters are echoed now (not while a password is typed).
  [[nodiscard]] virtual bool Echoes() const = 0;

  // Sends the text after the time the current command takes; input that arrives
  // meanwhile is handled once it is out.
  void Answer(const QByteArray& text);
  // An answer in several parts, each after its own delay.
  void Answer(QList<Step> steps);
  // Restarts the console after the model's reboot time.
  void Reboot();
  // Bytes to the computer at once, through the noise filter when that is on.
  void Send(const QByteArray& bytes);

 private:
  enum class Power { Off, Booting, Running, Hung };

  void Restart(double bootSeconds);
  void ProcessInput();
  void EnterLine(const QByteArray& line);
  [[nodiscard]] bool IsTroubleLine(const QByteArray& line);

  ConsoleHost& host_;
  ConsoleOptions options_;
  Power power_ = Power::Off;
  QByteArray received_;
  QByteArray pending_;
  QByteArray line_;
  bool busy_ = false;
  bool troubleSeen_ = false;
  // Delay of the answer to the line being handled.
  double answerDelay_ = 0;
  // Actions scheduled before a restart belong to a console that no longer runs.
  int epoch_ = 0;
  int boots_ = 0;
};

// The misbehaving line: NULs, a byte rubbed out by a backspace, binary bytes, line
// breaks sent as LF CR, and a bare LF. Cleaning it gives the text back with the
// binary bytes in front.
[[nodiscard]] QByteArray AddNoise(const QByteArray& text);

}  // namespace modemsim
