#include "platform/QtSerialLink.h"

#include <poll.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>

#include <QFileInfo>
#include <QTimer>

#include "platform/ErrorText.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace platform {
namespace {

bool IsSymbolicLink(const QString& path) {
  struct stat st {};
  return ::lstat(path.toLocal8Bit().constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool ToParity(char parity, QSerialPort::Parity* out) {
  switch (parity) {
    case 'N': case 'n': *out = QSerialPort::NoParity; return true;
    case 'E': case 'e': *out = QSerialPort::EvenParity; return true;
    case 'O': case 'o': *out = QSerialPort::OddParity; return true;
    case 'M': case 'm': *out = QSerialPort::MarkParity; return true;
    case 'S': case 's': *out = QSerialPort::SpaceParity; return true;
    default: return false;
  }
}

// Sessions on several threads count together: a yield then serves one turn more.
std::atomic<std::uint64_t> arrivals{0};

QString InvalidSetting(const char* what) {
  return QStringLiteral("Valor no válido para %1 del puerto serie").arg(QString::fromUtf8(what));
}

}  // namespace

std::uint64_t SerialArrivals() { return arrivals.load(std::memory_order_relaxed); }

QString SerialDeviceForPort(int number) {
  if (number < 1) return {};
  const QString link = JoinPath(AppPath(QString::fromLatin1(kPortLinkDirectory)),
                                QStringLiteral("com%1").arg(number));
  if (!IsSymbolicLink(link)) return QStringLiteral("/dev/ttyS%1").arg(number - 1);
  // The target's own name keeps the lock file the same whichever name opened it.
  const QString target = QFileInfo(link).canonicalFilePath();
  return target.isEmpty() ? link : target;
}

QtSerialLink::QtSerialLink() {
  QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                   [this](QSerialPort::SerialPortError kind) { OnPortError(kind); });
  QObject::connect(&port_, &QSerialPort::readyRead, &port_, [] { arrivals.fetch_add(1, std::memory_order_relaxed); });
}

QtSerialLink::~QtSerialLink() { Close(); }

bool QtSerialLink::SetPortNumber(int number, QString* error) {
  if (port_.isOpen()) {
    *error = Describe(QSerialPort::OpenError);
    return false;
  }
  const QString device = SerialDeviceForPort(number);
  if (device.isEmpty()) {
    *error = QStringLiteral("Número de puerto no válido: %1").arg(number);
    return false;
  }
  if (!EntryExists(device)) {
    *error = QStringLiteral("COM%1 (%2): %3").arg(number).arg(device, DescribeSystemError(ENOENT));
    return false;
  }
  device_ = device;
  port_.setPortName(device_);
  return true;
}

bool QtSerialLink::SetLineSettings(const LineSettings& settings, QString* error) {
  QSerialPort::Parity parity = QSerialPort::NoParity;
  if (settings.baudRate <= 0 || !port_.setBaudRate(settings.baudRate)) {
    *error = InvalidSetting("la velocidad");
    return false;
  }
  if (!ToParity(settings.parity, &parity) || !port_.setParity(parity)) {
    *error = InvalidSetting("la paridad");
    return false;
  }
  if (settings.dataBits < 5 || settings.dataBits > 8 ||
      !port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits))) {
    *error = InvalidSetting("los bits de datos");
    return false;
  }
  if ((settings.stopBits != 1 && settings.stopBits != 2) ||
      !port_.setStopBits(settings.stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop)) {
    *error = InvalidSetting("los bits de parada");
    return false;
  }
  // The modems' consoles have no handshake lines.
  if (!port_.setFlowControl(QSerialPort::NoFlowControl)) {
    *error = InvalidSetting("el control de flujo");
    return false;
  }
  return true;
}

bool QtSerialLink::SetInputLength(int length, QString* error) {
  if (length < 0) {
    *error = InvalidSetting("la longitud de lectura");
    return false;
  }
  inputLength_ = length;
  return true;
}

bool QtSerialLink::Open(QString* error) {
  if (device_.isEmpty()) {
    *error = QStringLiteral("No se ha seleccionado ningún puerto serie");
    return false;
  }
  if (port_.isOpen()) {
    *error = Describe(QSerialPort::OpenError);
    return false;
  }
  failure_.clear();
  broken_ = false;
  if (!port_.open(QIODevice::ReadWrite)) {
    *error = Describe(port_.error());
    port_.clearError();
    return false;
  }
  // What the device received before it was opened belongs to nobody.
  port_.clear();
  return true;
}

void QtSerialLink::Close() {
  broken_ = false;
  if (port_.isOpen()) port_.close();
}

bool QtSerialLink::IsOpen() const { return port_.isOpen() && !broken_; }

bool QtSerialLink::Write(const QByteArray& bytes, QString* error) {
  if (!IsOpen()) {
    const QString failure = TakeFailure();
    *error = failure.isEmpty() ? Describe(QSerialPort::NotOpenError) : failure;
    return false;
  }
  if (port_.write(bytes) != bytes.size() || !SendNow()) {
    const QString failure = TakeFailure();
    *error = failure.isEmpty() ? Describe(QSerialPort::WriteError) : failure;
    return false;
  }
  return true;
}

bool QtSerialLink::SendNow() {
  // QSerialPort sends from the event loop, after whatever else is pending there
  // (repaints of the dialogue box): the modem would wait for them. A device that
  // cannot take the bytes now is left to the event loop, since QSerialPort takes a
  // full buffer (EAGAIN) for a lost device.
  pollfd device{port_.handle(), POLLOUT, 0};
  if (::poll(&device, 1, 0) != 1 || (device.revents & POLLOUT) == 0) return true;
  (void)port_.flush();
  // A device that fails now has broken: OnPortError has kept the description.
  return IsOpen();
}

bool QtSerialLink::ReadAll(QByteArray* bytes, QString* error) {
  bytes->clear();
  if (!IsOpen()) {
    const QString failure = TakeFailure();
    *error = failure.isEmpty() ? Describe(QSerialPort::NotOpenError) : failure;
    return false;
  }
  *bytes = inputLength_ > 0 ? port_.read(inputLength_) : port_.readAll();
  return true;
}

qint64 QtSerialLink::TransmitCount() const { return IsOpen() ? port_.bytesToWrite() : 0; }

QString QtSerialLink::TakeFailure() {
  QString failure;
  failure.swap(failure_);
  return failure;
}

void QtSerialLink::OnPortError(QSerialPort::SerialPortError kind) {
  if (kind == QSerialPort::NoError || kind == QSerialPort::TimeoutError) return;
  lastKind_ = kind;
  // Failures of a closed port are returned by the call that caused them. A broken
  // port may report the same failure again (a stale errno): the first one counts.
  if (!port_.isOpen() || broken_) return;
  broken_ = true;
  // A pulled-out adapter (or a closed pseudo-terminal) often shows up as a failed
  // read or write; the installer should hear that the device went away.
  if ((kind == QSerialPort::ReadError || kind == QSerialPort::WriteError) && DeviceGone()) {
    kind = QSerialPort::ResourceError;
  }
  failure_ = Describe(kind);
  // Closing from inside the port's own signal is not safe; the event loop does it.
  QTimer::singleShot(0, &port_, [this] {
    if (broken_ && port_.isOpen()) port_.close();
    broken_ = false;
  });
}

bool QtSerialLink::DeviceGone() const {
  if (!EntryExists(device_)) return true;
  pollfd device{port_.handle(), POLLIN | POLLOUT, 0};
  return ::poll(&device, 1, 0) == 1 && (device.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

QString QtSerialLink::Describe(QSerialPort::SerialPortError kind) {
  lastKind_ = kind;
  const QString port = device_.isEmpty() ? QStringLiteral("serie") : device_;
  switch (kind) {
    case QSerialPort::DeviceNotFoundError:
      return QStringLiteral("El puerto %1 no existe o no está conectado").arg(port);
    case QSerialPort::PermissionError:
      return QStringLiteral("El puerto %1 está en uso por otro programa o no hay permiso para "
                            "abrirlo").arg(port);
    case QSerialPort::OpenError:
      return QStringLiteral("El puerto %1 ya está abierto").arg(port);
    case QSerialPort::NotOpenError:
      return QStringLiteral("El puerto %1 no está abierto").arg(port);
    case QSerialPort::WriteError:
      return QStringLiteral("Error al escribir en el puerto %1").arg(port);
    case QSerialPort::ReadError:
      return QStringLiteral("Error al leer del puerto %1").arg(port);
    case QSerialPort::ResourceError:
      return QStringLiteral("El puerto %1 ha dejado de estar disponible (se ha desconectado "
                            "el dispositivo)").arg(port);
    case QSerialPort::UnsupportedOperationError:
      return QStringLiteral("Operación no admitida por el puerto %1").arg(port);
    default:
      return QStringLiteral("Error en el puerto %1: %2").arg(port, port_.errorString());
  }
}

std::unique_ptr<SerialLink> NewSerialLink() {
  if (Current().makeSerialLink) return Current().makeSerialLink();
  return std::make_unique<QtSerialLink>();
}

}  // namespace platform
