#pragma once

#include <QString>

// How a loading session ended, for the window, the log and the command line.
struct SessionResult {
  enum class Outcome { Loaded, Failed, Cancelled };

  Outcome outcome = Outcome::Failed;
  // The step in progress when it failed (the status line's words); "" when it failed
  // before the modem dialogue began (no file, no marker, no known model...).
  QString step;

  [[nodiscard]] static SessionResult Loaded() { return {Outcome::Loaded, {}}; }
  [[nodiscard]] static SessionResult FailedAt(const QString& step) { return {Outcome::Failed, step}; }
  [[nodiscard]] static SessionResult Cancelled() { return {Outcome::Cancelled, {}}; }

  bool operator==(const SessionResult&) const = default;
};
