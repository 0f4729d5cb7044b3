#pragma once

#include <QByteArray>

#include <functional>

namespace modemsim {

// What a simulated console needs of the world it runs in: time, a way to act later,
// and the line to the computer. The tests give it a virtual clock and an in-process
// serial link; modem-sim gives it real time and a pseudo-terminal.
class ConsoleHost {
 public:
  virtual ~ConsoleHost() = default;

  virtual void After(double seconds, std::function<void()> action) = 0;
  // Bytes from the modem to the computer.
  virtual void Transmit(const QByteArray& bytes) = 0;
  // The serial adapter is pulled out: the line is gone for good.
  virtual void HangUp() = 0;
};

}  // namespace modemsim
