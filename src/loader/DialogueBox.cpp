#include "loader/DialogueBox.h"

#include "loader/LoadingView.h"
#include "platform/Cp1252.h"

void DialogueBox::Replace(const QByteArray& bytes) {
  content_ = bytes;
  if (view_ == nullptr) return;
  view_->SetDialogueText(platform::FromCp1252(bytes));
  view_->MoveCaretToEnd();
}

void DialogueBox::Append(const QByteArray& bytes) {
  content_.append(bytes);
  if (view_ == nullptr) return;
  // Single-byte text: a chunk decodes the same on its own as inside the whole.
  view_->AppendDialogueText(platform::FromCp1252(bytes));
  view_->MoveCaretToEnd();
}
