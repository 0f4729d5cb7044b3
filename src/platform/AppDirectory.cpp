#include "platform/AppDirectory.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace platform {

QString DesktopAppDirectory::Path() {
  if (!cached_.isEmpty()) return cached_;
  const QString beside = QCoreApplication::applicationDirPath();
  if (!beside.isEmpty() && ::access(beside.toLocal8Bit().constData(), W_OK) == 0) {
    cached_ = beside;
    return cached_;
  }
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  cached_ = QDir(data).filePath(QStringLiteral("configurador-adsl"));
  QDir().mkpath(cached_);
  return cached_;
}

}  // namespace platform
