#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/AppDirectory.h"
#include "platform/Platform.h"

namespace fuzzing {
namespace {

// Qt keeps the arguments for the application's lifetime, which is the process's: it
// is never destroyed, as Qt's own globals may be gone by the time it would be.
void StartQt() {
  static int argc = 1;
  static char name[] = "adsl-fuzz";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
}

struct Doubles {
  Doubles() : directory(TemporaryPath()), appDirectory(directory.path()) {
    StartQt();
    if (!directory.isValid()) Fail(QStringLiteral("no temporary directory"));
    platform::Current().messages = &boxes;
    platform::Current().appDirectory = &appDirectory;
  }

  static QString TemporaryPath() {
    const QString memory = QStringLiteral("/dev/shm");
    const QString base = QDir(memory).exists() ? memory : QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("adsl-fuzz-XXXXXX"));
  }

  AnsweringBoxes boxes;
  QTemporaryDir directory;
  platform::FixedAppDirectory appDirectory;
};

Doubles& TheDoubles() {
  static Doubles doubles;
  return doubles;
}

QString AppDirectory() { return TheDoubles().directory.path(); }

}  // namespace

platform::MsgAnswer AnsweringBoxes::Show(const QString& text, const QString& title, platform::MsgIcon,
                                         platform::MsgButtons buttons) {
  texts << text;
  if (onShow) onShow(title);
  return buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
}

AnsweringBoxes& Boxes() { return TheDoubles().boxes; }

void WriteAppFile(const QString& name, const QByteArray& bytes) {
  const QString path = QDir(AppDirectory()).filePath(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    Fail(QStringLiteral("cannot write ") + path);
  }
}

QByteArray ReadAppFile(const QString& name) {
  QFile file(QDir(AppDirectory()).filePath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Fail(const QString& what) {
  std::fprintf(stderr, "\n*** %s\n", what.toLocal8Bit().constData());
  std::fflush(stderr);
  std::abort();
}

QStringList OpenAppFiles() {
  QStringList open;
  const QString prefix = AppDirectory();
  const QDir descriptors(QStringLiteral("/proc/self/fd"));
  for (const QString& name : descriptors.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
    const QString path = QFile::symLinkTarget(descriptors.filePath(name));
    if (path.startsWith(prefix)) open << path;
  }
  return open;
}

int CountLines(const uint8_t* data, size_t size) {
  int lines = 1;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\r' || data[i] == '\n') ++lines;
  }
  return lines;
}

}  // namespace fuzzing
