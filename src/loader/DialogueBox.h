#pragma once

#include <QByteArray>

class LoadingView;

// The dialogue with the modem as the exact bytes received (after cleaning); the
// view shows their decoding. The text outlives the view: the sequences search it and
// the log copies it even when the window has gone.
class DialogueBox {
 public:
  [[nodiscard]] const QByteArray& Content() const { return content_; }

  // Replaces the whole text and puts the caret at its end.
  void Replace(const QByteArray& bytes);
  // Adds to the end and puts the caret there.
  void Append(const QByteArray& bytes);

  // nullptr when the window has gone; the text is then kept but shown nowhere.
  void AttachView(LoadingView* view) { view_ = view; }

 private:
  QByteArray content_;
  LoadingView* view_ = nullptr;
};
