#pragma once

#include <QString>

#include <atomic>
#include <memory>

#include "loader/DialogueBox.h"
#include "loader/SessionResult.h"
#include "loader/SessionStatus.h"
#include "platform/Clock.h"
#include "platform/SerialLink.h"

class LoadingView;

// The loading screen without its widgets: the session driver and the serial port
// and dialogue text that live as long as the screen.
class LoadingSession {
 public:
  // The installed clock and a new link of the installed kind.
  explicit LoadingSession(LoadingView* view);
  LoadingSession(LoadingView* view, std::unique_ptr<platform::SerialLink> link,
                 platform::Clock& clock);
  ~LoadingSession();
  LoadingSession(const LoadingSession&) = delete;
  LoadingSession& operator=(const LoadingSession&) = delete;

  // One loading session for the phone number as typed: finds the subscriber's file,
  // recognises the model, runs its sequence and writes the session log. Always returns
  // the screen to idle, every file and the port closed, and says how it ended.
  SessionResult cInstalar_Click(const QString& phone);

  // Set from any thread, the flag ends the running session at its next check: nothing
  // more is sent, the port is closed and the log and the user are told. The owner
  // clears it before each session; nullptr: no cancelling.
  void SetCancelFlag(const std::atomic<bool>* flag) { cancel_ = flag; }
  // A port number of the session's own, for one of several sessions at once: it then
  // leaves the process-wide settings and model selection alone. 0 (the default): the
  // port of the service settings, and the model recorded as selected, as the window.
  void SetPort(int port) { port_ = port; }

  // Leaving the screen: the port is closed if open.
  void ClosePort();
  // The window is going away: nothing is shown from now on, while a running session
  // goes on to its end without it.
  void DetachView();
  [[nodiscard]] bool IsRunning() const { return running_; }

  [[nodiscard]] DialogueBox& Dialogue() { return box_; }
  [[nodiscard]] platform::SerialLink& Link() { return *link_; }

 private:
  class Run;

  LoadingView* view_ = nullptr;
  std::unique_ptr<platform::SerialLink> link_;
  platform::Clock& clock_;
  DialogueBox box_;
  SessionStatus status_;
  bool running_ = false;
  const std::atomic<bool>* cancel_ = nullptr;
  int port_ = 0;
};
