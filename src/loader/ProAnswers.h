#pragma once

#include <QByteArray>

// The Speed Touch Pro is judged by how its answer ends, not by a word inside it.

// The console prints an empty line before "=>" once a command is done.
[[nodiscard]] bool IsFreshPrompt(const QByteArray& buffer);
// "=>" among the last three characters: a blank after it still counts, a line break
// does not.
[[nodiscard]] bool IsShortPrompt(const QByteArray& buffer);

// Trims the front of a growing answer buffer, so that a prompt left over from an
// earlier line (a buffer that starts with an empty line and "=>") is not taken for
// the answer. Each cut drops the two characters that follow the first line break,
// with everything before them; it stops when an empty line follows the first line
// break, or when too little is left to judge. A line of one or two characters just
// before the final empty line is cut into, and that prompt is then not seen.
[[nodiscard]] QByteArray DropLeadingLines(QByteArray buffer);
