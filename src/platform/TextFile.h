#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Whole-file text access. Lines are Windows-1252 with CR LF on disk and QString in
// memory; a failure yields the platform's description for the message box.
namespace platform {

enum class FileAccess {
  Shared,     // readable by everyone, as the umask allows
  OwnerOnly,  // readable and writable by the owner alone (secrets)
};

[[nodiscard]] QString JoinPath(const QString& directory, const QString& name);
[[nodiscard]] bool EntryExists(const QString& path);  // anything, directories included
[[nodiscard]] bool IsRegularFile(const QString& path);
[[nodiscard]] bool IsDirectory(const QString& path);
[[nodiscard]] bool MakeDirectory(const QString& path, QString* error);

// Reads every line. A line ends at CR LF, CR or LF; a last line without an ending
// counts, an empty file has no lines.
[[nodiscard]] bool ReadTextLines(const QString& path, QStringList* lines, QString* error);
[[nodiscard]] bool ReadWholeFile(const QString& path, QByteArray* bytes, QString* error);

// Replaces the file atomically: the new content goes to a temporary file beside it,
// which is renamed over the old one only once it is complete and on disk, so any
// failure leaves the previous file whole. Every line is followed by CR LF.
[[nodiscard]] bool ReplaceTextFile(const QString& path, const QStringList& lines, QString* error,
                                   FileAccess access = FileAccess::Shared);
[[nodiscard]] bool ReplaceFile(const QString& path, const QByteArray& bytes, QString* error,
                               FileAccess access = FileAccess::Shared);

// The two halves of a replacement, for a file written piece by piece: a new
// temporary file beside `path` (its descriptor, -1 on failure), and, once complete,
// on disk, closed and renamed over `path`. A failed finish removes the temporary.
[[nodiscard]] int CreateTemporaryBeside(const QString& path, QByteArray* temporary, QString* error,
                                        FileAccess access = FileAccess::Shared);
[[nodiscard]] bool FinishTemporary(int fd, const QByteArray& temporary, const QString& path,
                                   QString* error);

[[nodiscard]] QByteArray EncodeLines(const QStringList& lines);
[[nodiscard]] QStringList DecodeLines(const QByteArray& bytes);

}  // namespace platform
