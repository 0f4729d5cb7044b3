#pragma once

#include <QByteArray>
#include <QString>

#include "modemsim/ConsoleHost.h"
#include "platform/SerialLink.h"
#include "platform/VirtualClock.h"

namespace modemsim {

class ModemConsole;

// A serial link and the line behind it, in one process and on a virtual clock: bytes
// take the time the baud rate gives them, the console answers at scheduled moments,
// and pulling the adapter out breaks the link as a real port breaks.
class SimulatedLink final : public platform::SerialLink, public ConsoleHost {
 public:
  explicit SimulatedLink(platform::VirtualClock& clock) : clock_(clock) {}

  // The modem at the far end of the line; nullptr for none.
  void Attach(ModemConsole* console) { console_ = console; }

  // platform::SerialLink
  [[nodiscard]] bool SetPortNumber(int number, QString* error) override;
  [[nodiscard]] bool SetLineSettings(const platform::LineSettings& settings, QString* error) override;
  [[nodiscard]] bool SetInputLength(int length, QString* error) override;
  [[nodiscard]] bool Open(QString* error) override;
  void Close() override;
  [[nodiscard]] bool IsOpen() const override { return open_; }
  [[nodiscard]] bool Write(const QByteArray& bytes, QString* error) override;
  [[nodiscard]] bool ReadAll(QByteArray* bytes, QString* error) override;
  [[nodiscard]] qint64 TransmitCount() const override { return sending_.size(); }
  [[nodiscard]] QString TakeFailure() override;

  // ConsoleHost
  void After(double seconds, std::function<void()> action) override;
  void Transmit(const QByteArray& bytes) override;
  void HangUp() override;

  // Raw bytes arriving after a delay, for tests that script the far end themselves.
  void ArriveAfter(double seconds, const QByteArray& bytes);
  // The next Open fails with this description (a port in use, say).
  void RefuseOpen(const QString& description) { refuseOpen_ = description; }

  // Every byte that left the computer, in order.
  [[nodiscard]] const QByteArray& Wire() const { return wire_; }
  [[nodiscard]] int PortNumber() const { return port_; }
  [[nodiscard]] const platform::LineSettings& Settings() const { return settings_; }
  [[nodiscard]] int Opens() const { return opens_; }
  // Reads and writes attempted while the port was closed: none should happen.
  [[nodiscard]] int ClosedPortUses() const { return closedUses_; }

 private:
  [[nodiscard]] double SecondsPerByte() const;
  void Deliver(qsizetype count, int session);

  platform::VirtualClock& clock_;
  ModemConsole* console_ = nullptr;
  int port_ = 0;
  platform::LineSettings settings_;
  bool open_ = false;
  bool plugged_ = true;
  double lastByteAt_ = 0;
  // Bytes still on their way when the port closed are dropped, not delivered later.
  int session_ = 0;
  QByteArray sending_;
  QByteArray received_;
  QByteArray wire_;
  QString failure_;
  QString refuseOpen_;
  int opens_ = 0;
  int closedUses_ = 0;
};

}  // namespace modemsim
