#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"

using loader_testing::AsLines;
using loader_testing::ConsoleName;
using loader_testing::ExpectedTypedLines;
using loader_testing::GeneratedFile;
using loader_testing::SimulatedScreen;

namespace {

const QString kPhone = QStringLiteral("900123456");

// Every file the data screens can save loads into its simulated modem.
TEST(GeneratedFilesLoadTest, AllSixVariantsLoadEndToEnd) {
  for (const std::int16_t model : {kEfficientSS5660, kSpeedTouchOffice, kSpeedTouchPro}) {
    for (const DataScreen screenKind : {DataScreen::Dhcp, DataScreen::Napt}) {
      const QStringList file = GeneratedFile(model, screenKind, kPhone);
      const QString keyLine = file.value(file.indexOf(QStringLiteral("--Inicio")) + 1);
      SCOPED_TRACE(keyLine.toStdString());
      SimulatedScreen screen({}, ConsoleName(model));
      screen.WriteConfig(kPhone, file);
      screen.Run(kPhone);

      EXPECT_EQ(screen.TypedLines(), AsLines(ExpectedTypedLines(model, file)));
      EXPECT_EQ(screen.BoxTexts(),
                (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));
      const QByteArray log = screen.Log(kPhone);
      EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Tipo de configuración: ") + keyLine)));
      EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Arrancado el módem ADSL "))));
      EXPECT_TRUE(log.endsWith(platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"))));
      EXPECT_FALSE(log.contains("tarnimol"));
      EXPECT_FALSE(screen.link->IsOpen());
    }
  }
}

}  // namespace
