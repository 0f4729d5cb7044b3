#include "loader/LoaderTestSupport.h"

#include <QDir>

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
  session->SetCancelFlag(&cancel);
  platform.boxes.onShow = [this](const testing_support::ShownBox& box) {
    if (box.title == loader_texts::kPowerOnTitle) console->PowerOn();
  };
}

void SimulatedScreen::WriteConfig(const QString& phone, const QStringList& lines) {
  QDir(platform.Dir()).mkpath(QString::fromLatin1(kConfigDirectoryName));
  QString error;
  if (!platform::ReplaceTextFile(ConfigFilePath(phone), lines, &error)) qFatal("%s", qPrintable(error));
}

QByteArray SimulatedScreen::Log(const QString& phone) const {
  return platform.Read(QStringLiteral("Logs/") + phone + QStringLiteral(".log"));
}

QList<QByteArray> SimulatedScreen::TypedLines() const {
  QList<QByteArray> typed = console->ReceivedLines();
  typed.removeAll(QByteArray());
  return typed;
}

QStringList EfficientDhcpFile(const QString& phone) {
  return GeneratedFile(kEfficientSS5660, DataScreen::Dhcp, phone);
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
      return QStringList{password, "erase all", "reboot", password, "system admin " + password} + SentLines(file);
    case kSpeedTouchPro:
      return QStringList{"config erase", "system reboot", "system setpassword password=" + password} +
             SentLines(file);
    default:
      // After "default all" and the reboot the modem has no password and gets one.
      return QStringList{password, "default all", "reboot", "y", "set password", password, password} +
             SentLines(file);
  }
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
