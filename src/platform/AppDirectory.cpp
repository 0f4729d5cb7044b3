#include "platform/AppDirectory.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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

// By creating a file there: permission bits say nothing for root, nor of a
// read-only file system.
bool CanWrite(const QString& folder) {
  QByteArray probe = QDir(folder).filePath(QStringLiteral(".escritura-XXXXXX")).toLocal8Bit();
  const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.constData());
  return true;
}

bool HoldsInstallerFiles(const QString& folder) {
  for (const char* name : {"conf_gen.dat", "claves.dat", "Configuraciones", "Logs"}) {
    if (QFileInfo::exists(QDir(folder).filePath(QLatin1String(name)))) return true;
  }
  return false;
}

}  // namespace

void DesktopAppDirectory::Choose() {
  if (beside_.isEmpty()) beside_ = QCoreApplication::applicationDirPath();
  const bool systemFolder = beside_.isEmpty() || IsSystemFolder(beside_);
  if (!systemFolder && CanWrite(beside_)) {
    cached_ = beside_;
    return;
  }
  if (perUser_.isEmpty()) {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    perUser_ = QDir(data).filePath(QStringLiteral("configurador-adsl"));
  }
  cached_ = perUser_;
  QDir().mkpath(cached_);
  writable_ = CanWrite(cached_);
  // Otherwise the folder's settings and subscribers would seem to have vanished.
  if (!systemFolder && HoldsInstallerFiles(beside_)) {
    notice_ = QStringLiteral("La carpeta %1 no admite escritura; se usará %2.\r\n"
                             "La configuración, la clave y los abonados guardados en %1 no se "
                             "usarán mientras tanto.")
                  .arg(QDir::toNativeSeparators(beside_), QDir::toNativeSeparators(cached_));
  }
  if (!writable_) {
    notice_ += (notice_.isEmpty()
                    ? QStringLiteral("La carpeta %1 no admite escritura: no se podrá guardar nada.")
                    : QStringLiteral("\r\nTampoco la carpeta %1 admite escritura: no se podrá guardar nada."))
                   .arg(QDir::toNativeSeparators(cached_));
  }
}

QString DesktopAppDirectory::Path() {
  if (cached_.isEmpty()) Choose();
  return cached_;
}

QString DesktopAppDirectory::TakeStartupNotice() {
  if (cached_.isEmpty()) Choose();
  QString notice;
  notice.swap(notice_);
  return notice;
}

bool DesktopAppDirectory::Writable() {
  if (cached_.isEmpty()) Choose();
  return writable_;
}

}  // namespace platform
