// One model's whole loading sequence against a modem whose every answer is the
// fuzzer's: the session must end, within the limits, with the port and both files
// closed, the screen idle and the log's trailer written.
#include <cstddef>
#include <cstdint>

#include "core/Def_Globales.h"
#include "fuzz/CheckedSession.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedModem.h"
#include "modemsim/ExampleFile.h"
#include "platform/TextFile.h"

#ifndef ADSL_FUZZ_MODEL
#error "ADSL_FUZZ_MODEL names the model whose sequence is fuzzed"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The model's example file, written once for the whole run.
  static const int fileLines = [] {
    SetStartupValues();
    const QStringList file =
        modemsim::ExampleConfigFile(ADSL_FUZZ_MODEL, DataScreen::Napt, QStringLiteral("900123456"));
    fuzzing::WriteAppFile(fuzzing::kConfigFile, platform::EncodeLines(file));
    return static_cast<int>(file.size());
  }();
  const QList<fuzzing::ScriptAnswer> script = fuzzing::ParseScript(data, size);
  fuzzing::RunCheckedSession(
      [&](modemsim::ConsoleHost& line, auto&) { return std::make_unique<fuzzing::ScriptedConsole>(line, script); },
      fileLines, false);
  return 0;
}
