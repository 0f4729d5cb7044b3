#include "faults/FaultInjection.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QDir>

namespace faults {
namespace {

// What the calls below are asked to fail: paths that contain `fragment`.
struct CallFault {
  std::atomic<bool> armed{false};
  QByteArray fragment;
  int error = 0;

  [[nodiscard]] bool Hits(const char* path) const {
    return armed && path != nullptr && std::strstr(path, fragment.constData()) != nullptr;
  }
};

CallFault& TheFault(Call call) {
  static CallFault all[2];
  return all[static_cast<int>(call)];
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
  CallFault& fault = TheFault(call);
  fault.fragment = fragment.toLocal8Bit();
  fault.error = error;
  fault.armed = true;
}

FailingCall::~FailingCall() { TheFault(call_).armed = false; }

QStringList EntriesOf(const QString& directory) {
  return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                   QDir::Name);
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
  errno = fault.error;
  return -1;
}

extern "C" int mkostemp(char* pattern, int flags) {
  using CreateFunction = int (*)(char*, int);
  static const auto real = reinterpret_cast<CreateFunction>(::dlsym(RTLD_NEXT, "mkostemp"));
  faults::CallFault& fault = faults::TheFault(faults::Call::Create);
  if (!fault.Hits(pattern)) return real(pattern, flags);
  errno = fault.error;
  return -1;
}
