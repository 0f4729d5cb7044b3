#pragma once

#include <QString>
#include <QStringList>

// A subscriber's configuration file, read line by line from the start. The file is
// read whole when opened; lines end at CR LF, CR or LF.
class ConfigFileReader {
 public:
  [[nodiscard]] bool Open(const QString& path, QString* error);
  [[nodiscard]] bool IsOpen() const { return open_; }
  // True when no line is left.
  [[nodiscard]] bool AtEnd() const { return next_ >= lines_.size(); }
  // Fails with the end-of-file description when no line is left.
  [[nodiscard]] bool ReadLine(QString* line, QString* error);
  // The lines still to come that would be sent to the modem (not empty, not comments).
  [[nodiscard]] int RemainingCommandLines() const;
  [[nodiscard]] bool Close(QString* error);

 private:
  QStringList lines_;
  qsizetype next_ = 0;
  bool open_ = false;
};
