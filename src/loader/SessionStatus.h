#pragma once

#include <QString>

class LoadingView;

// What the loading screen shows under the dialogue while a session runs: the step in
// progress with the seconds left of its wait, and the command lines sent so far. The
// waits can last up to 80 s; this tells the installer the program is not stuck.
class SessionStatus {
 public:
  // nullptr when the window has gone.
  void AttachView(LoadingView* view) { view_ = view; }

  // A new step; the countdown starts again with the step's next wait.
  void SetStep(const QString& step);
  void SetLines(int sent, int total);
  // Idle again: no step, no countdown.
  void Clear();
  // Idle after a failure: "Error en: <step>" stays until the next session starts.
  void ShowFailure(const QString& step);
  [[nodiscard]] const QString& Step() const { return step_; }

  // The outermost wait in progress owns the countdown; waits inside it (a read inside
  // a longer wait for a prompt) only refresh it.
  void BeginWait(const void* wait, double end);
  void Tick(double now);
  void EndWait(const void* wait);

 private:
  void Show();
  void ShowText(const QString& text);

  LoadingView* view_ = nullptr;
  QString step_;
  const void* wait_ = nullptr;
  double end_ = 0;
  int secondsLeft_ = -1;  // no wait in progress
  QString shown_;
};
