#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

namespace testing_support {

platform::MsgAnswer RecordingMessageBoxes::Show(const QString& text, const QString& title,
                                                platform::MsgIcon icon,
                                                platform::MsgButtons buttons) {
  const ShownBox box{text, title, icon, buttons};
  shown.append(box);
  if (onShow) onShow(box);
  if (!answers_.empty()) {
    const auto answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
}

TestPlatform::TestPlatform() : appDirectory_(dir_.path()), saved_(platform::Current()) {
  platform::Current().messages = &boxes;
  platform::Current().appDirectory = &appDirectory_;
}

TestPlatform::~TestPlatform() { platform::Current() = saved_; }

QString TestPlatform::PathOf(const QString& name) const { return QDir(dir_.path()).filePath(name); }

QByteArray TestPlatform::Read(const QString& name) const {
  QFile file(PathOf(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void TestPlatform::Write(const QString& name, const QByteArray& bytes) const {
  QFile file(PathOf(name));
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

}  // namespace testing_support
