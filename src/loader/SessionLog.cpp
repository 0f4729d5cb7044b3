#include "loader/SessionLog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "loader/SequenceSteps.h"
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
  platform::ShowSystemWarning(platform::DescribeSaveFailure(path, error));
  return false;
}

QByteArray MaskPassword(QByteArray dialogue, const PasswordMask& mask) {
  if (!mask.secret.isEmpty()) dialogue.replace(mask.secret, kPasswordMask);
  if (!mask.echoLead.isEmpty()) dialogue = sequence::MaskEchoedPassword(dialogue, mask.echoLead);
  return dialogue;
}

SessionLog::~SessionLog() {
  QString ignored;
  (void)Close(&ignored);
}

bool SessionLog::Open(const QString& path, const QString& secret, QString* error) {
  Discard();
  // Looked at without following a link: a link is replaced when the log is renamed
  // over it, and a pipe or device at the name is never opened (it could block).
  struct stat st {};
  if (::lstat(path.toLocal8Bit().constData(), &st) == 0 && !S_ISREG(st.st_mode) &&
      !S_ISLNK(st.st_mode)) {
    *error = S_ISDIR(st.st_mode) ? platform::DescribeSystemError(EISDIR)
                                 : QString::fromUtf8(platform::kNotAPlainFileText);
    return false;
  }
  fd_ = platform::CreateTemporaryBeside(path, &temporary_, error);
  if (fd_ < 0) {
    *error = platform::DescribeSaveFailure(path, *error);
    return false;
  }
  path_ = path;
  writeError_ = 0;
  mask_ = {platform::ToCp1252(secret), {}};
  return true;
}

void SessionLog::WriteText(const QString& item) { WriteBytes(platform::ToCp1252(item)); }

void SessionLog::WriteDialogue(const QByteArray& dialogue) { WriteBytes(MaskPassword(dialogue, mask_)); }

void SessionLog::WriteBytes(QByteArray line) {
  if (fd_ < 0 || writeError_ != 0) return;
  line.append("\r\n");
  const char* data = line.constData();
  qsizetype left = line.size();
  while (left > 0) {
    const ssize_t n = ::write(fd_, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      writeError_ = n < 0 ? errno : EIO;
      return;
    }
    data += n;
    left -= n;
  }
}

void SessionLog::Discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  ::unlink(temporary_.constData());
  fd_ = -1;
}

bool SessionLog::Close(QString* error) {
  if (fd_ < 0) return true;
  mask_ = {};
  if (writeError_ != 0) {
    Discard();
    *error = platform::DescribeSystemError(writeError_);
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  return platform::FinishTemporary(fd, temporary_, path_, error);
}

void ShowSessionLogFailure(const QString& phone, const QString& why) {
  platform::ShowMessage(
      QStringLiteral("No se ha podido escribir el registro de la sesión %1: %2\r\n"
                     "El registro anterior de este abonado, si lo había, se conserva sin cambios.")
          .arg(SessionLogPath(phone), why),
      QStringLiteral("Registro de la sesión"), platform::MsgIcon::Exclamation);
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
