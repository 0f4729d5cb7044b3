#include <gtest/gtest.h>

#include <QDir>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

using loader_testing::CriticalBox;
using loader_testing::EfficientDhcpFile;
using loader_testing::kPhone;
using loader_testing::kScreenCaption;
using loader_testing::SimulatedScreen;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

const ShownBox kEnterPhone{QStringLiteral("Por favor, Introduzca el número de teléfono del abonado"),
                           QStringLiteral("Error"), MsgIcon::Exclamation, platform::MsgButtons::Ok};
const QString kBadFormat = QStringLiteral("Formato de fichero de configuración no válido");

// The file with its key line (and everything after it) replaced.
QStringList WithKeyLine(const QString& keyLine) {
  QStringList lines = EfficientDhcpFile(kPhone);
  lines[20] = keyLine;
  return lines;
}

class LoadingSessionTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Idle again whatever happened: pointer, buttons, caption, port. (A second click
    // works only if the first session ended: the refusal tests run twice.)
    EXPECT_FALSE(screen_.view.busy);
    EXPECT_TRUE(screen_.view.buttonsEnabled);
    EXPECT_EQ(screen_.view.caption, kScreenCaption);
    EXPECT_FALSE(screen_.link->IsOpen());
  }

  // The header (its layout is the log's own test) straight followed by the trailer.
  void ExpectHeaderAndTrailerOnly(const QString& keyLine) const {
    const QByteArray log = screen_.Log(kPhone);
    EXPECT_TRUE(log.startsWith(platform::ToCp1252(QStringLiteral("Sesión de configuración\r\n"))));
    EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("\r\nTipo de configuración: ") + keyLine + "\r\n")));
    EXPECT_TRUE(log.endsWith(platform::ToCp1252(
        QStringLiteral("-- Comienzo de detalle de sesión --\r\n\r\n-- Fin de detalle de sesión --\r\n"))));
  }

  SimulatedScreen screen_;
};

TEST_F(LoadingSessionTest, EmptyOrUnsafePhoneIsRefusedAndNothingIsCreated) {
  screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  // Which numbers are digits only is the save flow's table.
  for (const QString& phone : {QString(), QStringLiteral("../900123456")}) {
    screen_.Run(phone);
    EXPECT_EQ(screen_.platform.boxes.shown.last(), kEnterPhone) << phone.toStdString();
  }
  EXPECT_EQ(screen_.platform.boxes.shown.size(), 2);
  EXPECT_FALSE(platform::EntryExists(screen_.platform.PathOf(QStringLiteral("Logs"))));
  EXPECT_EQ(screen_.link->Opens(), 0);
}

TEST_F(LoadingSessionTest, FileWithoutAUsableMarkerLeavesAnEmptyLog) {
  QStringList trailingBlank = EfficientDhcpFile(kPhone);
  trailingBlank[19] = QStringLiteral("--Inicio ");
  QStringList endsAtMarker = EfficientDhcpFile(kPhone).mid(0, 20);
  ASSERT_TRUE(QDir(screen_.platform.Dir()).mkpath(QStringLiteral("Logs")));
  for (const QStringList& file : {trailingBlank, endsAtMarker}) {
    screen_.platform.Write(QStringLiteral("Logs/") + kPhone + QStringLiteral(".log"), "old log");
    screen_.WriteConfig(kPhone, file);
    screen_.Run(kPhone);
    EXPECT_EQ(screen_.platform.boxes.shown.last(), CriticalBox(kBadFormat));
    EXPECT_TRUE(platform::EntryExists(screen_.platform.PathOf(QStringLiteral("Logs/900123456.log"))));
    EXPECT_EQ(screen_.Log(kPhone), QByteArray());
  }
  EXPECT_EQ(screen_.link->Opens(), 0);
}

TEST_F(LoadingSessionTest, UnknownKeyLineGivesHeaderAndTrailerOnly) {
  // The screens spell the model SS5660; files carry SS56660.
  screen_.WriteConfig(kPhone, WithKeyLine(QStringLiteral("Efficient SS5660 dhcp")));
  screen_.Run(kPhone);
  EXPECT_EQ(screen_.platform.boxes.shown,
            QList<ShownBox>{CriticalBox(QStringLiteral("El fichero de configuración contiene errores"))});
  ExpectHeaderAndTrailerOnly(QStringLiteral("Efficient SS5660 dhcp"));
  EXPECT_EQ(screen_.view.captions, QStringList{kScreenCaption});
}

TEST_F(LoadingSessionTest, PlainFileNamedLogsStopsTheSession) {
  screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  screen_.platform.Write(QStringLiteral("Logs"), "not a directory");
  screen_.Run(kPhone);
  const auto& shown = screen_.platform.boxes.shown;
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(shown[0].title, QString());
  EXPECT_EQ(shown[1], CriticalBox(QStringLiteral("No se ha podido crear el directorio donde almacenar "
                                                 "los registros de la aplicación")));
  EXPECT_EQ(screen_.link->Opens(), 0);
}

// Both names in the key line: the first model of the program's list wins.
TEST_F(LoadingSessionTest, KeyLineNamesTheModelFirstHitFirst) {
  screen_.WriteConfig(kPhone, WithKeyLine(QStringLiteral("Speed Touch Pro o Speed Touch Office")));
  screen_.Run(kPhone);
  EXPECT_EQ(SelectedModel, kSpeedTouchOffice);
}

TEST_F(LoadingSessionTest, CancelAtPowerOnKeepsTheScreenBusyWhileAskingAndStartsNothing) {
  screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  bool busyWhileAsking = false;
  bool buttonsWhileAsking = true;
  QString captionWhileAsking;
  screen_.platform.boxes.onShow = [&](const ShownBox&) {
    busyWhileAsking = screen_.view.busy;
    buttonsWhileAsking = screen_.view.buttonsEnabled;
    captionWhileAsking = screen_.view.caption;
  };
  screen_.platform.boxes.Answer(platform::MsgAnswer::Cancel);
  screen_.Run(kPhone);
  EXPECT_TRUE(busyWhileAsking);
  EXPECT_FALSE(buttonsWhileAsking);
  EXPECT_EQ(captionWhileAsking, kScreenCaption + QStringLiteral(" para módem Efficient SS5660"));
  EXPECT_EQ(screen_.platform.boxes.shown.last(), CriticalBox(loader_texts::kNotStarted));
  ExpectHeaderAndTrailerOnly(QStringLiteral("Efficient SS56660 dhcp"));
}

TEST_F(LoadingSessionTest, SessionGoesOnWithoutAWindowThatHasGone) {
  screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  screen_.platform.boxes.onShow = [this](const ShownBox& box) {
    if (box.title != loader_texts::kPowerOnTitle) return;
    screen_.session->DetachView();
    screen_.view.gone = true;
    screen_.console->PowerOn();
  };
  screen_.Run(kPhone);
  screen_.view.gone = false;
  EXPECT_EQ(screen_.platform.boxes.shown.last().text, loader_texts::kConfigured);
  EXPECT_TRUE(screen_.Log(kPhone).contains(screen_.session->Dialogue().Content()));
  // The window never got its idle state back; the test's own checks expect it.
  screen_.view.busy = false;
  screen_.view.buttonsEnabled = true;
  screen_.view.caption = kScreenCaption;
}

}  // namespace
