#include <gtest/gtest.h>

#include <signal.h>

#include <QElapsedTimer>

#include <atomic>
#include <list>
#include <memory>
#include <span>
#include <thread>

#include "CliRun.h"
#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "modemsim/Consoles.h"
#include "modemsim/ExampleFile.h"
#include "modemsim/PtyServer.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "support/TestPlatform.h"

using cli_testing::RunProgram;
using testing_support::TestPlatform;

namespace {

const QByteArray kTrailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));

struct Modem {
  int port;
  const char* phone;
  modemsim::Behaviour behaviour;
};

// Quick simulated Efficients, each on a pseudo-terminal named Com<port> in the folder
// and served on a thread of its own, with its subscriber's file written; `args` are
// the --puerto options that name them.
struct SimulatedModems {
  struct Served {
    modemsim::PtyServer server;
    std::unique_ptr<modemsim::ModemConsole> console;
    std::atomic<bool> stop{false};
    std::thread serving;
  };

  SimulatedModems(const TestPlatform& platform, std::span<const Modem> modems) {
    QString error;
    (void)platform::MakeDirectory(platform.PathOf(QStringLiteral("Configuraciones")), &error);
    for (const Modem& m : modems) {
      const QString phone = QString::fromLatin1(m.phone);
      Served& one = served.emplace_back();
      EXPECT_TRUE(platform::ReplaceTextFile(ConfigFilePath(phone),
                                            modemsim::ExampleConfigFile(kEfficientSS5660, DataScreen::Dhcp, phone),
                                            &error) &&
                  one.server.Create(&error) && one.server.LinkAsPort(platform.Dir(), m.port, &error))
          << error.toStdString();
      one.console = modemsim::MakeConsole(QStringLiteral("efficient"), one.server,
                                          {.behaviour = m.behaviour, .bootSeconds = 0, .rebootSeconds = 0.3,
                                           .answerSeconds = 0.01, .defaultsSeconds = 0.2});
      one.server.Attach(one.console.get());
      one.serving = std::thread([&one] {
        one.console->PowerOn();
        one.server.Run(one.stop);
      });
      args << QStringLiteral("--puerto") << QStringLiteral("%1=%2").arg(m.port).arg(phone);
    }
  }
  ~SimulatedModems() {
    for (Served& one : served) {
      one.stop.store(true);
      one.serving.join();
    }
  }

  std::list<Served> served;
  QStringList args;
};

// Three modems at once, switched on at one Enter (here, the input ending), one of
// them pulled out in the middle: the other two load, each session keeps its own log,
// and the table and the exit status tell.
TEST(LoadCommand, SeveralModemsAtOnceOneFailing) {
  TestPlatform platform;
  const Modem modems[] = {
      {3, "900000003", modemsim::Behaviour::Healthy},
      {4, "900000004", modemsim::Behaviour::Unplugged},
      {12, "900000012", modemsim::Behaviour::Healthy},
  };
  const SimulatedModems simulated(platform, modems);
  const auto [status, out, err] =
      RunProgram(QStringList{"cargar", "--dir", platform.Dir()} + simulated.args);

  EXPECT_EQ(status, cli::kExitRefused) << out.toStdString() << err.toStdString();
  EXPECT_EQ(out.count(QStringLiteral("Encienda o reinicie los módems y pulse Intro\n")), 1);  // once for all
  for (const Modem& m : modems) {
    const QString phone = QString::fromLatin1(m.phone);
    const QString name = QStringLiteral("Com %1 (%2)").arg(m.port).arg(phone);
    const QByteArray log = platform.Read(QStringLiteral("Logs/%1.log").arg(phone));
    EXPECT_TRUE(log.startsWith("Sesi\xF3n de configuraci\xF3n\r\n") && log.endsWith(kTrailer)) << name.toStdString();
    const bool healthy = m.behaviour == modemsim::Behaviour::Healthy;
    // The modem pulled out at the DNS line never got the lines after it (whether its
    // echo of that line was read before the hang-up is the race's); the others did.
    EXPECT_EQ(log.contains("set napt disable"), healthy) << name.toStdString();
    EXPECT_EQ(err.contains(name + QStringLiteral(": Configuración finalizada: ")), healthy) << name.toStdString();
    const QString row = QStringLiteral("Com %1").arg(m.port).leftJustified(9) + phone.leftJustified(14) +
                        (healthy ? QStringLiteral("Cargado\n") : QStringLiteral("Error en: "));
    EXPECT_TRUE(out.contains(row)) << name.toStdString() << "\n" << out.toStdString();
  }
}

// Ctrl+C cancels every session as Cancelar does: the logs say so and get their
// trailer, the table says "Cancelado" and the exit status is 1.
TEST(LoadCommand, CtrlCCancelsEverySession) {
  TestPlatform platform;
  const Modem modems[] = {{3, "900000003", modemsim::Behaviour::Silent}, {4, "900000004", modemsim::Behaviour::Silent}};
  const SimulatedModems simulated(platform, modems);
  QProcess program;
  program.start(QStringLiteral(ADSL_PROGRAM),
                QStringList{"cargar", "--encendidos", "--dir", platform.Dir()} + simulated.args);
  ASSERT_TRUE(program.waitForStarted(10000));
  // Both sessions waiting for a prompt that never comes.
  QByteArray out;
  QElapsedTimer waited;
  waited.start();
  while (out.count("Esperando el indicador") < 2 && waited.elapsed() < 20000) {
    program.waitForReadyRead(200);
    out += program.readAllStandardOutput();
  }
  ASSERT_EQ(out.count("Esperando el indicador"), 2) << out.toStdString();
  ::kill(static_cast<pid_t>(program.processId()), SIGINT);
  ASSERT_TRUE(program.waitForFinished(10000));
  out += program.readAllStandardOutput();
  EXPECT_EQ(program.exitCode(), cli::kExitRefused);  // a death by the signal would give its number
  for (const Modem& m : modems) {
    const QByteArray log = platform.Read(QStringLiteral("Logs/%1.log").arg(QString::fromLatin1(m.phone)));
    EXPECT_TRUE(log.endsWith("Carga cancelada por el usuario\r\n" + kTrailer)) << log.right(200).toStdString();
    EXPECT_TRUE(out.contains(QByteArray(m.phone).leftJustified(14) + "Cancelado\n")) << out.toStdString();
  }
}

}  // namespace
