#pragma once

#include <QString>

// What a loading session shows: the loading screen implements it, the tests record
// it. The dialogue text uses CR LF line breaks.
class LoadingView {
 public:
  virtual ~LoadingView() = default;

  // Replaces the whole dialogue box.
  virtual void SetDialogueText(const QString& text) = 0;
  virtual void AppendDialogueText(const QString& text) = 0;
  // Puts the caret after the last character, so the box shows the last line.
  virtual void MoveCaretToEnd() = 0;

  [[nodiscard]] virtual QString Caption() const = 0;
  virtual void SetCaption(const QString& caption) = 0;
  // The hourglass while a session runs.
  virtual void SetBusyPointer(bool busy) = 0;
  // Both buttons of the screen at once: off while a session runs.
  virtual void SetButtonsEnabled(bool enabled) = 0;
  // The status line: the step in progress and the seconds left of its wait; "" idle.
  virtual void ShowStatus(const QString& text) = 0;
  // Command lines of the file sent so far, out of all of them.
  virtual void ShowProgress(int sent, int total) = 0;
};
