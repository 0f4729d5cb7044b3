#include "screens/PortDiscovery.h"

#include <QFileInfo>

#include "platform/Platform.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

PortDevice DescribePort(int number) {
  PortDevice port;
  const QString link = platform::JoinPath(platform::AppPath(QString::fromLatin1(platform::kPortLinkDirectory)),
                                          QStringLiteral("com%1").arg(number));
  port.viaLink = QFileInfo(link).isSymLink();
  port.device = port.viaLink ? QFileInfo(link).symLinkTarget() : platform::SerialDeviceForPort(number);
  port.present = platform::EntryExists(port.device);
  return port;
}

QString PortDeviceText(int number, const PortDevice& port) {
  const QString where = port.viaLink
                            ? QStringLiteral("%1 (enlace puertos/com%2)").arg(port.device).arg(number)
                            : port.device;
  return QStringLiteral("Dispositivo: %1, %2")
      .arg(where, port.present ? QStringLiteral("presente") : QStringLiteral("no encontrado"));
}
