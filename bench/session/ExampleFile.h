#pragma once

#include <QString>

#include <cstdint>

namespace bench {

// Writes Configuraciones/<phone>.cfg for the model and mode (true: DHCP) with the
// generators the data screens use, from fixed example data. False with a description
// in *error when the file cannot be written.
[[nodiscard]] bool WriteExampleFile(const QString& phone, std::int16_t model, bool dhcp,
                                    QString* error);

}  // namespace bench
