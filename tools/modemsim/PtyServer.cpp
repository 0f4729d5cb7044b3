#include "modemsim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <thread>

#include <QDir>
#include <QFile>

#include "modemsim/ModemConsole.h"
#include "platform/ErrorText.h"
#include "platform/SerialAdapters.h"

namespace modemsim {
namespace {

// How long the loop waits at most, so that `stop` is noticed promptly.
constexpr int kPollMs = 20;

QString SystemError() { return platform::DescribeSystemError(errno); }

timespec ToTimespec(double seconds) {
  const auto whole = static_cast<time_t>(seconds);
  return {whole, static_cast<long>((seconds - static_cast<double>(whole)) * 1e9)};
}

}  // namespace

PtyServer::~PtyServer() {
  if (master_ >= 0) ::close(master_);
  if (!link_.isEmpty() && QFile::symLinkTarget(link_) == slave_) QFile::remove(link_);
}

bool PtyServer::Create(QString* error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    *error = SystemError();
    return false;
  }
  char name[128] = {};
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    *error = SystemError();
    return false;
  }
  slave_ = QString::fromLocal8Bit(name);
  // A serial line carries bytes as they are: no echo, no line editing, no CR/LF
  // translation, from the first byte on.
  termios raw {};
  if (::tcgetattr(master_, &raw) == 0) {
    ::cfmakeraw(&raw);
    (void)::tcsetattr(master_, TCSANOW, &raw);
  }
  const int flags = ::fcntl(master_, F_GETFL);
  (void)::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
  return true;
}

bool PtyServer::LinkAsPort(const QString& appDirectory, int number, QString* error) {
  const QString directory = QDir(appDirectory).filePath(QStringLiteral("puertos"));
  if (!QDir().mkpath(directory)) {
    *error = QStringLiteral("No se ha podido crear %1").arg(directory);
    return false;
  }
  const QString link = QDir(directory).filePath(QStringLiteral("com%1").arg(number));
  // A program loading through this port meanwhile sees the old device or the new one.
  if (!platform::ReplaceSymlink(link, slave_, error)) return false;
  link_ = link;
  return true;
}

void PtyServer::SetLineRate(int baudRate) {
  secondsPerByte_ = baudRate > 0 ? 10.0 / baudRate : 0.0;
}

void PtyServer::Run(const std::atomic<bool>& stop) {
  while (!stop.load() && master_ >= 0) {
    RunDue();
    if (master_ < 0) break;
    // To the microsecond: a paced line schedules bytes a fraction of a millisecond apart.
    double timeout = kPollMs / 1000.0;
    if (!actions_.empty()) timeout = std::clamp(actions_.begin()->first - Now(), 0.0, timeout);
    pollfd watch{master_, POLLIN, 0};
    const timespec limit = ToTimespec(timeout);
    if (::ppoll(&watch, 1, &limit, nullptr) < 0) continue;
    if ((watch.revents & POLLIN) != 0) {
      ReadLine();
    } else if ((watch.revents & (POLLHUP | POLLERR)) != 0) {
      // Nobody has the port open: nothing to read until somebody does.
      std::this_thread::sleep_for(std::chrono::duration<double>(timeout));
    }
  }
}

void PtyServer::ReadLine() {
  char buffer[512];
  const ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) {
    // EIO: the program closed the port; it may open it again.
    if (n < 0 && errno != EAGAIN && errno != EINTR) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    }
    return;
  }
  const QByteArray bytes(buffer, n);
  if (trace) trace('R', bytes);
  if (console_ == nullptr) return;
  if (secondsPerByte_ <= 0) return console_->Receive(bytes);
  // Byte by byte, each when the line has carried it, so the echo overlaps the typing
  // as it does on a real line.
  for (const char byte : bytes) {
    receiveFreeAt_ = std::max(Now(), receiveFreeAt_) + secondsPerByte_;
    actions_.emplace(receiveFreeAt_, [this, byte] {
      if (console_ != nullptr) console_->Receive(QByteArray(1, byte));
    });
  }
}

void PtyServer::After(double seconds, std::function<void()> action) {
  actions_.emplace(Now() + std::max(seconds, 0.0), std::move(action));
}

void PtyServer::Transmit(const QByteArray& bytes) {
  if (master_ < 0 || bytes.isEmpty()) return;
  if (secondsPerByte_ <= 0) return Write(bytes);
  // The computer sees the bytes when the line has carried the last of them.
  sendFreeAt_ = std::max(Now(), sendFreeAt_) + secondsPerByte_ * static_cast<double>(bytes.size());
  actions_.emplace(sendFreeAt_, [this, bytes] { Write(bytes); });
}

void PtyServer::Write(const QByteArray& bytes) {
  if (master_ < 0) return;
  if (trace) trace('T', bytes);
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(master_, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // the line is full or nobody listens: the rest is lost
    data += n;
    left -= n;
  }
}

void PtyServer::HangUp() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
  hungUp_ = true;
  actions_.clear();
}

double PtyServer::Now() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
}

void PtyServer::RunDue() {
  while (!actions_.empty() && actions_.begin()->first <= Now()) {
    auto first = actions_.begin();
    auto action = std::move(first->second);
    actions_.erase(first);
    action();
  }
}

}  // namespace modemsim
