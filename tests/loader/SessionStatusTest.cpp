#include <gtest/gtest.h>

#include <QRegularExpression>

#include "config/SubscriberData.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"

using loader_testing::AsLines;
using loader_testing::ExpectedTypedLines;
using loader_testing::GeneratedFile;
using loader_testing::kPhone;
using loader_testing::SentLines;
using loader_testing::SimulatedScreen;

namespace {

// The seconds shown for one step, in the order they were shown.
QList<int> Countdown(const QStringList& statuses, const QString& step) {
  static const QRegularExpression left(QStringLiteral(" \\(quedan (\\d+) s\\)$"));
  QList<int> seconds;
  for (const QString& status : statuses) {
    const auto match = left.match(status);
    if (match.hasMatch() && status.startsWith(step)) seconds << match.captured(1).toInt();
  }
  return seconds;
}

TEST(SessionStatusTest, ASilentModemCountsDownTheWholeFirstPromptWait) {
  modemsim::ConsoleOptions silent;
  silent.behaviour = modemsim::Behaviour::Silent;
  SimulatedScreen screen(silent);
  screen.WriteConfig(kPhone, loader_testing::EfficientDhcpFile(kPhone));
  screen.Run(kPhone);

  const QList<int> seconds = Countdown(screen.view.statuses, "Esperando el indicador del módem");
  ASSERT_FALSE(seconds.isEmpty());
  EXPECT_EQ(seconds.first(), 50);
  EXPECT_EQ(seconds.last(), 0);
  EXPECT_TRUE(std::is_sorted(seconds.rbegin(), seconds.rend()));
  EXPECT_GE(seconds.size(), 40);  // it moves every second, not only at the end
  // Idle again, naming the step that failed.
  EXPECT_EQ(screen.view.statuses.last(), QString::fromUtf8("Error en: Esperando el indicador del módem"));
}

// Every file the data screens can save loads into its simulated modem, and the status
// line names each step and counts the lines sent.
TEST(SessionStatusTest, EverySavedFileLoadsWithItsStepsAndLinesCounted) {
  for (const std::int16_t model : {kEfficientSS5660, kSpeedTouchOffice, kSpeedTouchPro}) {
    for (const DataScreen kind : {DataScreen::Dhcp, DataScreen::Napt}) {
      const QStringList file = GeneratedFile(model, kind, kPhone);
      const QString keyLine = file.value(file.indexOf(QStringLiteral("--Inicio")) + 1);
      SCOPED_TRACE(keyLine.toStdString());
      SimulatedScreen screen({}, loader_testing::ConsoleName(model));
      const int total = static_cast<int>(SentLines(file).size());
      screen.WriteConfig(kPhone, file);
      screen.Run(kPhone);

      EXPECT_EQ(screen.TypedLines(), AsLines(ExpectedTypedLines(model, file)));
      EXPECT_EQ(screen.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));
      const QByteArray log = screen.Log(kPhone);
      EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Tipo de configuración: ") + keyLine)));
      EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Arrancado el módem ADSL "))));
      EXPECT_TRUE(log.endsWith(platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"))));
      EXPECT_FALSE(log.contains("tarnimol"));
      EXPECT_FALSE(screen.link->IsOpen());

      const QStringList& statuses = screen.view.statuses;
      EXPECT_TRUE(statuses.contains(QStringLiteral("Borrando la configuración anterior")));
      EXPECT_TRUE(statuses.contains(QStringLiteral("Reiniciando el módem")));
      EXPECT_TRUE(statuses.contains(QStringLiteral("Enviando la línea 1 de %1").arg(total)));
      EXPECT_TRUE(statuses.contains(QStringLiteral("Enviando la línea %1 de %1").arg(total)));
      EXPECT_EQ(screen.view.progress.first(), qMakePair(0, 0));
      EXPECT_EQ(screen.view.progress.last(), qMakePair(total, total));
      for (const QString& status : statuses) EXPECT_FALSE(status.contains("tarnimol")) << status.toStdString();
    }
  }
}

TEST(SessionStatusTest, ADeadCommandShowsHowFarTheScriptGot) {
  modemsim::ConsoleOptions dead;
  dead.behaviour = modemsim::Behaviour::DeadCommand;
  SimulatedScreen screen(dead);
  const QStringList file = loader_testing::EfficientDhcpFile(kPhone);
  screen.WriteConfig(kPhone, file);
  screen.Run(kPhone);
  // "set dns disable" is the seventh command: six went through.
  EXPECT_EQ(screen.view.progress.last(), qMakePair(6, 14));
  EXPECT_FALSE(Countdown(screen.view.statuses, "Enviando la línea 7 de 14").isEmpty());
}

}  // namespace
