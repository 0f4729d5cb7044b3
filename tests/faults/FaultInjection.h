#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Ways to make the operating system fail the program's file operations, for tests
// that run as root (where permission bits stop nothing).
namespace faults {

// A resource limit lowered for the lifetime of the object.
class ScopedLimit {
 public:
  ScopedLimit(int resource, rlim_t value);
  ~ScopedLimit();
  ScopedLimit(const ScopedLimit&) = delete;
  ScopedLimit& operator=(const ScopedLimit&) = delete;

 private:
  int resource_;
  rlimit saved_{};
};

// A full disk: files cannot grow beyond `bytes` (the write fails with EFBIG; the
// test main ignores SIGXFSZ).
class DiskFullAfter final : public ScopedLimit {
 public:
  explicit DiskFullAfter(rlim_t bytes) : ScopedLimit(RLIMIT_FSIZE, bytes) {}
};

// Creating a file whose path contains `fragment` fails with `error`, as it fails for
// an installer without the right to write in the folder (root is never refused).
class FailingCreate {
 public:
  FailingCreate(QString fragment, int error);
  ~FailingCreate();
  FailingCreate(const FailingCreate&) = delete;
  FailingCreate& operator=(const FailingCreate&) = delete;
};

// close() fails with `error` for every descriptor whose path contains `fragment`,
// as a network file system reports a write it could not complete. The descriptor is
// released all the same, as close() does on Linux.
class FailingClose {
 public:
  FailingClose(QString fragment, int error);
  ~FailingClose();
  FailingClose(const FailingClose&) = delete;
  FailingClose& operator=(const FailingClose&) = delete;

  // How many closes were made to fail.
  [[nodiscard]] int Failed() const;
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
