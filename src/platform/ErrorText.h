#pragma once

#include <QString>

namespace platform {

// The platform's description of a failed operation, in Spanish, for the message
// boxes that show it as their text. It names the kind of failure, not the file.
[[nodiscard]] QString DescribeSystemError(int errnoValue);

// The same for a failure that a library reports only as the system's own (English)
// words: they never reach the user.
[[nodiscard]] QString DescribeLibraryErrorText(const QString& text);

// Descriptions of failures that are not system errors.
inline constexpr const char* kEndOfFileText = "Se ha intentado leer más allá del final del fichero";
inline constexpr const char* kNotANumberText = "El valor leído no es un número";
// Something other than a plain file (a pipe, a device, a socket) where a file is written.
inline constexpr const char* kNotAPlainFileText =
    "En la ruta del fichero hay una tubería, un dispositivo o un socket en lugar de un fichero";
// A file too large to be one of the program's files, refused before it fills the memory.
inline constexpr const char* kFileTooLargeText =
    "El fichero es demasiado grande (más de 16 MB) para ser un fichero de este programa";
inline constexpr const char* kOverflowText = "Desbordamiento: el número leído es demasiado grande";

}  // namespace platform
