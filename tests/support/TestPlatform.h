#pragma once

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>

#include "platform/AppDirectory.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"

namespace testing_support {

// One message box as the user would have seen it.
struct ShownBox {
  QString text;
  QString title;
  platform::MsgIcon icon = platform::MsgIcon::None;
  platform::MsgButtons buttons = platform::MsgButtons::Ok;

  bool operator==(const ShownBox&) const = default;
};

// Records every box and answers from a script; without a scripted answer it presses
// the first button (OK or Yes).
class RecordingMessageBoxes final : public platform::MessageBoxes {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override {
    const ShownBox box{text, title, icon, buttons};
    shown.append(box);
    if (onShow) onShow(box);
    if (answers_.empty()) {
      return buttons == platform::MsgButtons::YesNo ? platform::MsgAnswer::Yes : platform::MsgAnswer::Ok;
    }
    const auto answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  void Answer(platform::MsgAnswer answer) { answers_.push_back(answer); }
  [[nodiscard]] QStringList Texts() const {
    QStringList texts;
    for (const ShownBox& box : shown) texts << box.text;
    return texts;
  }
  // Runs while the box is "open", as a real modal box would let events through.
  std::function<void(const ShownBox&)> onShow;

  QList<ShownBox> shown;

 private:
  std::deque<platform::MsgAnswer> answers_;
};

// Installs the test doubles and a fresh application directory for one test, and puts
// the previous services back afterwards.
class TestPlatform {
 public:
  TestPlatform() : appDirectory_(dir_.path()), saved_(platform::Current()) {
    platform::Current().messages = &boxes;
    platform::Current().appDirectory = &appDirectory_;
  }
  ~TestPlatform() { platform::Current() = saved_; }
  TestPlatform(const TestPlatform&) = delete;
  TestPlatform& operator=(const TestPlatform&) = delete;

  [[nodiscard]] QString Dir() const { return dir_.path(); }
  [[nodiscard]] QString PathOf(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  // Whole file content, "" when absent.
  [[nodiscard]] QByteArray Read(const QString& name) const {
    QFile file(PathOf(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile file(PathOf(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
  }

  RecordingMessageBoxes boxes;

 private:
  QTemporaryDir dir_;
  platform::FixedAppDirectory appDirectory_;
  platform::Services saved_;
};

}  // namespace testing_support
