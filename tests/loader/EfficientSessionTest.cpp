#include <gtest/gtest.h>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "modemsim/EfficientConsole.h"
#include "platform/Cp1252.h"

using loader_testing::AsLines;
using loader_testing::EfficientDhcpCommands;
using loader_testing::EfficientDhcpFile;
using loader_testing::SimulatedScreen;
using modemsim::Behaviour;

namespace {

const QString kPhone = QStringLiteral("900123456");
const QByteArray kStartLine = "Arrancado el m\xf3" "dem ADSL Efficent SS5660\r\n";
const QByteArray kTrailer = "-- Fin de detalle de sesi\xf3n --\r\n";

QStringList Login() { return {QStringLiteral("tarnimol")}; }
QStringList SetPassword() {
  return {QStringLiteral("set password"), QStringLiteral("tarnimol"), QStringLiteral("tarnimol")};
}
QStringList Reset() {
  return {QStringLiteral("default all"), QStringLiteral("reboot"), QStringLiteral("y")};
}

class EfficientSessionTest : public ::testing::Test {
 protected:
  SimulatedScreen& Start(Behaviour behaviour) {
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    screen_ = std::make_unique<SimulatedScreen>(options);
    screen_->WriteConfig(kPhone, EfficientDhcpFile(kPhone));
    return *screen_;
  }

  void TearDown() override {
    ASSERT_TRUE(screen_);
    EXPECT_FALSE(screen_->link->IsOpen());
    EXPECT_FALSE(screen_->view.busy);
    EXPECT_TRUE(screen_->view.buttonsEnabled);
    EXPECT_EQ(screen_->link->ClosedPortUses(), 0);
  }

  // What the log holds between the start line and the trailer: the snapshots.
  [[nodiscard]] QByteArray LogBody() const {
    const QByteArray log = screen_->Log(kPhone);
    const qsizetype start = log.indexOf(kStartLine);
    if (start < 0 || !log.endsWith(kTrailer)) return "<no body>";
    const qsizetype from = start + kStartLine.size();
    return log.mid(from, log.size() - kTrailer.size() - from);
  }

  std::unique_ptr<SimulatedScreen> screen_;
};

TEST_F(EfficientSessionTest, HealthyModemIsLoadedEndToEnd) {
  SimulatedScreen& screen = Start(Behaviour::Healthy);
  screen.Run(kPhone);

  // After "default all" and the reboot the modem has no password and gets one.
  const QStringList expected = Login() + Reset() + SetPassword() + EfficientDhcpCommands(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(expected));
  // Each line ends with a single CR; between them only the wake-ups, CR LF and CR.
  EXPECT_EQ(QByteArray(screen.link->Wire()).replace("\r\n\r", ""),
            platform::ToCp1252(expected.join(QLatin1Char('\r')) + QLatin1Char('\r')));
  EXPECT_EQ(screen.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));
  EXPECT_EQ(screen.platform.boxes.shown.last().title, loader_texts::kConfiguredTitle);
  EXPECT_EQ(static_cast<modemsim::EfficientConsole&>(*screen.console).Password(), "tarnimol");

  // Two snapshots: up to the reboot question, then from the reboot to the end.
  const QByteArray log = screen.Log(kPhone);
  EXPECT_FALSE(log.contains("tarnimol"));
  EXPECT_EQ(log.count(kStartLine), 1);
  const QByteArray second = screen.session->Dialogue().Content();
  const QByteArray body = LogBody();
  ASSERT_TRUE(body.endsWith("\r\n" + second + "\r\n"));
  const QByteArray first = body.left(body.size() - second.size() - 4);
  EXPECT_TRUE(first.startsWith("\r\n\r\nEfficient SS5660 ADSL router"));
  EXPECT_TRUE(first.contains("Login successful"));
  EXPECT_TRUE(first.endsWith("Are you sure? (y/n) "));
  EXPECT_TRUE(second.contains("Efficient SS5660 ADSL router"));
  EXPECT_TRUE(second.contains("Password changed"));
  EXPECT_TRUE(second.contains("set napt disable\r\n"));
  EXPECT_FALSE(second.contains("Login successful"));
  EXPECT_EQ(screen.view.captions.first(),
            loader_testing::kScreenCaption + QStringLiteral(" para módem Efficient SS5660"));
}

TEST_F(EfficientSessionTest, ModemWithoutPasswordGetsOneBothTimes) {
  SimulatedScreen& screen = Start(Behaviour::NoPassword);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(SetPassword() + Reset() + SetPassword() + EfficientDhcpCommands(kPhone)));
  EXPECT_EQ(screen.BoxTexts().last(), loader_texts::kConfigured);
}

TEST_F(EfficientSessionTest, WrongPasswordIsTriedTwiceThenTheSessionEnds) {
  SimulatedScreen& screen = Start(Behaviour::OtherPassword);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(Login() + Login()));
  EXPECT_EQ(screen.BoxTexts(),
            (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kWrongPassword,
                         loader_texts::kFirstLoginFailed}));
  EXPECT_EQ(LogBody(), QByteArray());
}

TEST_F(EfficientSessionTest, RebootQuestionWithoutSureIsNotConfirmed) {
  SimulatedScreen& screen = Start(Behaviour::NoSure);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(Login() + QStringList{QStringLiteral("default all"),
                                                              QStringLiteral("reboot")}));
  EXPECT_EQ(screen.BoxTexts().last(), loader_texts::kUnexpectedAnswer);
  EXPECT_EQ(LogBody(), QByteArray());
}

TEST_F(EfficientSessionTest, CommentsAndEmptyLinesAreNeverSent) {
  SimulatedScreen& screen = Start(Behaviour::Healthy);
  QStringList file = EfficientDhcpFile(kPhone);
  file.insert(24, QStringLiteral("# la puerta de enlace va dos veces"));
  file.insert(23, QString());
  file.insert(file.size() - 1, QStringLiteral("#set dns enable"));
  screen.WriteConfig(kPhone, file);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(Login() + Reset() + SetPassword() + EfficientDhcpCommands(kPhone)));
  EXPECT_EQ(screen.BoxTexts().last(), loader_texts::kConfigured);
}

TEST_F(EfficientSessionTest, SlowCommandIsSentOnceMore) {
  SimulatedScreen& screen = Start(Behaviour::SlowCommand);
  screen.Run(kPhone);
  QStringList commands = EfficientDhcpCommands(kPhone);
  commands.insert(commands.indexOf(QStringLiteral("set dns disable")), QStringLiteral("set dns disable"));
  EXPECT_EQ(screen.TypedLines(), AsLines(Login() + Reset() + SetPassword() + commands));
  EXPECT_EQ(screen.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));
}

TEST_F(EfficientSessionTest, DeadCommandEndsTheSessionAfterOneResend) {
  SimulatedScreen& screen = Start(Behaviour::DeadCommand);
  screen.Run(kPhone);
  QStringList commands = EfficientDhcpCommands(kPhone);
  commands = commands.mid(0, commands.indexOf(QStringLiteral("set dns disable")));
  commands << QStringLiteral("set dns disable") << QStringLiteral("set dns disable");
  EXPECT_EQ(screen.TypedLines(), AsLines(Login() + Reset() + SetPassword() + commands));
  EXPECT_EQ(screen.BoxTexts(), (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kResponseTimeout}));
  // The second snapshot is still written: the log shows where the modem stopped.
  EXPECT_TRUE(LogBody().endsWith("set dns disable\r\n\r\n"));
}

TEST_F(EfficientSessionTest, UnpluggedAdapterEndsTheSessionWithoutHanging) {
  SimulatedScreen& screen = Start(Behaviour::Unplugged);
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines().last(), "set dns disable");
  EXPECT_EQ(screen.TypedLines().count(QByteArray("set dns disable")), 1);
  const QStringList texts = screen.BoxTexts();
  ASSERT_EQ(texts.size(), 3);
  EXPECT_EQ(screen.platform.boxes.shown[1].icon, platform::MsgIcon::Critical);  // the port's failure
  EXPECT_EQ(texts[2], loader_texts::kResponseTimeout);
}

TEST_F(EfficientSessionTest, NoiseOnTheLineIsCleanedAway) {
  SimulatedScreen& screen = Start(Behaviour::Noise);
  screen.Run(kPhone);
  EXPECT_EQ(screen.BoxTexts().last(), loader_texts::kConfigured);
  const QByteArray box = screen.session->Dialogue().Content();
  EXPECT_FALSE(box.contains('\0'));
  EXPECT_FALSE(box.contains('\b'));
  EXPECT_EQ(box.count('\n'), box.count("\r\n"));
  EXPECT_EQ(box.count('\r'), box.count("\r\n"));
  EXPECT_TRUE(box.contains("\x81\xfe"));
}

}  // namespace
