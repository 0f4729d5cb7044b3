#pragma once

#include <QSerialPort>
#include <QString>

#include <cstdint>

#include "platform/SerialLink.h"

namespace platform {

// The serial link on QSerialPort. Com N is the device named by the link
// puertos/comN in the application directory when there is one (so a USB adapter or
// a simulated modem can be put on any number), otherwise /dev/ttyS<N-1>.
class QtSerialLink final : public SerialLink {
 public:
  QtSerialLink();
  ~QtSerialLink() override;
  QtSerialLink(const QtSerialLink&) = delete;
  QtSerialLink& operator=(const QtSerialLink&) = delete;

  [[nodiscard]] bool SetPortNumber(int number, QString* error) override;
  [[nodiscard]] bool SetLineSettings(const LineSettings& settings, QString* error) override;
  [[nodiscard]] bool SetInputLength(int length, QString* error) override;
  [[nodiscard]] bool Open(QString* error) override;
  void Close() override;
  [[nodiscard]] bool IsOpen() const override;
  [[nodiscard]] bool Write(const QByteArray& bytes, QString* error) override;
  [[nodiscard]] bool ReadAll(QByteArray* bytes, QString* error) override;
  [[nodiscard]] qint64 TransmitCount() const override;
  [[nodiscard]] QString TakeFailure() override;
  void CheckDevice() override;
  [[nodiscard]] int Handle() const override { return IsOpen() ? static_cast<int>(port_.handle()) : -1; }

  // The device that Com N names; for the tests and the status line.
  [[nodiscard]] QString DevicePath() const { return device_; }
  // The kind of the last failure, so tests need not depend on wording.
  [[nodiscard]] QSerialPort::SerialPortError LastErrorKind() const { return lastKind_; }

 private:
  void OnPortError(QSerialPort::SerialPortError kind);
  // Hands the written bytes to the device at once; false when the port broke.
  [[nodiscard]] bool SendNow();
  [[nodiscard]] QString Describe(QSerialPort::SerialPortError kind);
  // Whether the open port's device has gone: removed, or hung up.
  [[nodiscard]] bool DeviceGone() const;

  QSerialPort port_;
  QString device_;
  int inputLength_ = 0;
  // Set when the open port broke; the port is closed from the event loop, and until
  // then nothing touches it.
  bool broken_ = false;
  QString failure_;
  QSerialPort::SerialPortError lastKind_ = QSerialPort::NoError;
};

// How many times bytes have come in on any port so far: they sit in the port's
// buffer until the caller reads them, and a yield must not sleep on them.
[[nodiscard]] std::uint64_t SerialArrivals();

// Com N as a device path, following the puertos/comN link of the application
// directory. Empty when N is not a port number.
[[nodiscard]] QString SerialDeviceForPort(int number);

inline constexpr const char* kPortLinkDirectory = "puertos";

}  // namespace platform
