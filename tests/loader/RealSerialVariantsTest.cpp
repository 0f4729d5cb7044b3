#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/Cp1252.h"
#include "platform/QtClock.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

namespace {

const QString kPhone = QStringLiteral("900123456");
constexpr int kPort = 5;

// Real time and the real event loop, except that a long blocking pause (the Office's
// 10 s settling, the half-second wake-up pokes) really lasts a tenth of a second at
// most: the simulated console is ready at once. The clock still counts every pause
// whole, so each wait keeps its limits.
class ShortPauseClock final : public platform::Clock {
 public:
  double Seconds() override { return real_.Seconds() + skipped_; }
  void SleepMs(int milliseconds) override {
    const int slept = std::min(milliseconds, kLongestPauseMs);
    real_.SleepMs(slept);
    skipped_ += (milliseconds - slept) / 1000.0;
  }
  void Yield() override { real_.Yield(); }

 private:
  static constexpr int kLongestPauseMs = 100;
  platform::QtClock real_;
  double skipped_ = 0;
};

// One loading session of the generated file through QSerialPort, against the
// model's simulated console served on a pseudo-terminal named as Com5.
void LoadThroughAPseudoTerminal(std::int16_t model, DataScreen screenKind) {
  testing_support::TestPlatform platform;
  SetStartupValues();
  ServiceSettings.ComPort = kPort;
  const QStringList file = loader_testing::GeneratedFile(model, screenKind, kPhone);
  const QString keyLine = file.value(file.indexOf(QStringLiteral("--Inicio")) + 1);
  SCOPED_TRACE(keyLine.toStdString());
  QString error;
  ASSERT_TRUE(platform::MakeDirectory(platform.PathOf(QStringLiteral("Configuraciones")), &error));
  ASSERT_TRUE(platform::ReplaceTextFile(ConfigFilePath(kPhone), file, &error));

  modemsim::ConsoleOptions options;  // a quick modem: the session takes seconds
  options.bootSeconds = 0;
  options.rebootSeconds = 0.3;
  options.defaultsSeconds = 0.2;
  options.answerSeconds = 0.01;
  modemsim::PtyServer server;
  ASSERT_TRUE(server.Create(&error)) << error.toStdString();
  ASSERT_TRUE(server.LinkAsPort(platform.Dir(), kPort, &error)) << error.toStdString();
  const auto console = modemsim::MakeConsole(loader_testing::ConsoleName(model), server, options);
  server.Attach(console.get());
  std::atomic<bool> stop{false};
  std::thread serving([&] {
    console->PowerOn();
    server.Run(stop);
  });

  ShortPauseClock clock;
  loader_testing::RecordingView view;
  {
    LoadingSession session(&view, std::make_unique<platform::QtSerialLink>(), clock);
    session.cInstalar_Click(kPhone);
    EXPECT_FALSE(session.Link().IsOpen());
  }
  stop.store(true);
  serving.join();

  EXPECT_EQ(platform.boxes.shown, (QList<testing_support::ShownBox>{loader_testing::PowerOnBox(),
                                                                    loader_testing::ConfiguredBox()}));
  QList<QByteArray> typed = console->ReceivedLines();
  typed.removeAll(QByteArray());  // the wake-ups
  EXPECT_EQ(typed, loader_testing::AsLines(loader_testing::ExpectedTypedLines(model, file)));

  const QByteArray log = platform.Read(QStringLiteral("Logs/900123456.log"));
  EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Tipo de configuración: ") + keyLine + "\r\n")));
  EXPECT_TRUE(log.contains(platform::ToCp1252(QStringLiteral("Arrancado el módem ADSL "))));
  EXPECT_TRUE(log.endsWith(platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"))));
  EXPECT_FALSE(log.contains("tarnimol"));
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.buttonsEnabled);
}

// The file formats are proven on the virtual clock; through the real port one session
// per model, over both screens, is enough.
TEST(RealSerialVariants, EfficientFileLoadsThroughAPseudoTerminal) {
  LoadThroughAPseudoTerminal(kEfficientSS5660, DataScreen::Dhcp);
}

TEST(RealSerialVariants, OfficeFileLoadsThroughAPseudoTerminal) {
  LoadThroughAPseudoTerminal(kSpeedTouchOffice, DataScreen::Napt);
}

TEST(RealSerialVariants, ProFileLoadsThroughAPseudoTerminal) {
  LoadThroughAPseudoTerminal(kSpeedTouchPro, DataScreen::Dhcp);
}

}  // namespace
