#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class ConfigFileReader;
class ModemDialogue;
class SessionLog;

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

// The opening every sequence shares: reads and drops the modality line, opens the
// link with the model's line settings and waits for the first prompt, then writes the
// model's start line to the log. Reports its own failure; false ends the sequence.
[[nodiscard]] bool StartSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log,
                                std::int16_t model, const QString& startLine);

// Empty lines and comments ("#" first) of a configuration file are never sent.
[[nodiscard]] bool IsSkippedLine(const QString& line);

// The status line's words for the steps every sequence goes through.
inline const QString kStepLogin = QStringLiteral("Introduciendo la clave de acceso");
inline const QString kStepSetPassword = QStringLiteral("Estableciendo la clave de acceso");
inline const QString kStepErase = QStringLiteral("Borrando la configuración anterior");
inline const QString kStepReboot = QStringLiteral("Reiniciando el módem");

// Sends the file's remaining command lines one by one through `sendOne`, showing
// which line goes and how many have gone. False as soon as one fails.
[[nodiscard]] bool SendCommandLines(ModemDialogue& modem, ConfigFileReader& file,
                                    bool (*sendOne)(ModemDialogue&, const QString&, bool lastLine));

// The dialogue with whatever follows `lead` on its line written as the password mask.
// The log masks the password wherever it occurs whole; an echo broken up by line
// noise would slip through that, so the lines that carry it are masked as well.
[[nodiscard]] QByteArray MaskEchoedPassword(QByteArray dialogue, const QByteArray& lead);

}  // namespace sequence
