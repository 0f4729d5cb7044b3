#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "loader/LoadingView.h"
#include "loader/SessionResult.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

class LoadingSession;
class QSocketNotifier;

// Whoever follows a loading session: the loading window, the command line. Every call
// comes on the thread that made the runner, in the order the session made it. Show()
// is a message box that the session waits for; an observer shows it itself (with the
// installed boxes), not through platform::ShowMessage, which would lead back here.
class SessionObserver : public LoadingView, public platform::MessageBoxes {
 public:
  virtual void SessionEnded(const SessionResult& result) = 0;
};

// Runs loading sessions, one at a time, for one observer, and needs no window: the
// loading window is one observer, the command line another (one runner per port).
//
// OwnThread: each session runs on a thread of its own, which creates and owns the
// serial port and the real clock, so every wait blocks there and never on the
// observer's thread. What the session shows reaches the observer's thread through a
// queue (woken by an eventfd); a message box is asked there and the session's thread
// waits for the answer, so boxes stay modal and in order.
// CallerThread: the session runs inside Start() with the installed clock and link,
// as the tests on the virtual clock need.
class SessionRunner {
 public:
  enum class Threading { OwnThread, CallerThread };
  // CallerThread when a test clock is installed, OwnThread otherwise.
  [[nodiscard]] static Threading ForInstalledClock();

  SessionRunner(SessionObserver& observer, Threading threading);
  // A running session is cancelled and its thread waited for; boxes it asks for
  // meanwhile get their cancelling answer without being shown.
  ~SessionRunner();
  SessionRunner(const SessionRunner&) = delete;
  SessionRunner& operator=(const SessionRunner&) = delete;

  // Starts a session for the phone number; false when one is running. With
  // CallerThread it has ended (and the observer been told) when this returns. A port
  // number other than 0 is the session's own (see LoadingSession::SetPort).
  bool Start(const QString& phone, int port = 0);
  // From any thread: the session ends at its next check (within a fraction of a
  // second outside a message box), the port closed, the log and the user told.
  void Cancel();
  [[nodiscard]] bool IsRunning() const { return running_; }
  // Serves the observer's thread until the session has ended (command line, tests).
  void WaitForEnd();

 private:
  class RelayedView;
  class RelayedBoxes;

  void RunOnThread(const QString& phone, int port);
  // Session thread -> observer's thread.
  void Post(std::function<void()> call);
  void Drain();
  void Ended(const SessionResult& result);

  SessionObserver& observer_;
  const Threading threading_;
  std::atomic<bool> cancel_{false};
  bool running_ = false;  // the observer's thread's view
  bool dying_ = false;    // idem: nothing reaches the observer any more

  // CallerThread: one session object for the runner's life.
  std::unique_ptr<LoadingSession> session_;

  // OwnThread.
  std::thread thread_;
  std::atomic<bool> threadDone_{false};
  QString caption_;          // the observer's caption when the session started
  QByteArray lastDialogue_;  // the dialogue box outlives each session's thread
  int wakeFd_ = -1;
  std::unique_ptr<QSocketNotifier> wake_;
  std::mutex mutex_;
  std::vector<std::function<void()>> pending_;
  // The session thread's clock, while it runs: its waits sleep until their next
  // change, and a cancel interrupts them.
  platform::Clock* sessionClock_ = nullptr;
};
