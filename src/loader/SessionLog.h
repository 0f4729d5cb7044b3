#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Logs/<phone>.log: the record of a subscriber's last loading session, Windows-1252
// with CR LF. The log is the installer's evidence and gets copied around, so the
// access password never reaches it: wherever it occurs in the modem's dialogue it is
// written as asterisks. The program's own lines (header, start line, trailer) are
// written as they are: masking them would turn a short password's digits in the
// phone number or the date into asterisks.

inline constexpr const char* kLogsDirectoryName = "Logs";

[[nodiscard]] QString SessionLogPath(const QString& phone);

// True when Logs exists or was created; otherwise shows the platform's description
// (exclamation, the application's title) and returns false.
[[nodiscard]] bool EnsureLogsDirectory();

class SessionLog {
 public:
  SessionLog() = default;
  ~SessionLog();
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;

  // Creates the file or truncates an earlier one. The text of `secret` (when not
  // empty) is masked in every dialogue written afterwards.
  [[nodiscard]] bool Open(const QString& path, const QString& secret, QString* error);
  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  // One item and CR LF; the item may hold line breaks of its own. Written at once, so
  // a session that ends abruptly still leaves what it did. Failures go unreported.
  // The program's own text:
  void WriteText(const QString& item);
  // What the modem said (a snapshot of the dialogue box), with the password masked:
  void WriteDialogue(const QByteArray& dialogue);
  [[nodiscard]] bool Close(QString* error);

 private:
  void WriteBytes(QByteArray bytes);

  int fd_ = -1;
  QByteArray secret_;
};

inline constexpr const char* kPasswordMask = "********";

// The ten header lines, with the date as day/month/year and 24-hour time.
bool WriteSessionLogHeader(SessionLog& log, const QString& phone, const QString& keyLine,
                           const QDateTime& now = QDateTime::currentDateTime());
