#pragma once

#include <QByteArray>
#include <QString>

namespace modemsim {

// Every chunk that crossed the line, with the moment it crossed, so that a program's
// reaction times can be measured from the modem's side without touching the program.
// One line per chunk: monotonic seconds (the clock of CLOCK_MONOTONIC, shared by every
// process on the machine), 'R' (to the modem) or 'T' (from it), and the bytes in hex.
class TimingLog {
 public:
  TimingLog() = default;
  ~TimingLog();
  TimingLog(const TimingLog&) = delete;
  TimingLog& operator=(const TimingLog&) = delete;

  // Creates or empties the file.
  [[nodiscard]] bool Open(const QString& path, QString* error);
  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  // Takes the time at once: call it right after the read or right before the write.
  // Lines are kept in memory and written in large blocks (and at the end), so that
  // recording adds no file write between a byte's arrival and the modem's answer.
  void Record(char direction, const QByteArray& bytes);

 private:
  static constexpr qsizetype kFlushBytes = 1 << 16;

  void Flush();

  int fd_ = -1;
  QByteArray pending_;
};

}  // namespace modemsim
