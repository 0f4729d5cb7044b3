#include "loader/LoaderTestSupport.h"

#include <QDir>

#include "config/Generators.h"
#include "config/SubscriberData.h"
#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTexts.h"
#include "loader/SessionLog.h"
#include "modemsim/Consoles.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

namespace loader_testing {

SimulatedScreen::SimulatedScreen(modemsim::ConsoleOptions options, const QString& model) {
  SetStartupValues();
  auto simulated = std::make_unique<modemsim::SimulatedLink>(clock);
  link = simulated.get();
  console = modemsim::MakeConsole(model, *link, options);
  link->Attach(console.get());
  auto tapped = std::make_unique<TappedLink>(std::move(simulated));
  tap = tapped.get();
  session = std::make_unique<LoadingSession>(&view, std::move(tapped), clock);
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
  return GeneratedFile(kEfficientSS5660, DataScreen::Dhcp, phone);
}

QString ConsoleName(std::int16_t model) {
  switch (model) {
    case kSpeedTouchOffice: return QStringLiteral("office");
    case kSpeedTouchPro: return QStringLiteral("pro");
    default: return QStringLiteral("efficient");
  }
}

QStringList GeneratedFile(std::int16_t model, DataScreen screen, const QString& phone) {
  SubscriberData data = InitialSubscriberData(screen, model);
  data.Phone = phone;
  data.UserIp = {QStringLiteral("192"), QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("13")};
  data.UserMask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("248")};
  // The NAPT screen keeps its usual LAN behind the modem.
  if (screen == DataScreen::Dhcp) {
    data.ModemIp = {QStringLiteral("10"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("6")};
    data.ModemMask = {QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("255"), QStringLiteral("252")};
  }
  ServiceSettingsRecord settings = ServiceSettings;
  settings.DnsServer = {192, 0, 2, 53};
  settings.EdcNetwork = {198, 51, 100, 0};
  settings.EdcMask = {255, 255, 255, 240};
  settings.AtmCircuit = {8, 32};
  return GeneratorFor(screen, model)(data, settings);
}

QStringList SentLines(const QStringList& file) {
  QStringList sent;
  for (const QString& line : file.mid(file.indexOf(QStringLiteral("--Inicio")) + 3)) {
    if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) sent << line;
  }
  return sent;
}

QStringList ExpectedTypedLines(std::int16_t model, const QStringList& file) {
  const QString password = QString::fromLatin1(kFactoryAccessPassword);
  switch (model) {
    case kSpeedTouchOffice:
      return QStringList{password, QStringLiteral("erase all"), QStringLiteral("reboot"), password,
                         QStringLiteral("system admin ") + password} +
             SentLines(file);
    case kSpeedTouchPro:
      return QStringList{QStringLiteral("config erase"), QStringLiteral("system reboot"),
                         QStringLiteral("system setpassword password=") + password} +
             SentLines(file);
    default:
      // After "default all" and the reboot the modem has no password and gets one.
      return QStringList{password, QStringLiteral("default all"), QStringLiteral("reboot"),
                         QStringLiteral("y"), QStringLiteral("set password"), password, password} +
             SentLines(file);
  }
}

QStringList EfficientDhcpCommands(const QString& phone) { return EfficientDhcpFile(phone).mid(23); }

testing_support::ShownBox CriticalBox(const QString& text) {
  return {text, loader_texts::kErrorTitle, platform::MsgIcon::Critical, platform::MsgButtons::Ok};
}

testing_support::ShownBox PowerOnBox() {
  return {loader_texts::kPowerOnQuestion, loader_texts::kPowerOnTitle, platform::MsgIcon::Information,
          platform::MsgButtons::OkCancel};
}

testing_support::ShownBox ConfiguredBox() {
  return {loader_texts::kConfigured, loader_texts::kConfiguredTitle, platform::MsgIcon::Information,
          platform::MsgButtons::Ok};
}

testing_support::ShownBox PasswordNotValidBox() {
  return {loader_texts::kSecondLoginFailed, QString(), platform::MsgIcon::None, platform::MsgButtons::Ok};
}

QByteArray LogBody(const QByteArray& log, const QString& startLine) {
  const QByteArray start = platform::ToCp1252(startLine) + "\r\n";
  const QByteArray trailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));
  const qsizetype at = log.indexOf(start);
  if (at < 0 || !log.endsWith(trailer)) return "<no body>";
  const qsizetype from = at + start.size();
  return log.mid(from, log.size() - trailer.size() - from);
}

QList<QByteArray> AsLines(const QStringList& lines) {
  QList<QByteArray> out;
  for (const QString& line : lines) out << line.toLatin1();
  return out;
}

}  // namespace loader_testing
