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
//
// The session writes into a new temporary file beside the log, created exclusively
// so that nothing already there (a link, a pipe) is followed or opened; the finished
// log is renamed over <phone>.log. A session whose log cannot be written therefore
// leaves the previous log whole, and a link at that name is replaced, never written
// through.

inline constexpr const char* kLogsDirectoryName = "Logs";

[[nodiscard]] QString SessionLogPath(const QString& phone);

// True when Logs exists or was created; otherwise shows the platform's description
// (exclamation, the application's title) and returns false.
[[nodiscard]] bool EnsureLogsDirectory();

inline constexpr const char* kPasswordMask = "********";

// How the access password can show in the modem's dialogue: as itself, and after
// `echoLead` (the start of the command that sends it) up to the end of that line,
// where a garbled echo would not match it. An empty field hides nothing.
struct PasswordMask {
  QByteArray secret;
  QByteArray echoLead;
};

// The dialogue with the password as asterisks: what the log writes and what the
// loading screen shows.
[[nodiscard]] QByteArray MaskPassword(QByteArray dialogue, const PasswordMask& mask);

class SessionLog {
 public:
  SessionLog() = default;
  // Finishes a log still open, as Close does.
  ~SessionLog();
  SessionLog(const SessionLog&) = delete;
  SessionLog& operator=(const SessionLog&) = delete;

  // Starts a new log for `path` in a temporary file beside it. A directory or any
  // other entry that is not a plain file (a pipe, a device) at `path` is refused; a
  // symbolic link is not followed. The text of `secret` (when not empty) is masked in
  // every dialogue written afterwards.
  [[nodiscard]] bool Open(const QString& path, const QString& secret, QString* error);
  [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
  // The password as the model's dialogue may show it, from now on.
  void SetPasswordMask(const PasswordMask& mask) { mask_ = mask; }
  // One item and CR LF; the item may hold line breaks of its own. The first failed
  // write is remembered and reported by Close; nothing is written after it.
  // The program's own text:
  void WriteText(const QString& item);
  // What the modem said (a snapshot of the dialogue box), with the password masked:
  void WriteDialogue(const QByteArray& dialogue);
  // Puts the finished log in place of the previous one. False when anything of it
  // could not be written: `error` says why, and the previous log is left whole.
  [[nodiscard]] bool Close(QString* error);

 private:
  void WriteBytes(QByteArray bytes);
  void Discard();

  int fd_ = -1;
  int writeError_ = 0;
  QString path_;
  QByteArray temporary_;
  PasswordMask mask_;
};

// The warning shown after a session whose log could not be written: title
// "Registro de la sesión", exclamation icon, the log's path and `why`.
void ShowSessionLogFailure(const QString& phone, const QString& why);

// The ten header lines, with the date as day/month/year and 24-hour time.
bool WriteSessionLogHeader(SessionLog& log, const QString& phone, const QString& keyLine,
                           const QDateTime& now = QDateTime::currentDateTime());
