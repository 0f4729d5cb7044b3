#include "core/AddressHelpers.h"

#include "platform/Platform.h"
#include "platform/TextFile.h"

QString ByteToBits(std::uint8_t value) {
  QString bits;
  for (int weight = 128; weight >= 1; weight /= 2) {
    bits.append((value & weight) == weight ? QLatin1Char('1') : QLatin1Char('0'));
  }
  return bits;
}

std::int16_t MaskPrefixLength(const QString& octet1, const QString& octet2, const QString& octet3,
                              const QString& octet4) {
  QString bits;
  for (const QString* text : {&octet1, &octet2, &octet3, &octet4}) {
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    bits += ByteToBits(ok && value >= 0 && value <= 255 ? static_cast<std::uint8_t>(value) : 0);
  }
  std::int16_t count = 0;
  while (count < bits.size() && bits.at(count) == QLatin1Char('1')) ++count;
  return count;
}

QString ConfigFilePath(const QString& phone) {
  return platform::JoinPath(platform::AppPath(QString::fromLatin1(kConfigDirectoryName)),
                            phone + QStringLiteral(".cfg"));
}

bool ConfigFileExists(const QString& phone) { return platform::IsRegularFile(ConfigFilePath(phone)); }

bool IsDigitsOnly(const QString& text) {
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  return true;
}
