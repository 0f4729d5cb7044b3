#include "loader/ConfigFileReader.h"

#include "loader/SequenceSteps.h"

#include "platform/ErrorText.h"
#include "platform/TextFile.h"

bool ConfigFileReader::Open(const QString& path, QString* error) {
  QStringList lines;
  if (!platform::ReadTextLines(path, &lines, error)) return false;
  lines_ = lines;
  next_ = 0;
  open_ = true;
  return true;
}

bool ConfigFileReader::ReadLine(QString* line, QString* error) {
  if (!open_ || AtEnd()) {
    *error = QString::fromUtf8(platform::kEndOfFileText);
    return false;
  }
  *line = lines_.at(next_++);
  return true;
}

bool ConfigFileReader::Close(QString* /*error*/) {
  // Nothing is held open once the file has been read.
  open_ = false;
  lines_.clear();
  next_ = 0;
  return true;
}

int ConfigFileReader::RemainingCommandLines() const {
  int count = 0;
  for (qsizetype i = next_; i < lines_.size(); ++i) {
    if (!sequence::IsSkippedLine(lines_.at(i))) ++count;
  }
  return count;
}
