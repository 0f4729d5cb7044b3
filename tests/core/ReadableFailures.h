#pragma once

#include <QString>

#include <ostream>

#include "support/TestPlatform.h"

// Readable failure messages for texts and message boxes.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace testing_support {
inline void PrintTo(const ShownBox& box, std::ostream* os) {
  *os << "{\"" << box.text.toStdString() << "\", \"" << box.title.toStdString() << "\", icon "
      << static_cast<int>(box.icon) << ", buttons " << static_cast<int>(box.buttons) << '}';
}
}  // namespace testing_support
