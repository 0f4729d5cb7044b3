#include "modemsim/SimulatedLink.h"

#include <algorithm>
#include <cerrno>

#include "modemsim/ModemConsole.h"
#include "platform/ErrorText.h"

namespace modemsim {
namespace {

QString NotOpen() { return QStringLiteral("El puerto no está abierto"); }

}  // namespace

bool SimulatedLink::SetPortNumber(int number, QString* error) {
  if (number < 1 || open_) {
    *error = QStringLiteral("Número de puerto no válido");
    return false;
  }
  port_ = number;
  return true;
}

bool SimulatedLink::SetLineSettings(const platform::LineSettings& settings, QString* error) {
  if (settings.baudRate <= 0) {
    *error = QStringLiteral("Velocidad no válida");
    return false;
  }
  settings_ = settings;
  return true;
}

bool SimulatedLink::SetInputLength(int length, QString* error) {
  if (length != 0) {
    *error = QStringLiteral("Longitud de lectura no admitida");
    return false;
  }
  return true;
}

bool SimulatedLink::Open(QString* error) {
  if (!refuseOpen_.isEmpty()) {
    *error = refuseOpen_;
    refuseOpen_.clear();
    return false;
  }
  if (open_ || !plugged_) {
    *error = platform::DescribeSystemError(open_ ? EBUSY : ENODEV);
    return false;
  }
  open_ = true;
  ++opens_;
  received_.clear();
  failure_.clear();
  return true;
}

void SimulatedLink::Close() {
  open_ = false;
  ++session_;
  // A real port drops what it had not sent yet.
  if (plugged_) sending_.clear();
}

bool SimulatedLink::Write(const QByteArray& bytes, QString* error) {
  if (!open_) {
    ++closedUses_;
    *error = NotOpen();
    return false;
  }
  sending_.append(bytes);
  // The bytes leave one after another at the line's speed.
  const qsizetype count = bytes.size();
  const double start = std::max(clock_.Seconds(), lastByteAt_);
  lastByteAt_ = start + SecondsPerByte() * static_cast<double>(count);
  clock_.At(lastByteAt_, [this, count, session = session_] { Deliver(count, session); });
  return true;
}

bool SimulatedLink::ReadAll(QByteArray* bytes, QString* error) {
  bytes->clear();
  if (!open_) {
    ++closedUses_;
    *error = NotOpen();
    return false;
  }
  bytes->swap(received_);
  return true;
}

QString SimulatedLink::TakeFailure() {
  QString failure;
  failure.swap(failure_);
  return failure;
}

void SimulatedLink::After(double seconds, std::function<void()> action) {
  clock_.After(seconds, std::move(action));
}

void SimulatedLink::Transmit(const QByteArray& bytes) {
  // What arrives at a closed port is lost; opening starts from an empty buffer.
  if (open_ && plugged_) received_.append(bytes);
}

void SimulatedLink::HangUp() {
  plugged_ = false;
  // The port notices on its next turn of the event loop, reports once and closes;
  // whatever it was still sending stays stuck.
  clock_.After(0, [this] {
    if (!open_) return;
    failure_ = platform::DescribeSystemError(EIO);
    open_ = false;
  });
}

void SimulatedLink::ArriveAfter(double seconds, const QByteArray& bytes) {
  clock_.After(seconds, [this, bytes] { Transmit(bytes); });
}

double SimulatedLink::SecondsPerByte() const {
  // A start bit, the data bits, a parity bit when there is one, the stop bits.
  const int bits = 1 + settings_.dataBits + (settings_.parity == 'N' ? 0 : 1) + settings_.stopBits;
  return static_cast<double>(bits) / settings_.baudRate;
}

void SimulatedLink::Deliver(qsizetype count, int session) {
  if (!plugged_ || session != session_) return;
  const QByteArray bytes = sending_.left(count);
  sending_.remove(0, bytes.size());
  wire_.append(bytes);
  if (console_ != nullptr) console_->Receive(bytes);
}

}  // namespace modemsim
