#include "loader/LoaderTestSupport.h"

#include <QDir>

#include "config/Generators.h"
#include "config/SubscriberData.h"
#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/SessionLog.h"
#include "modemsim/Consoles.h"
#include "platform/TextFile.h"

namespace loader_testing {

SimulatedScreen::SimulatedScreen(modemsim::ConsoleOptions options) {
  SetStartupValues();
  auto simulated = std::make_unique<modemsim::SimulatedLink>(clock);
  link = simulated.get();
  console = modemsim::MakeConsole(QStringLiteral("efficient"), *link, options);
  link->Attach(console.get());
  session = std::make_unique<LoadingSession>(&view, std::move(simulated), clock);
  platform.boxes.onShow = [this](const testing_support::ShownBox& box) {
    if (box.title == loader_texts::kPowerOnTitle) console->PowerOn();
  };
}

SimulatedScreen::~SimulatedScreen() { session.reset(); }

void SimulatedScreen::WriteConfig(const QString& phone, const QStringList& lines) {
  QDir(platform.Dir()).mkpath(QString::fromLatin1(kConfigDirectoryName));
  QString error;
  if (!platform::ReplaceTextFile(ConfigFilePath(phone), lines, &error)) qFatal("%s", qPrintable(error));
}

QByteArray SimulatedScreen::Log(const QString& phone) const {
  return platform.Read(QStringLiteral("Logs/") + phone + QStringLiteral(".log"));
}

bool SimulatedScreen::LogExists(const QString& phone) const {
  return platform::EntryExists(SessionLogPath(phone));
}

QList<QByteArray> SimulatedScreen::TypedLines() const {
  QList<QByteArray> typed;
  for (const QByteArray& line : console->ReceivedLines()) {
    if (!line.isEmpty()) typed << line;
  }
  return typed;
}

QStringList SimulatedScreen::BoxTexts() const {
  QStringList texts;
  for (const auto& box : platform.boxes.shown) texts << box.text;
  return texts;
}

QStringList EfficientDhcpFile(const QString& phone) {
  SubscriberData data = InitialSubscriberData(DataScreen::Dhcp, kEfficientSS5660);
  data.Phone = phone;
  data.UserIp = {QStringLiteral("192"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("13")};
  data.UserMask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("248")};
  data.ModemIp = {QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("6")};
  data.ModemMask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("252")};
  ServiceSettingsRecord settings = ServiceSettings;
  settings.DnsServer = {192, 0, 2, 53};
  settings.EdcNetwork = {198, 51, 100, 0};
  settings.EdcMask = {255, 255, 255, 240};
  settings.AtmCircuit = {8, 32};
  return GenerateEfficientDhcp(data, settings);
}

QStringList EfficientDhcpCommands(const QString& phone) { return EfficientDhcpFile(phone).mid(23); }

QList<QByteArray> AsLines(const QStringList& lines) {
  QList<QByteArray> out;
  for (const QString& line : lines) out << line.toLatin1();
  return out;
}

}  // namespace loader_testing
