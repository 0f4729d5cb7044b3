// The conf_gen.dat reader on arbitrary bytes, held against a plain reading of the
// format: each of the 17 lines is a 16-bit number with blanks around it, stored as
// soon as it is read; reading stops at the first line that is missing or not such a
// number, with exactly one message. A file read whole is written back and read
// again to the same values.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>

#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "fuzz/FuzzSupport.h"
#include "platform/TextFile.h"

namespace {

// The field of each line, in file order (line 1 is the port).
std::int16_t& Field(ServiceSettingsRecord& s, int line) {
  if (line == 1) return s.ComPort;
  if (line <= 5) return s.EdcNetwork[line - 2];
  if (line <= 9) return s.EdcMask[line - 6];
  if (line <= 13) return s.DnsServer[line - 10];
  if (line == 14) return s.AtmCircuit.Vpi;
  if (line == 15) return s.AtmCircuit.Vci;
  if (line == 16) return s.PhoneMinDigits;
  return s.PhoneMaxDigits;
}

// A line as the format defines it (blanks around an optional sign and decimal
// digits), or false.
bool ReferenceNumber(QByteArray text, std::int16_t* value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.isEmpty() && blank(text.front())) text.remove(0, 1);
  while (!text.isEmpty() && blank(text.back())) text.chop(1);
  const bool negative = text.startsWith('-');
  if (negative || text.startsWith('+')) text.remove(0, 1);
  if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  unsigned long long magnitude = 0;
  const auto [end, error] = std::from_chars(text.cbegin(), text.cend(), magnitude);
  if (error != std::errc() || magnitude > (negative ? 32768u : 32767u)) return false;
  *value = static_cast<std::int16_t>(negative ? -static_cast<long long>(magnitude)
                                              : static_cast<long long>(magnitude));
  return true;
}

// CR, LF and CR LF each end a line; what follows the last ending is a line if not empty.
QList<QByteArray> SplitLines(const QByteArray& bytes) {
  QList<QByteArray> lines = QByteArray(bytes).replace("\r\n", "\n").replace('\r', '\n').split('\n');
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

// The field texts the service settings screen would save for the record.
QStringList FieldTexts(ServiceSettingsRecord& s) {
  QStringList texts;
  for (int line = 2; line <= kSettingsFileLines; ++line) texts << QString::number(Field(s, line));
  return texts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  fuzzing::WriteAppFile(QString::fromLatin1(kSettingsFileName), bytes);
  SetStartupValues();
  ServiceSettingsRecord expected = ServiceSettings;
  fuzzing::Boxes().texts.clear();
  const bool read = LoadServiceSettings();

  const QList<QByteArray> lines = SplitLines(bytes);
  bool whole = true;
  for (int line = 1; line <= kSettingsFileLines && whole; ++line) {
    std::int16_t value = 0;
    whole = line <= lines.size() && ReferenceNumber(lines[line - 1], &value);
    if (whole) Field(expected, line) = value;
  }
  fuzzing::Require(read == whole, "the reader and the format disagree on the file");
  fuzzing::Require(fuzzing::Boxes().texts.size() == (whole ? 0 : 1), "not exactly one message on failure");
  const auto requireExpected = [&](const char* what) {
    for (int line = 1; line <= kSettingsFileLines; ++line) {
      fuzzing::Require(Field(ServiceSettings, line) == Field(expected, line), what);
    }
  };
  requireExpected("a field holds the wrong value");
  if (!whole) return 0;

  fuzzing::Require(SaveServiceSettings(FieldTexts(ServiceSettings)), "the settings could not be saved");
  SetStartupValues();
  fuzzing::Require(LoadServiceSettings(), "the saved settings could not be read");
  requireExpected("writing and reading back changed a value");
  return 0;
}
