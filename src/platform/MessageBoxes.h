#pragma once

#include <QString>

namespace platform {

enum class MsgIcon { Critical, Exclamation, Information, None };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Modal message boxes. An empty title means the application's title.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MsgAnswer Show(const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons) = 0;
};

inline constexpr const char* kApplicationTitle = "Configurador ADSL";

// While one exists, the boxes shown from its thread go to `boxes` instead of the
// installed ones: a loading session's thread has its observer show them.
class ThreadMessageBoxes {
 public:
  explicit ThreadMessageBoxes(MessageBoxes* boxes);
  ~ThreadMessageBoxes();
  ThreadMessageBoxes(const ThreadMessageBoxes&) = delete;
  ThreadMessageBoxes& operator=(const ThreadMessageBoxes&) = delete;

 private:
  MessageBoxes* previous_;
};

// Shorthands over the thread's or else the installed message boxes (see Platform.h).
MsgAnswer ShowMessage(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok);
// A failed file or port operation outside a loading session: the platform's
// description, exclamation icon, the application's title.
void ShowSystemWarning(const QString& description);
// Critical box with one OK button; every loading step reports through it.
void ShowError(const QString& message, const QString& title);

}  // namespace platform
