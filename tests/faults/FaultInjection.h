#pragma once

#include <sys/resource.h>

#include <QString>
#include <QStringList>

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

 private:
  Call call_;
};

// Every entry of a directory, hidden ones included: a temporary left behind shows.
[[nodiscard]] QStringList EntriesOf(const QString& directory);

}  // namespace faults
