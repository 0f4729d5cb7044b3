#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

#include "loader/Deadline.h"
#include "loader/DialogueBox.h"
#include "loader/SessionResult.h"
#include "platform/Clock.h"
#include "platform/SerialLink.h"

class SessionStatus;

// Thrown at the first check after the user cancelled: it unwinds the sequence from
// whatever wait it is in, and the session driver catches it. Never seen by the user.
struct SessionCancelled {};

// The few operations every loading sequence is built from: open the link and wait
// for the console, send a line, read an answer. They run on the session's thread and
// yield to its event loop once per pass of every wait. Every one that talks to the
// modem first checks that the port is open, and does nothing when it is not (beyond
// saying why, once, when the port broke by itself). With a cancel flag, every yield
// and every slice of a pause checks it and throws SessionCancelled once it is set.
class ModemDialogue {
 public:
  ModemDialogue(platform::SerialLink& link, platform::Clock& clock, DialogueBox& box,
                SessionStatus* status = nullptr, const std::atomic<bool>* cancel = nullptr)
      : link_(link), clock_(clock), box_(box), status_(status), cancel_(cancel) {}

  // Sends the bytes and one CR, then waits until they have left. A port that breaks
  // meanwhile ends the wait: the line then counts as not sent.
  [[nodiscard]] bool SendLine(const QByteArray& bytes);
  [[nodiscard]] bool SendLine(const QString& text);

  // After a blocking pause, waits up to 5 s for the first received text and returns
  // it cleaned: only what had arrived at that moment, which may be part of a longer
  // answer. "" when nothing came. Shows it in the dialogue box unless the model is the
  // Speed Touch Pro, whose sequence shows its answers itself.
  [[nodiscard]] QByteArray ReadResponse(int pauseMs);

  // Selects and opens the port, asks the user to power the modem and waits for its
  // first prompt. Cancel leaves the port open: the session closes it at its end.
  [[nodiscard]] bool OpenModemLink(std::int16_t model, int port,
                                   const platform::LineSettings& settings);
  // Wakes the console with a CR LF every half second until the model's prompt shows,
  // replacing the dialogue box with what arrives. Closes the port on failure.
  [[nodiscard]] bool WaitForModemPrompt(std::int16_t model);

  // The session's own port number (several sessions at once, one a port), given
  // before the sequence starts; 0: the port of the service settings.
  void UsePort(int port) { port_ = port; }
  [[nodiscard]] int Port() const { return port_; }

  [[nodiscard]] bool IsOpen() const { return link_.IsOpen(); }
  void ClosePort() { link_.Close(); }
  void Yield();
  // A yield that sleeps, when nothing happens, until the wait's next change.
  void YieldWithin(const Deadline& wait);
  // A yield that does not sleep.
  void ServePending();
  // A pause in slices short enough that a cancel is seen within one.
  void Pause(int milliseconds, const Deadline* countdown = nullptr);
  [[nodiscard]] Deadline StartWait(double limitSeconds) {
    return Deadline(clock_, limitSeconds, status_);
  }
  // The status line of the loading screen: the step in progress, the lines sent.
  void SetStep(const QString& step);
  void SetLines(int sent, int total);
  [[nodiscard]] DialogueBox& Box() { return box_; }
  // A sequence's end: loaded, or failed at the step in progress.
  [[nodiscard]] SessionResult ResultOf(bool loaded) const;

 private:
  // Shows, once, why a port that was open has closed by itself. A port that broke
  // (an adapter pulled out) is a failed write or read for whichever primitive meets
  // it first, whether or not the event loop noticed it inside that primitive.
  void ReportBrokenLink();
  void CheckCancel() const;
  // The pause on a clock that a cancel interrupts: one sleep a countdown step.
  void WatchedPause(int milliseconds, const Deadline* countdown);

  platform::SerialLink& link_;
  platform::Clock& clock_;
  DialogueBox& box_;
  SessionStatus* status_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  int port_ = 0;
  // The model this dialogue talks to, known from OpenModemLink on: kept here rather
  // than read back from the process-wide selection, which another session may change.
  std::optional<std::int16_t> model_;
};
