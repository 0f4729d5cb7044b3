#include <gtest/gtest.h>

#include <QDir>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"

using loader_testing::EfficientDhcpFile;
using loader_testing::kPhone;
using loader_testing::kScreenCaption;
using loader_testing::SimulatedScreen;
using platform::MsgIcon;
using testing_support::ShownBox;

namespace {

ShownBox Critical(const QString& text) { return loader_testing::CriticalBox(text); }

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
    // Idle again whatever happened: pointer, buttons, caption, port.
    EXPECT_FALSE(screen_.view.busy);
    EXPECT_TRUE(screen_.view.buttonsEnabled);
    EXPECT_EQ(screen_.view.caption, kScreenCaption);
    EXPECT_FALSE(screen_.link->IsOpen());
    EXPECT_FALSE(screen_.session->IsRunning());
    EXPECT_EQ(screen_.link->ClosedPortUses(), 0);
  }

  [[nodiscard]] bool LogsCreated() const {
    return platform::EntryExists(screen_.platform.PathOf(QStringLiteral("Logs")));
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
  for (const QString& phone : {QString(), QStringLiteral("../900123456"),
                               QStringLiteral("900 123 456"), QStringLiteral("90012345a")}) {
    screen_.Run(phone);
    EXPECT_EQ(screen_.platform.boxes.shown.last(), kEnterPhone) << phone.toStdString();
  }
  EXPECT_EQ(screen_.platform.boxes.shown.size(), 4);
  EXPECT_FALSE(LogsCreated());
  EXPECT_EQ(screen_.link->Opens(), 0);
}

// A file that cannot be loaded, or a log folder that cannot be made, stops the
// session before the port with its message; the log is left as each row says.
TEST_F(LoadingSessionTest, FileProblemsStopTheSessionBeforeThePort) {
  enum class Log { NoFolder, Empty, HeaderAndTrailer, PlainFile };
  QStringList trailingBlank = EfficientDhcpFile(kPhone);
  trailingBlank[19] = QStringLiteral("--Inicio ");
  const QString oldLog = QStringLiteral("Logs/") + kPhone + QStringLiteral(".log");
  const auto withFile = [this, oldLog](const QStringList& file) {
    return [this, oldLog, file] {
      QDir(screen_.platform.Dir()).mkpath(QStringLiteral("Logs"));
      screen_.platform.Write(oldLog, "old log");
      screen_.WriteConfig(kPhone, file);
    };
  };
  const struct {
    const char* situation;
    std::function<void()> arrange;
    QList<ShownBox> boxes;
    Log log;
  } rows[] = {
      {"no configuration file", [] {},
       {Critical(QStringLiteral("No se ha podido encontrar el fichero de configuración"))}, Log::NoFolder},
      {"marker with a trailing blank", withFile(trailingBlank), {Critical(kBadFormat)}, Log::Empty},
      {"file ends at the marker", withFile(EfficientDhcpFile(kPhone).mid(0, 20)), {Critical(kBadFormat)}, Log::Empty},
      // The screens spell the model SS5660; files carry SS56660.
      {"unknown key line", withFile(WithKeyLine(QStringLiteral("Efficient SS5660 dhcp"))),
       {Critical(QStringLiteral("El fichero de configuración contiene errores"))}, Log::HeaderAndTrailer},
      // The folder cannot be made: the platform's own words first, then the program's.
      {"plain file named Logs",
       [this] {
         QDir(screen_.platform.PathOf(QStringLiteral("Logs"))).removeRecursively();
         screen_.platform.Write(QStringLiteral("Logs"), "not a directory");
         screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
       },
       {Critical(QStringLiteral("No se ha podido crear el directorio donde almacenar "
                                "los registros de la aplicación"))},
       Log::PlainFile},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    row.arrange();
    const qsizetype before = screen_.platform.boxes.shown.size();
    const qsizetype captionsBefore = screen_.view.captions.size();
    screen_.Run(kPhone);
    const QList<ShownBox> shown = screen_.platform.boxes.shown.mid(before);
    EXPECT_EQ(shown.mid(shown.size() - 1), row.boxes);
    EXPECT_EQ(shown.size(), row.log == Log::PlainFile ? 2 : 1);
    EXPECT_EQ(screen_.link->Opens(), 0);
    EXPECT_EQ(screen_.view.captions.mid(captionsBefore), QStringList{kScreenCaption});  // no model named
    switch (row.log) {
      case Log::NoFolder: EXPECT_FALSE(LogsCreated()); break;
      case Log::Empty:
        EXPECT_TRUE(screen_.LogExists(kPhone));
        EXPECT_EQ(screen_.Log(kPhone), QByteArray());
        break;
      case Log::HeaderAndTrailer: ExpectHeaderAndTrailerOnly(QStringLiteral("Efficient SS5660 dhcp")); break;
      case Log::PlainFile:
        EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(shown[0].title, QString());
        EXPECT_TRUE(platform::IsRegularFile(screen_.platform.PathOf(QStringLiteral("Logs"))));
        break;
    }
  }
}

TEST_F(LoadingSessionTest, KeyLineNamesTheModelFirstHitFirst) {
  screen_.WriteConfig(kPhone, WithKeyLine(QStringLiteral("Speed Touch Pro o Speed Touch Office")));
  screen_.Run(kPhone);
  EXPECT_EQ(SelectedModel, kSpeedTouchOffice);
  screen_.WriteConfig(kPhone, WithKeyLine(QStringLiteral("Speed Touch Pro napt")));
  screen_.Run(kPhone);
  EXPECT_EQ(SelectedModel, kSpeedTouchPro);
  EXPECT_EQ(screen_.view.captions,
            (QStringList{kScreenCaption + QStringLiteral(" para módem Alcatel Speed Touch Office"),
                         kScreenCaption, kScreenCaption + QStringLiteral(" para módem Alcatel Speed Touch Pro"),
                         kScreenCaption}));
}

TEST_F(LoadingSessionTest, CancelAtPowerOnClosesThePortForTheNextSession) {
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
  EXPECT_EQ(screen_.platform.boxes.shown.last(), Critical(loader_texts::kNotStarted));
  ExpectHeaderAndTrailerOnly(QStringLiteral("Efficient SS56660 dhcp"));
  EXPECT_FALSE(screen_.link->IsOpen());

  screen_.platform.boxes.Answer(platform::MsgAnswer::Cancel);
  screen_.Run(kPhone);
  EXPECT_EQ(screen_.link->Opens(), 2);
  EXPECT_EQ(screen_.platform.boxes.shown.size(), 4);
  EXPECT_EQ(screen_.platform.boxes.shown.last(), Critical(loader_texts::kNotStarted));
}

TEST_F(LoadingSessionTest, ScreenClosingThePortIsNotAFaultOfTheModem) {
  screen_.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  screen_.platform.boxes.onShow = [this](const ShownBox&) { screen_.session->ClosePort(); };
  screen_.Run(kPhone);
  // No port failure is invented: the sequence only says the modem did not start.
  EXPECT_EQ(screen_.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kNotStarted}));
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
