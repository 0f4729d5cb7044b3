#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>

#include "modemsim/ConsoleHost.h"

namespace modemsim {

class ModemConsole;

// Serves a simulated console in real time on a pseudo-terminal. It holds the master
// side only: the slave is the "serial port" that the program opens, exclusively, as
// it would open a real one. Everything that touches the console runs on the thread
// that calls Run.
class PtyServer final : public ConsoleHost {
 public:
  PtyServer() = default;
  ~PtyServer() override;
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  [[nodiscard]] bool Create(QString* error);
  // The device the program opens, such as /dev/pts/4.
  [[nodiscard]] const QString& SlavePath() const { return slave_; }
  // Makes <application directory>/puertos/com<number> name the slave, so the program
  // finds the simulated modem on that port number.
  [[nodiscard]] bool LinkAsPort(const QString& appDirectory, int number, QString* error);

  void Attach(ModemConsole* console) { console_ = console; }
  // Sees every byte: 'R' for received, 'T' for transmitted.
  std::function<void(char direction, const QByteArray& bytes)> trace;

  // Paces both directions as a line at this many baud would (ten bits a byte); 0,
  // the default, passes bytes as fast as the pseudo-terminal takes them.
  void SetLineRate(int baudRate);

  // Serves until `stop` is set or the line has been hung up.
  void Run(const std::atomic<bool>& stop);
  [[nodiscard]] bool HungUp() const { return hungUp_; }

  // ConsoleHost
  void After(double seconds, std::function<void()> action) override;
  void Transmit(const QByteArray& bytes) override;
  void HangUp() override;

 private:
  [[nodiscard]] double Now() const;
  void RunDue();
  void ReadLine();
  void Write(const QByteArray& bytes);

  int master_ = -1;
  QString slave_;
  QString link_;
  ModemConsole* console_ = nullptr;
  bool hungUp_ = false;
  std::multimap<double, std::function<void()>> actions_;
  // Line pacing: the time a byte takes, and when each direction is free again.
  double secondsPerByte_ = 0;
  double sendFreeAt_ = 0;
  double receiveFreeAt_ = 0;
  std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
};

}  // namespace modemsim
