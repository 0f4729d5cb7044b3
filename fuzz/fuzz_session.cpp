// One model's whole loading sequence against a modem whose every answer is the
// fuzzer's: the session must end, within the limits, with the port and both files
// closed, the screen idle and the log's trailer written.
#include <cstddef>
#include <cstdint>

#include "core/Def_Globales.h"
#include "fuzz/CheckedSession.h"
#include "fuzz/ExampleFiles.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedModem.h"
#include "platform/TextFile.h"

#ifndef ADSL_FUZZ_MODEL
#error "ADSL_FUZZ_MODEL names the model whose sequence is fuzzed"
#endif

namespace {

int fileLines = 0;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzing::StartQt(argc, argv);
  SetStartupValues();
  const QStringList file = fuzzing::ExampleConfigFile(ADSL_FUZZ_MODEL, DataScreen::Napt);
  fuzzing::WriteAppFile(fuzzing::kConfigFile, platform::EncodeLines(file));
  fileLines = static_cast<int>(file.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QList<fuzzing::ScriptAnswer> script = fuzzing::ParseScript(data, size);
  {
    fuzzing::CheckedSession session([&](modemsim::ConsoleHost& host) {
      return std::make_unique<fuzzing::ScriptedConsole>(host, script);
    });
    session.Run(fuzzing::kPhone, fuzzing::SessionLimitSeconds(fileLines));
  }
  fuzzing::Require(fuzzing::ReadAppFile(fuzzing::kLogFile).endsWith(fuzzing::LogTrailer()),
                   "the session log has no trailer");
  return 0;
}
