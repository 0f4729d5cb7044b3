#pragma once

#include <QByteArray>
#include <QString>

// The one place where text changes between the program's Unicode strings and the
// single-byte Windows-1252 code page used on disk and on the serial line.
namespace platform {

// Characters that Windows-1252 cannot hold become '?'.
[[nodiscard]] QByteArray ToCp1252(const QString& text);
// Every byte maps to one character; the five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value.
[[nodiscard]] QString FromCp1252(const QByteArray& bytes);

}  // namespace platform
