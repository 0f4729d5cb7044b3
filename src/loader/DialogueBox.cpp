#include "loader/DialogueBox.h"

#include <algorithm>
#include <utility>

#include <QByteArrayView>

#include "loader/LoadingView.h"
#include "platform/Cp1252.h"

namespace {
// How far back of the text being shown the masks can reach: a line that long holds
// any password and its lead whole.
constexpr qsizetype kMaskReach = 4096;
}  // namespace

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
  if (shown_ > content_.size()) return Show();  // shortened while no view showed it
  const qsizetype end = ShowableEnd();
  if (end <= shown_) return;
  // The masks reach no further back than the line being shown, so that line, masked
  // again with what came, tells what the view lacks. Should the masking change what
  // the view already shows, the whole text is shown again.
  qsizetype from = 0;
  if (shown_ > 0) {
    from = std::max({content_.lastIndexOf('\n', shown_ - 1), content_.lastIndexOf('\r', shown_ - 1),
                     shown_ - kMaskReach - 1}) + 1;
  }
  const QByteArray before = MaskPassword(content_.mid(from, shown_ - from), mask_);
  const QByteArray after = MaskPassword(content_.mid(from, end - from), mask_);
  if (!after.startsWith(before)) return Show();
  shown_ = end;
  // Single-byte text: a chunk decodes the same on its own as inside the whole.
  view_->AppendDialogueText(platform::FromCp1252(after.mid(before.size())));
  view_->MoveCaretToEnd();
}

// The end of the text, less what may still become the password: a start of it at
// the very end, or the rest of a line that follows the password's lead.
qsizetype DialogueBox::ShowableEnd() const {
  qsizetype end = content_.size();
  const QByteArray& secret = mask_.secret;
  // A single letter tells nothing and ends many a line ("system reboot"): only two or
  // more are held back.
  for (qsizetype k = std::min(secret.size() - 1, content_.size()); k > 1; --k) {
    if (content_.endsWith(secret.left(k))) {
      end -= k;
      break;
    }
  }
  const QByteArray& lead = mask_.echoLead;
  if (!lead.isEmpty()) {
    // Only the newest text is searched: a flood must not cost a full search per read.
    const qsizetype tail = std::max<qsizetype>(0, content_.size() - kMaskReach);
    const qsizetype found = QByteArrayView(content_).sliced(tail).lastIndexOf(lead);
    if (found >= 0 && content_.indexOf('\r', tail + found + lead.size()) < 0) {
      end = std::min(end, tail + found + lead.size());
    }
  }
  return end;
}

void DialogueBox::Show() {
  if (view_ == nullptr) return;
  shown_ = ShowableEnd();
  view_->SetDialogueText(platform::FromCp1252(MaskPassword(content_.first(shown_), mask_)));
  view_->MoveCaretToEnd();
}
