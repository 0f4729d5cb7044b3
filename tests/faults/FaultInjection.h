#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

#include "loader/LoaderTestSupport.h"

// Ways to make the operating system fail the program's file operations, for tests
// that run as root (where permission bits stop nothing).
namespace faults {

// A full disk for the lifetime of the object: files cannot grow beyond `bytes` (the
// write fails with EFBIG; the test main ignores SIGXFSZ).
class DiskFullAfter {
 public:
  explicit DiskFullAfter(rlim_t bytes);
  ~DiskFullAfter();
  DiskFullAfter(const DiskFullAfter&) = delete;
  DiskFullAfter& operator=(const DiskFullAfter&) = delete;

 private:
  rlimit saved_{};
};

// A system call on a path that contains `fragment` fails with `error`: creating a
// file (mkostemp), as it fails for an installer without the right to write in the
// folder (root is never refused), or closing a descriptor, as a network file system
// reports a write it could not complete (the descriptor is released all the same, as
// close() does on Linux).
enum class Call { Create, Close };

class FailingCall {
 public:
  FailingCall(Call call, const QString& fragment, int error);
  ~FailingCall();
  FailingCall(const FailingCall&) = delete;
  FailingCall& operator=(const FailingCall&) = delete;

  // How many calls were made to fail.
  [[nodiscard]] int Failed() const;

 private:
  Call call_;
};

// A directory made read-only by a bind mount over itself, in a mount namespace of
// this process alone. Not every machine allows it: check Active().
class ReadOnlyMount {
 public:
  explicit ReadOnlyMount(const QString& directory);
  ~ReadOnlyMount();
  ReadOnlyMount(const ReadOnlyMount&) = delete;
  ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

  [[nodiscard]] bool Active() const { return active_; }
  [[nodiscard]] const QString& WhyNot() const { return whyNot_; }

 private:
  QByteArray directory_;
  bool active_ = false;
  QString whyNot_;
};

// The paths of this process's open descriptors that contain `fragment`.
[[nodiscard]] QStringList OpenFilesContaining(const QString& fragment);

// Every entry of a directory, hidden ones included: a temporary left behind shows.
[[nodiscard]] QStringList EntriesOf(const QString& directory);

// The resident memory of this process, in bytes.
[[nodiscard]] qint64 ResidentBytes();

// AddressSanitizer keeps freed memory in quarantine, ThreadSanitizer shadows every
// byte: resident memory says little under either.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kResidentMemoryIsMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kResidentMemoryIsMeaningful = false;
#else
inline constexpr bool kResidentMemoryIsMeaningful = true;
#endif
#else
inline constexpr bool kResidentMemoryIsMeaningful = true;
#endif

}  // namespace faults
