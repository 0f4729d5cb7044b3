#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace platform {

// Baud rate, parity ('N', 'E', 'O', 'M' or 'S'), data bits and stop bits.
struct LineSettings {
  int baudRate = 9600;
  char parity = 'N';
  int dataBits = 8;
  int stopBits = 1;
};

// The serial port of the loading screen. Operations that can fail give the
// platform's description of the failure in *error. Bytes go on the wire unchanged:
// callers encode and decode Windows-1252 themselves.
class SerialLink {
 public:
  virtual ~SerialLink() = default;

  // Selects the port Com<number>; fails when there is no such port.
  [[nodiscard]] virtual bool SetPortNumber(int number, QString* error) = 0;
  [[nodiscard]] virtual bool SetLineSettings(const LineSettings& settings, QString* error) = 0;
  // 0: a read returns everything received so far.
  [[nodiscard]] virtual bool SetInputLength(int length, QString* error) = 0;
  // Fails when the port is missing or in use by another program.
  [[nodiscard]] virtual bool Open(QString* error) = 0;
  virtual void Close() = 0;
  [[nodiscard]] virtual bool IsOpen() const = 0;

  // Queues the bytes; they leave while the event loop runs.
  [[nodiscard]] virtual bool Write(const QByteArray& bytes, QString* error) = 0;
  // Everything received since the last read (possibly nothing); empties the buffer.
  [[nodiscard]] virtual bool ReadAll(QByteArray* bytes, QString* error) = 0;
  // Bytes written and not yet sent.
  [[nodiscard]] virtual qint64 TransmitCount() const = 0;

  // A port that broke while open (an adapter pulled out) closes itself and keeps the
  // description of the failure; this hands it over once, "" when there is none.
  [[nodiscard]] virtual QString TakeFailure() = 0;
  // Looks at the device itself, outside the event loop, so that a pause which serves
  // no events still notices an adapter pulled out: a device that has gone breaks the
  // port as a failure seen by the event loop would. Links that notice by themselves
  // need nothing here.
  virtual void CheckDevice() {}
  // The open device's file descriptor, for a sleep that watches it for a hang-up; -1
  // when closed or not a device.
  [[nodiscard]] virtual int Handle() const { return -1; }
};

// A new link from platform::Current().makeSerialLink, or a QSerialPort link when
// none is installed.
[[nodiscard]] std::unique_ptr<SerialLink> NewSerialLink();

}  // namespace platform
