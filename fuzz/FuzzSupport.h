#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

#include "platform/MessageBoxes.h"

// What every fuzz target needs: Qt, the seams of the platform with test doubles,
// and a way to stop at once when a property does not hold.
namespace fuzzing {

// Message boxes that answer OK (or Yes) at once and remember what they showed.
class AnsweringBoxes final : public platform::MessageBoxes {
 public:
  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override;

  QStringList texts;
  // Runs while the box is "open", as a real modal box would let events through.
  std::function<void(const QString& title)> onShow;
};

// The Qt application and the test doubles, set up at the first use for the whole
// process: answering boxes and an application directory of its own (in memory when
// the machine has /dev/shm, as every run writes files into it).
AnsweringBoxes& Boxes();
// Writes a file of the application directory, making its folder when needed.
void WriteAppFile(const QString& name, const QByteArray& bytes);
// The application directory's file, "" when it cannot be read.
[[nodiscard]] QByteArray ReadAppFile(const QString& name);

// Prints what did not hold and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const QString& what);
inline void Require(bool holds, const char* what) {
  if (!holds) Fail(QString::fromUtf8(what));
}

// The paths of this process's open descriptors inside the application directory.
[[nodiscard]] QStringList OpenAppFiles();

// How many lines a file of these bytes has at most: every CR and LF may end one.
[[nodiscard]] int CountLines(const uint8_t* data, size_t size);

}  // namespace fuzzing
