#include "loader/DialogueBox.h"

#include <utility>

#include "loader/LoadingView.h"
#include "platform/Cp1252.h"

void KeepNewest(QByteArray& text, qsizetype maxBytes) {
  if (text.size() > maxBytes) text.remove(0, text.size() - maxBytes);
}

void DialogueBox::Replace(const QByteArray& bytes) {
  QByteArray kept = bytes;
  KeepNewest(kept);
  // The first-prompt wait replaces the text twice a second, mostly with what is
  // already there: laying the window out again for nothing costs more than the wait.
  if (kept == content_) return;
  content_ = std::move(kept);
  Show();
}

void DialogueBox::Append(const QByteArray& bytes) {
  content_.append(bytes);
  if (content_.size() > kMaxBytes) {
    KeepNewest(content_, kMaxBytes / 2);
    return Show();
  }
  if (view_ == nullptr) return;
  // Single-byte text: a chunk decodes the same on its own as inside the whole.
  view_->AppendDialogueText(platform::FromCp1252(bytes));
  view_->MoveCaretToEnd();
}

void DialogueBox::Show() {
  if (view_ == nullptr) return;
  view_->SetDialogueText(platform::FromCp1252(content_));
  view_->MoveCaretToEnd();
}
