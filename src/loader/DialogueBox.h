#pragma once

#include <QByteArray>

#include "loader/SessionLog.h"

class LoadingView;

// The dialogue with the modem as the exact bytes received (after cleaning); the
// view shows their decoding. The text outlives the view: the sequences search it and
// the log copies it even when the window has gone.
//
// The view never shows the access password: the text it gets is masked as the log
// masks it, and the end of what came is held back while it may still turn into the
// password (a read can end in the middle of it).
//
// A modem that floods the line must not fill the memory: the box keeps the newest
// kMaxBytes only, far more than any normal session shows. When appending goes past
// that, the older half goes at once, so that a flood does not rewrite the window on
// every read.
class DialogueBox {
 public:
  static constexpr qsizetype kMaxBytes = qsizetype{1} << 20;

  [[nodiscard]] const QByteArray& Content() const { return content_; }

  // Replaces the whole text and puts the caret at its end; the same text again
  // leaves the view alone.
  void Replace(const QByteArray& bytes);
  // Adds to the end and puts the caret there.
  void Append(const QByteArray& bytes);

  // nullptr when the window has gone; the text is then kept but shown nowhere.
  void AttachView(LoadingView* view) { view_ = view; }
  // The password to hide from the view from now on.
  void SetPasswordMask(const PasswordMask& mask) { mask_ = mask; }

 private:
  void Show();
  [[nodiscard]] qsizetype ShowableEnd() const;

  QByteArray content_;
  LoadingView* view_ = nullptr;
  PasswordMask mask_;
  // How much of content_ the view shows (masked); the rest is held back.
  qsizetype shown_ = 0;
};

// Drops the oldest text of a wait's buffer beyond `maxBytes`. The waits test their
// buffers after every read, so what goes has been looked at already.
void KeepNewest(QByteArray& text, qsizetype maxBytes = DialogueBox::kMaxBytes);
