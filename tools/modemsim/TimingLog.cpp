#include "modemsim/TimingLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "platform/ErrorText.h"

namespace modemsim {

TimingLog::~TimingLog() {
  Flush();
  if (fd_ >= 0) ::close(fd_);
}

bool TimingLog::Open(const QString& path, QString* error) {
  fd_ = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ >= 0) return true;
  *error = platform::DescribeSystemError(errno);
  return false;
}

void TimingLog::Record(char direction, const QByteArray& bytes) {
  if (fd_ < 0) return;
  const double now =
      std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  char stamp[48];
  const int length = std::snprintf(stamp, sizeof stamp, "%.6f %c ", now, direction);
  pending_ += QByteArray(stamp, length) + bytes.toHex() + '\n';
  if (pending_.size() >= kFlushBytes) Flush();
}

void TimingLog::Flush() {
  const char* data = pending_.constData();
  qsizetype left = pending_.size();
  while (fd_ >= 0 && left > 0) {
    const ssize_t n = ::write(fd_, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data += n;
    left -= n;
  }
  pending_.clear();
}

}  // namespace modemsim
