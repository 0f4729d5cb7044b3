#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Subscriber lists as spreadsheets export them: one subscriber a row, the columns
// named in a header row, separated by semicolons or commas, in UTF-8 or Windows-1252.
namespace cli {

// UTF-8 (a byte order mark is dropped) when the bytes are valid UTF-8, otherwise
// Windows-1252, which every byte string is; UTF-16 when they start with its byte
// order mark.
[[nodiscard]] QString DecodeListText(const QByteArray& bytes);

// The separator that the first line uses most among ';', ',' and tab (',' when it
// holds none of them, a list of one column).
[[nodiscard]] QChar DetectSeparator(const QString& text);

// The records of the text, each a list of cells. A quoted cell may hold separators, line breaks and
// doubled quotes; a record ends at LF, CR LF or CR. False when a quote is never
// closed: the rest of the file would have been swallowed into one cell.
[[nodiscard]] bool ParseRecords(const QString& text, QChar separator, QList<QStringList>* records);

// A header as a key: lower case, no accents, words joined by '_' without "de" or
// "del" ("Máscara del Módem" gives "mascara_modem").
[[nodiscard]] QString ColumnKey(const QString& header);

}  // namespace cli
