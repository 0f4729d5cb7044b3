#include "loader/SessionLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Cp1252.h"
#include "platform/ErrorText.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

QString SessionLogPath(const QString& phone) {
  return platform::JoinPath(platform::AppPath(QString::fromLatin1(kLogsDirectoryName)),
                            phone + QStringLiteral(".log"));
}

bool EnsureLogsDirectory() {
  const QString path = platform::AppPath(QString::fromLatin1(kLogsDirectoryName));
  if (platform::IsDirectory(path)) return true;
  QString error;
  if (platform::MakeDirectory(path, &error)) return true;
  platform::ShowSystemWarning(error);
  return false;
}

SessionLog::~SessionLog() {
  if (fd_ >= 0) ::close(fd_);
}

bool SessionLog::Open(const QString& path, const QString& secret, QString* error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    *error = platform::DescribeSystemError(errno);
    return false;
  }
  secret_ = platform::ToCp1252(secret);
  return true;
}

void SessionLog::WriteText(const QString& item) { WriteBytes(platform::ToCp1252(item)); }

void SessionLog::WriteDialogue(const QByteArray& dialogue) {
  QByteArray masked = dialogue;
  if (!secret_.isEmpty()) masked.replace(secret_, kPasswordMask);
  WriteBytes(masked);
}

void SessionLog::WriteBytes(QByteArray line) {
  if (fd_ < 0) return;
  line.append("\r\n");
  const char* data = line.constData();
  qsizetype left = line.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    left -= n;
  }
}

bool SessionLog::Close(QString* error) {
  if (fd_ < 0) return true;
  const int fd = fd_;
  fd_ = -1;
  secret_.clear();
  if (::close(fd) != 0) {
    *error = platform::DescribeSystemError(errno);
    return false;
  }
  return true;
}

bool WriteSessionLogHeader(SessionLog& log, const QString& phone, const QString& keyLine,
                           const QDateTime& now) {
  log.WriteText(QStringLiteral("Sesión de configuración"));
  log.WriteText(QStringLiteral("======================="));
  log.WriteText(QString());
  log.WriteText(QString());
  log.WriteText(QStringLiteral("Abonado: ") + phone);
  log.WriteText(QStringLiteral("Tipo de configuración: ") + keyLine);
  log.WriteText(QStringLiteral("Fecha: ") + now.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
  log.WriteText(QString());
  log.WriteText(QStringLiteral("-- Comienzo de detalle de sesión --"));
  log.WriteText(QString());
  return true;
}
