#pragma once

#include <QByteArray>
#include <QString>

class ModemDialogue;

// Small steps that the Speed Touch sequences share.
namespace sequence {

// Shows the message under the title "Error". Returns false, so that a failing step
// reads `return Report(...)`.
bool Report(const QString& message);

// AccessPassword as it goes on the line.
[[nodiscard]] QByteArray AccessPasswordBytes();

// Sends one of the sequence's own lines; one that cannot be sent means the ATU-R is
// not there.
[[nodiscard]] bool SendOrReport(ModemDialogue& modem, const QString& line);

// Empty lines and comments ("#" first) of a configuration file are never sent.
[[nodiscard]] bool IsSkippedLine(const QString& line);

// The dialogue with whatever follows `lead` on its line written as the password mask.
// The log masks the password wherever it occurs whole; an echo broken up by line
// noise would slip through that, so the lines that carry it are masked as well.
[[nodiscard]] QByteArray MaskEchoedPassword(QByteArray dialogue, const QByteArray& lead);

}  // namespace sequence
