#include "core/SettingsFile.h"

#include <limits>

#include "core/Def_Globales.h"
#include "platform/ErrorText.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace {

void SetFileLessDefaults() {
  ServiceSettings.ComPort = 1;
  ServiceSettings.EdcNetwork = kOperatorEdcNetwork;
  ServiceSettings.EdcMask = kDefaultEdcMask;
  ServiceSettings.DnsServer = kOperatorDnsServer;
  ServiceSettings.AtmCircuit = {8, 32};
  ServiceSettings.PhoneMaxDigits = 9;
  ServiceSettings.PhoneMinDigits = 9;
}

// The field that each line fills, in file order.
std::int16_t* FieldOfLine(int line) {
  auto& s = ServiceSettings;
  if (line == 1) return &s.ComPort;
  if (line >= 2 && line <= 5) return &s.EdcNetwork[line - 2];
  if (line >= 6 && line <= 9) return &s.EdcMask[line - 6];
  if (line >= 10 && line <= 13) return &s.DnsServer[line - 10];
  if (line == 14) return &s.AtmCircuit.Vpi;
  if (line == 15) return &s.AtmCircuit.Vci;
  if (line == 16) return &s.PhoneMinDigits;
  return &s.PhoneMaxDigits;
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

}  // namespace

QString SettingsFilePath() { return platform::AppPath(QString::fromLatin1(kSettingsFileName)); }

bool ParseSettingsNumber(const QString& line, std::int16_t* value, QString* error) {
  qsizetype begin = 0;
  qsizetype end = line.size();
  while (begin < end && IsBlank(line.at(begin))) ++begin;
  while (end > begin && IsBlank(line.at(end - 1))) --end;
  const QString text = line.mid(begin, end - begin);
  // Only what the writer produces, plus a sign: fractions, exponents and hexadecimal
  // are refused rather than guessed at.
  qsizetype digitsFrom = (text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))) ? 1 : 0;
  if (text.size() <= digitsFrom) {
    *error = QString::fromUtf8(platform::kNotANumberText);
    return false;
  }
  for (qsizetype i = digitsFrom; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
      *error = QString::fromUtf8(platform::kNotANumberText);
      return false;
    }
  }
  bool ok = false;
  const qlonglong number = text.toLongLong(&ok);
  if (!ok || number < std::numeric_limits<std::int16_t>::min() ||
      number > std::numeric_limits<std::int16_t>::max()) {
    *error = QString::fromUtf8(platform::kOverflowText);
    return false;
  }
  *value = static_cast<std::int16_t>(number);
  return true;
}

bool LoadServiceSettings() {
  const QString path = SettingsFilePath();
  if (!platform::IsRegularFile(path)) {
    SetFileLessDefaults();
    return true;
  }
  QStringList lines;
  QString error;
  if (!platform::ReadTextLines(path, &lines, &error)) {
    platform::ShowSystemWarning(error);
    return false;
  }
  for (int line = 1; line <= kSettingsFileLines; ++line) {
    if (line > lines.size()) {
      platform::ShowSystemWarning(QString::fromUtf8(platform::kEndOfFileText));
      return false;
    }
    std::int16_t value = 0;
    if (!ParseSettingsNumber(lines.at(line - 1), &value, &error)) {
      platform::ShowSystemWarning(error);
      return false;
    }
    *FieldOfLine(line) = value;
  }
  return true;
}

bool SaveServiceSettings(const QStringList& fieldTexts) {
  QStringList lines;
  lines << QStringLiteral(" %1 ").arg(ServiceSettings.ComPort);
  lines << fieldTexts;
  QString error;
  if (!platform::ReplaceTextFile(SettingsFilePath(), lines, &error)) {
    platform::ShowSystemWarning(platform::DescribeSaveFailure(SettingsFilePath(), error));
    return false;
  }
  return true;
}
