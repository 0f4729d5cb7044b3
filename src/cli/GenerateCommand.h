#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "cli/CommandLine.h"
#include "config/SubscriberData.h"

// `generar`: one subscriber's configuration file from options, or one per row of a
// subscriber list, through the data screens' checks and save flow.
namespace cli {

extern const Command kGenerateCommand;

// The values of one subscriber as typed: options of the command or cells of a row.
enum class InputField { Model, Mode, Phone, UserIp, UserMask, ModemIp, ModemMask, Modality };
inline constexpr int kInputFieldCount = 8;
// Nothing where a value was not given: the data screen's initial value then.
using SubscriberInput = std::array<std::optional<QString>, kInputFieldCount>;

// The column key (see ColumnKey) of a field; the option is the same with '-' for '_'.
[[nodiscard]] const char* FieldKey(InputField field);

struct GenerationJob {
  SubscriberData data;
  DataScreen screen = DataScreen::Dhcp;
  std::int16_t model = -1;
};

// Model, mode and modality from their names, then the rules of the screen's boxes as
// if each value had been typed and its box left (digits only, the phone's length,
// octets 0 to 255 written as plain numbers), then the screen's checks before saving.
// Every refusal is reported through the message boxes; *fault is then the field at
// fault when the message does not name it. Needs the service settings loaded.
[[nodiscard]] bool PrepareSubscriber(const SubscriberInput& input, GenerationJob* job,
                                     std::optional<InputField>* fault);

}  // namespace cli
