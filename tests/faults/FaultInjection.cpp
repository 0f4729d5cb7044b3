#include "faults/FaultInjection.h"

#include <dlfcn.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QDir>
#include <QFile>

namespace faults {
namespace {

// What the calls below are asked to fail: paths that contain `fragment`.
struct CallFault {
  std::atomic<bool> armed{false};
  QByteArray fragment;
  int error = 0;
  std::atomic<int> failed{0};

  void Arm(const QString& what, int err) {
    fragment = what.toLocal8Bit();
    error = err;
    failed = 0;
    armed = true;
  }
  [[nodiscard]] bool Hits(const char* path) const {
    return armed && path != nullptr && std::strstr(path, fragment.constData()) != nullptr;
  }
};

CallFault& TheFault(Call call) {
  static CallFault creating;
  static CallFault closing;
  return call == Call::Create ? creating : closing;
}

QByteArray PathOfDescriptor(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char target[4096];
  const ssize_t n = ::readlink(link, target, sizeof target);
  return n > 0 ? QByteArray(target, static_cast<qsizetype>(n)) : QByteArray();
}

}  // namespace

DiskFullAfter::DiskFullAfter(rlim_t bytes) {
  ::getrlimit(RLIMIT_FSIZE, &saved_);
  rlimit lowered = saved_;
  lowered.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &lowered);
}

DiskFullAfter::~DiskFullAfter() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

FailingCall::FailingCall(Call call, const QString& fragment, int error) : call_(call) {
  TheFault(call_).Arm(fragment, error);
}

FailingCall::~FailingCall() { TheFault(call_).armed = false; }

int FailingCall::Failed() const { return TheFault(call_).failed; }

ReadOnlyMount::ReadOnlyMount(const QString& directory) : directory_(directory.toLocal8Bit()) {
  // A namespace of our own keeps the mount away from the rest of the machine, and
  // ends with the process should the test die.
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    whyNot_ = QStringLiteral("no mount namespace: ") + QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  if (::mount(directory_.constData(), directory_.constData(), nullptr, MS_BIND, nullptr) != 0) {
    whyNot_ = QStringLiteral("no bind mount: ") + QString::fromLocal8Bit(std::strerror(errno));
    return;
  }
  if (::mount(nullptr, directory_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
    whyNot_ = QStringLiteral("no read-only remount: ") + QString::fromLocal8Bit(std::strerror(errno));
    ::umount2(directory_.constData(), MNT_DETACH);
    return;
  }
  active_ = true;
}

ReadOnlyMount::~ReadOnlyMount() {
  if (active_) ::umount2(directory_.constData(), MNT_DETACH);
}

QStringList OpenFilesContaining(const QString& fragment) {
  QStringList paths;
  const QDir descriptors(QStringLiteral("/proc/self/fd"));
  for (const QString& name : descriptors.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
    const QString path = QString::fromLocal8Bit(PathOfDescriptor(name.toInt()));
    if (path.contains(fragment)) paths << path;
  }
  return paths;
}

QStringList EntriesOf(const QString& directory) {
  return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                   QDir::Name);
}

qint64 ResidentBytes() {
  QFile statm(QStringLiteral("/proc/self/statm"));
  if (!statm.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> fields = statm.readAll().split(' ');
  return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
}

}  // namespace faults

// Every close() and mkostemp() of this program's own code comes here first; unarmed,
// they only pass on.
extern "C" int close(int fd) {
  using CloseFunction = int (*)(int);
  static const auto real = reinterpret_cast<CloseFunction>(::dlsym(RTLD_NEXT, "close"));
  faults::CallFault& fault = faults::TheFault(faults::Call::Close);
  if (!fault.armed || !fault.Hits(faults::PathOfDescriptor(fd).constData())) return real(fd);
  (void)real(fd);
  ++fault.failed;
  errno = fault.error;
  return -1;
}

extern "C" int mkostemp(char* pattern, int flags) {
  using CreateFunction = int (*)(char*, int);
  static const auto real = reinterpret_cast<CreateFunction>(::dlsym(RTLD_NEXT, "mkostemp"));
  faults::CallFault& fault = faults::TheFault(faults::Call::Create);
  if (!fault.Hits(pattern)) return real(pattern, flags);
  ++fault.failed;
  errno = fault.error;
  return -1;
}
