#pragma once

#include <QString>

namespace platform {

// The platform's description of a failed operation, in Spanish, for the message
// boxes that show it as their text. It names the kind of failure, not the file.
[[nodiscard]] QString DescribeSystemError(int errnoValue);

// Descriptions of failures that are not system errors.
inline constexpr const char* kEndOfFileText = "Se ha intentado leer más allá del final del fichero";
inline constexpr const char* kNotANumberText = "El valor leído no es un número";
inline constexpr const char* kOverflowText = "Desbordamiento: el número leído es demasiado grande";

}  // namespace platform
