#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "platform/MessageBoxes.h"

namespace cli {

// The message boxes of a command: the shared code reports through the same seam as
// on the screens, and each box becomes one "title: text" on standard error.
class ConsoleMessageBoxes final : public platform::MessageBoxes {
 public:
  // With err null the boxes are only kept in `shown`. Questions (OK/Cancel, Yes/No)
  // are answered OK or Yes when acceptQuestions, Cancel or No otherwise.
  ConsoleMessageBoxes(QTextStream* err, bool acceptQuestions)
      : err_(err), acceptQuestions_(acceptQuestions) {}

  platform::MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                           platform::MsgButtons buttons) override;

  // Every box so far as "title: text" (a text of several lines keeps them).
  QStringList shown;
  // Questions answered Cancel or No.
  int declinedQuestions = 0;

 private:
  QTextStream* err_;
  bool acceptQuestions_;
};

// A box's "title: text" on one line, for a report of one line per subscriber.
[[nodiscard]] QString OneLine(const QString& text);

}  // namespace cli
