#pragma once

#include <QByteArray>

// Normalises one chunk of what the modem sent: backspaces are applied, LF and NUL
// dropped, and every CR becomes CR LF. A line break sent as CR LF, LF CR or CR thus
// becomes CR LF, and a bare LF joins two lines. Each chunk is cleaned on its own, so
// a backspace at the start of a chunk never reaches into an earlier one.
[[nodiscard]] QByteArray CleanReceivedText(const QByteArray& chunk);
