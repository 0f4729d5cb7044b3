#include "cli/SubscriberList.h"

#include <QStringDecoder>

#include "platform/Cp1252.h"

namespace cli {

QString DecodeListText(const QByteArray& bytes) {
  // "Unicode text" exports are UTF-16 with a byte order mark.
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    return QStringDecoder(QStringDecoder::Utf16)(bytes);
  }
  QByteArray body = bytes;
  if (body.startsWith("\xEF\xBB\xBF")) body.remove(0, 3);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = utf8.decode(body);
  if (!utf8.hasError()) return text;
  return platform::FromCp1252(bytes);
}

QChar DetectSeparator(const QString& text) {
  qsizetype end = text.indexOf(QLatin1Char('\n'));
  const QString first = text.left(end < 0 ? text.size() : end);
  QChar best = QLatin1Char(',');
  qsizetype bestCount = 0;
  for (const QChar candidate : {QLatin1Char(';'), QLatin1Char(','), QLatin1Char('\t')}) {
    const qsizetype count = first.count(candidate);
    if (count > bestCount) {
      best = candidate;
      bestCount = count;
    }
  }
  return best;
}

bool ParseRecords(const QString& text, QChar separator, QList<QStringList>* records) {
  records->clear();
  const QChar quote = QLatin1Char('"');
  QStringList record;
  QString cell;
  bool quoted = false;
  bool recordOpen = false;  // something of the current record has been read
  auto endRecord = [&] {
    record << cell;
    records->append(record);
    record.clear();
    cell.clear();
    recordOpen = false;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (quoted) {
      if (c == quote) {
        if (i + 1 < text.size() && text.at(i + 1) == quote) {
          cell += quote;
          ++i;
        } else {
          quoted = false;
        }
        continue;
      }
      cell += c;
      continue;
    }
    if (c == quote) {
      quoted = true;
      recordOpen = true;
    } else if (c == separator) {
      record << cell;
      cell.clear();
      recordOpen = true;
    } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
      endRecord();
    } else {
      cell += c;
      recordOpen = true;
    }
  }
  if (quoted) return false;
  if (recordOpen) endRecord();
  return true;
}

QString ColumnKey(const QString& header) {
  QString plain;
  for (const QChar c : header.normalized(QString::NormalizationForm_D)) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    plain += c.isLetterOrNumber() ? c.toLower() : QLatin1Char(' ');
  }
  QStringList words = plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  words.removeIf(
      [](const QString& w) { return w == QLatin1String("de") || w == QLatin1String("del"); });
  return words.join(QLatin1Char('_'));
}

}  // namespace cli
