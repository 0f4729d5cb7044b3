#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "platform/QtClock.h"
#include "platform/QtSerialLink.h"
#include "platform/TextFile.h"

namespace {

const QString kPhone = QStringLiteral("900123456");
constexpr int kPort = 7;

// A whole session through QSerialPort, real time and the real event loop, against the
// simulated modem on a pseudo-terminal named as Com7 in the application directory.
TEST(RealSerialSession, EfficientModemOnAPseudoTerminal) {
  testing_support::TestPlatform platform;
  SetStartupValues();
  ServiceSettings.ComPort = kPort;
  const QStringList file = loader_testing::EfficientDhcpFile(kPhone);
  ASSERT_EQ(file.value(20), QStringLiteral("Efficient SS56660 dhcp"));
  ASSERT_TRUE(platform::MakeDirectory(platform.PathOf(QStringLiteral("Configuraciones")), nullptr));
  QString error;
  ASSERT_TRUE(platform::ReplaceTextFile(platform.PathOf(QStringLiteral("Configuraciones/900123456.cfg")),
                                        file, &error));

  modemsim::ConsoleOptions options;  // a quick modem: the test takes seconds
  options.bootSeconds = 0;
  options.rebootSeconds = 0.3;
  options.defaultsSeconds = 0.2;
  options.answerSeconds = 0.01;
  modemsim::PtyServer server;
  ASSERT_TRUE(server.Create(&error)) << error.toStdString();
  ASSERT_TRUE(server.LinkAsPort(platform.Dir(), kPort, &error)) << error.toStdString();
  const auto console = modemsim::MakeConsole(QStringLiteral("efficient"), server, options);
  server.Attach(console.get());
  std::atomic<bool> stop{false};
  std::thread serving([&] {
    console->PowerOn();
    server.Run(stop);
  });

  platform::QtClock clock;
  loader_testing::RecordingView view;
  {
    LoadingSession session(&view, std::make_unique<platform::QtSerialLink>(), clock);
    session.cInstalar_Click(kPhone);
    EXPECT_FALSE(session.Link().IsOpen());
  }
  stop.store(true);
  serving.join();

  QStringList texts;
  for (const auto& box : platform.boxes.shown) texts << box.text;
  EXPECT_EQ(texts, (QStringList{loader_texts::kPowerOnQuestion, loader_texts::kConfigured}));

  QList<QByteArray> typed;
  for (const QByteArray& line : console->ReceivedLines()) {
    if (!line.isEmpty()) typed << line;
  }
  const QStringList expected =
      QStringList{QStringLiteral("tarnimol"), QStringLiteral("default all"), QStringLiteral("reboot"),
                  QStringLiteral("y"), QStringLiteral("set password"), QStringLiteral("tarnimol"),
                  QStringLiteral("tarnimol")} +
      file.mid(23);
  EXPECT_EQ(typed, loader_testing::AsLines(expected));

  const QByteArray log = platform.Read(QStringLiteral("Logs/900123456.log"));
  EXPECT_TRUE(log.startsWith("Sesi\xf3n de configuraci\xf3n\r\n"));
  EXPECT_TRUE(log.contains("Tipo de configuraci\xf3n: Efficient SS56660 dhcp\r\n"));
  EXPECT_TRUE(log.contains("-- Comienzo de detalle de sesi\xf3n --\r\n\r\nArrancado el m\xf3" "dem ADSL Efficent SS5660\r\n"));
  EXPECT_TRUE(log.contains("Are you sure? (y/n) \r\n"));
  EXPECT_TRUE(log.contains("set napt disable\r\n"));
  EXPECT_TRUE(log.endsWith("-- Fin de detalle de sesi\xf3n --\r\n"));
  EXPECT_FALSE(log.contains("tarnimol"));
  EXPECT_FALSE(view.busy);
  EXPECT_TRUE(view.buttonsEnabled);
}

}  // namespace
