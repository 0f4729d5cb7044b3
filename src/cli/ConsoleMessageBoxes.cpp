#include "cli/ConsoleMessageBoxes.h"

namespace cli {

using platform::MsgAnswer;
using platform::MsgButtons;

MsgAnswer ConsoleMessageBoxes::Show(const QString& text, const QString& title, platform::MsgIcon,
                                    MsgButtons buttons) {
  QString line = title.isEmpty() ? QString::fromUtf8(platform::kApplicationTitle) : title;
  line +=
      QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown << line;
  if (err_) *err_ << line << Qt::endl;
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (!acceptQuestions_) ++declinedQuestions;
  if (buttons == MsgButtons::OkCancel) return acceptQuestions_ ? MsgAnswer::Ok : MsgAnswer::Cancel;
  return acceptQuestions_ ? MsgAnswer::Yes : MsgAnswer::No;
}

QString OneLine(const QString& text) {
  return QString(text)
      .replace(QLatin1Char('\n'), QLatin1Char(' '))
      .replace(QLatin1Char('\r'), QLatin1Char(' '))
      .simplified();
}

}  // namespace cli
