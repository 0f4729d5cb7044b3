#include "platform/SerialAdapters.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "platform/ErrorText.h"
#include "platform/Platform.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

namespace platform {
namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

int AccessError(const QString& path) {
  return ::access(Native(path).constData(), R_OK | W_OK) == 0 ? 0 : errno;
}

// A ttyS node exists for every port the kernel could drive; only those with a UART
// behind them answer. sysfs tells without opening; TIOCGSERIAL is the fallback.
bool UartAnswers(const AdapterScan& scan, const QString& name) {
  QFile type(QDir(scan.sysTtyFolder).filePath(name + QStringLiteral("/type")));
  if (type.open(QIODevice::ReadOnly)) return type.readAll().trimmed() != "0";
  const int fd = ::open(Native(QDir(scan.devFolder).filePath(name)).constData(),
                        O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  const bool real = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
  ::close(fd);
  return real;
}

}  // namespace

QString ReadableAdapterName(const QString& byIdName) {
  QString name = byIdName;
  // udev writes unusual characters as \xNN.
  static const QRegularExpression escaped(QStringLiteral(R"(\\x([0-9A-Fa-f]{2}))"));
  for (auto m = escaped.match(name); m.hasMatch(); m = escaped.match(name)) {
    name.replace(m.capturedStart(), m.capturedLength(), QChar(m.captured(1).toInt(nullptr, 16)));
  }
  static const QRegularExpression bus(QStringLiteral("^(usb|pci|platform)-"));
  static const QRegularExpression interface(QStringLiteral("(-if[0-9A-Fa-f]+)?(-port[0-9]+)?$"));
  name.remove(bus);
  name.remove(interface);
  name.replace(QLatin1Char('_'), QLatin1Char(' '));
  name = name.simplified();
  return name.isEmpty() ? byIdName : name;
}

AdapterListing ListSerialAdapters(const AdapterScan& scan) {
  AdapterListing listing;
  const auto accessError = scan.accessError ? scan.accessError : AccessError;

  const QDir byId(scan.byIdFolder);
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files, QDir::Name)) {
    const QString device = link.canonicalFilePath();
    if (device.isEmpty()) continue;  // a link to nothing: the adapter is going away
    listing.adapters.push_back({ReadableAdapterName(link.fileName()), link.absoluteFilePath(), device});
  }

  static const QRegularExpression ttyS(QStringLiteral("^ttyS([0-9]+)$"));
  std::vector<std::pair<int, QString>> ports;
  for (const QString& name : QDir(scan.devFolder).entryList(QDir::System | QDir::Files)) {
    const auto m = ttyS.match(name);
    if (m.hasMatch()) ports.emplace_back(m.captured(1).toInt(), name);
  }
  std::sort(ports.begin(), ports.end());
  for (const auto& [number, name] : ports) {
    if (!UartAnswers(scan, name)) continue;
    const QString path = QDir(scan.devFolder).filePath(name);
    listing.adapters.push_back(
        {QStringLiteral("Puerto serie del equipo %1 (Com%2)").arg(name).arg(number + 1), path, path});
  }

  for (const SerialAdapter& adapter : listing.adapters) {
    const int error = accessError(adapter.device);
    if (error == EACCES || error == EPERM) listing.accessDenied = true;
  }
  return listing;
}

bool ReplaceSymlink(const QString& link, const QString& target, QString* error) {
  const QString fresh = link + QStringLiteral(".%1.nuevo").arg(::getpid());
  ::unlink(Native(fresh).constData());  // left over by a run that died halfway
  if (::symlink(Native(target).constData(), Native(fresh).constData()) != 0 ||
      ::rename(Native(fresh).constData(), Native(link).constData()) != 0) {
    const int failure = errno;
    ::unlink(Native(fresh).constData());
    *error = DescribeSystemError(failure);
    return false;
  }
  return true;
}

bool MapPortToDevice(int number, const QString& target, QString* error) {
  const QString folder = AppPath(QString::fromLatin1(kPortLinkDirectory));
  if (!IsDirectory(folder) && !MakeDirectory(folder, error)) return false;
  return ReplaceSymlink(JoinPath(folder, QStringLiteral("com%1").arg(number)), target, error);
}

}  // namespace platform
