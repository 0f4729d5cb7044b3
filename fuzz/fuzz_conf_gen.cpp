// The conf_gen.dat reader on arbitrary bytes, held against a plain reading of the
// format: each of the 17 lines is a 16-bit number with blanks around it, stored as
// soon as it is read; reading stops at the first line that is missing or not such a
// number, with exactly one message. A file read whole is written back and read
// again to the same values.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>

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
bool ReferenceNumber(const QByteArray& line, std::int16_t* value) {
  std::string text = line.toStdString();
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.erase(0, 1);
  while (!text.empty() && blank(text.back())) text.pop_back();
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '+' || negative)) text.erase(0, 1);
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  unsigned long long magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (magnitude > (negative ? 32768u : 32767u)) return false;
  *value = static_cast<std::int16_t>(negative ? -static_cast<long long>(magnitude)
                                              : static_cast<long long>(magnitude));
  return true;
}

QList<QByteArray> SplitLines(const QByteArray& bytes) {
  QList<QByteArray> lines;
  QByteArray current;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      current.append(c);
      continue;
    }
    lines.append(current);
    current.clear();
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  if (!current.isEmpty()) lines.append(current);
  return lines;
}

// The field texts the service settings screen would save for the record.
QStringList FieldTexts(ServiceSettingsRecord& s) {
  QStringList texts;
  for (int line = 2; line <= kSettingsFileLines; ++line) texts << QString::number(Field(s, line));
  return texts;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzzing::StartQt(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  fuzzing::WriteAppFile(QString::fromLatin1(kSettingsFileName), bytes);
  SetStartupValues();
  const ServiceSettingsRecord before = ServiceSettings;
  fuzzing::Boxes().texts.clear();
  const bool read = LoadServiceSettings();

  ServiceSettingsRecord expected = before;
  const QList<QByteArray> lines = SplitLines(bytes);
  bool whole = true;
  for (int line = 1; line <= kSettingsFileLines && whole; ++line) {
    std::int16_t value = 0;
    whole = line <= lines.size() && ReferenceNumber(lines[line - 1], &value);
    if (whole) Field(expected, line) = value;
  }
  fuzzing::Require(read == whole, "the reader and the format disagree on the file");
  fuzzing::Require(fuzzing::Boxes().texts.size() == (whole ? 0 : 1), "not exactly one message on failure");
  for (int line = 1; line <= kSettingsFileLines; ++line) {
    fuzzing::Require(Field(ServiceSettings, line) == Field(expected, line), "a field holds the wrong value");
  }
  if (!whole) return 0;

  const ServiceSettingsRecord loaded = ServiceSettings;
  fuzzing::Require(SaveServiceSettings(FieldTexts(ServiceSettings)), "the settings could not be saved");
  SetStartupValues();
  fuzzing::Require(LoadServiceSettings(), "the saved settings could not be read");
  ServiceSettingsRecord again = ServiceSettings;
  ServiceSettingsRecord first = loaded;
  for (int line = 1; line <= kSettingsFileLines; ++line) {
    fuzzing::Require(Field(again, line) == Field(first, line), "writing and reading back changed a value");
  }
  return 0;
}
