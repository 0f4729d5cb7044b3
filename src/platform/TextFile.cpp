#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Cp1252.h"
#include "platform/ErrorText.h"

namespace platform {
namespace {

// Larger files are not ours: refuse them rather than fill the memory.
constexpr qint64 kMaxReadSize = 16 * 1024 * 1024;

QByteArray Native(const QString& path) { return path.toLocal8Bit(); }

bool Fail(QString* error, int err) {
  if (error) *error = DescribeSystemError(err);
  return false;
}

bool WriteAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    left -= n;
  }
  return true;
}

mode_t SharedMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

QString JoinPath(const QString& directory, const QString& name) {
  if (directory.endsWith(QLatin1Char('/'))) return directory + name;
  return directory + QLatin1Char('/') + name;
}

bool EntryExists(const QString& path) {
  struct stat st {};
  return ::stat(Native(path).constData(), &st) == 0;
}

bool IsRegularFile(const QString& path) {
  struct stat st {};
  return ::stat(Native(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const QString& path) {
  struct stat st {};
  return ::stat(Native(path).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const QString& path, QString* error) {
  if (::mkdir(Native(path).constData(), 0777) == 0) return true;
  return Fail(error, errno);
}

bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error) {
  const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail(error, errno);
  QByteArray content;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return Fail(error, err);
    }
    if (n == 0) break;
    content.append(buffer, n);
    if (content.size() > kMaxReadSize) {
      ::close(fd);
      if (error) *error = QString::fromUtf8(kFileTooLargeText);
      return false;
    }
  }
  ::close(fd);
  *bytes = content;
  return true;
}

QStringList DecodeLines(const QByteArray& bytes) {
  QStringList lines;
  QByteArray current;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes.at(i);
    if (c == '\r' || c == '\n') {
      lines.append(FromCp1252(current));
      current.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n') ++i;
      continue;
    }
    current.append(c);
  }
  if (!current.isEmpty()) lines.append(FromCp1252(current));
  return lines;
}

QByteArray EncodeLines(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) {
    bytes.append(ToCp1252(line));
    bytes.append("\r\n");
  }
  return bytes;
}

bool ReadTextLines(const QString& path, QStringList* lines, QString* error) {
  QByteArray bytes;
  if (!ReadWholeFile(path, &bytes, error)) return false;
  *lines = DecodeLines(bytes);
  return true;
}

int CreateTemporaryBeside(const QString& path, QByteArray* temporary, QString* error,
                          FileAccess access) {
  QByteArray name = Native(path) + ".tmp-XXXXXX";
  // Created exclusively: whatever is already at a name is never opened.
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);  // created 0600
  if (fd < 0) {
    Fail(error, errno);
    return -1;
  }
  if (access == FileAccess::Shared && ::fchmod(fd, SharedMode()) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(name.constData());
    Fail(error, err);
    return -1;
  }
  *temporary = name;
  return fd;
}

bool FinishTemporary(int fd, const QByteArray& temporary, const QString& path, QString* error) {
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const int err = errno;
    ::close(fd);
    ::unlink(temporary.constData());
    return Fail(error, err);
  }
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temporary.constData());
    return Fail(error, err);
  }
  if (::rename(temporary.constData(), Native(path).constData()) != 0) {
    const int err = errno;
    ::unlink(temporary.constData());
    return Fail(error, err);
  }
  return true;
}

bool ReplaceFile(const QString& path, const QByteArray& bytes, QString* error, FileAccess access) {
  if (IsDirectory(path)) return Fail(error, EISDIR);
  QByteArray temp;
  const int fd = CreateTemporaryBeside(path, &temp, error, access);
  if (fd < 0) return false;
  if (!WriteAll(fd, bytes)) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.constData());
    return Fail(error, err);
  }
  return FinishTemporary(fd, temp, path, error);
}

bool ReplaceTextFile(const QString& path, const QStringList& lines, QString* error, FileAccess access) {
  return ReplaceFile(path, EncodeLines(lines), error, access);
}

}  // namespace platform
