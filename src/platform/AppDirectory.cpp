#include "platform/AppDirectory.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace platform {

namespace {

// A program installed into the system's folders keeps its files per user, even when
// root could write beside it.
bool IsSystemFolder(const QString& folder) {
  for (const char* prefix : {"/usr/", "/bin", "/sbin", "/lib"}) {
    if (folder == QLatin1String(prefix) || folder.startsWith(QLatin1String(prefix))) return true;
  }
  return false;
}

}  // namespace

QString DesktopAppDirectory::Path() {
  if (!cached_.isEmpty()) return cached_;
  const QString beside = QCoreApplication::applicationDirPath();
  if (!beside.isEmpty() && !IsSystemFolder(beside) &&
      ::access(beside.toLocal8Bit().constData(), W_OK) == 0) {
    cached_ = beside;
    return cached_;
  }
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  cached_ = QDir(data).filePath(QStringLiteral("configurador-adsl"));
  QDir().mkpath(cached_);
  return cached_;
}

}  // namespace platform
