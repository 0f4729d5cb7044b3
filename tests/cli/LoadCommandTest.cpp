#include <gtest/gtest.h>

#include <signal.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>

#include <atomic>
#include <memory>
#include <thread>

#include "cli/CommandLine.h"
#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "modemsim/Consoles.h"
#include "modemsim/ExampleFile.h"
#include "modemsim/PtyServer.h"
#include "platform/Cp1252.h"
#include "platform/TextFile.h"
#include "support/TestPlatform.h"

using testing_support::TestPlatform;

namespace {

const QByteArray kTrailer = platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n"));

// A quick simulated Efficient on a pseudo-terminal named Com<port> in the folder,
// served on a thread of its own, with the subscriber's file written.
class SimulatedModem {
 public:
  SimulatedModem(const TestPlatform& platform, int port, const QString& phone,
                 modemsim::Behaviour behaviour) {
    QString error;
    (void)platform::MakeDirectory(platform.PathOf(QStringLiteral("Configuraciones")), &error);
    const QStringList file = modemsim::ExampleConfigFile(kEfficientSS5660, DataScreen::Dhcp, phone);
    const bool ok = platform::ReplaceTextFile(ConfigFilePath(phone), file, &error) && server_.Create(&error) &&
          server_.LinkAsPort(platform.Dir(), port, &error);
    EXPECT_TRUE(ok) << error.toStdString();
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    options.bootSeconds = 0;
    options.rebootSeconds = 0.3;
    options.defaultsSeconds = 0.2;
    options.answerSeconds = 0.01;
    console_ = modemsim::MakeConsole(QStringLiteral("efficient"), server_, options);
    server_.Attach(console_.get());
    serving_ = std::thread([this] {
      console_->PowerOn();
      server_.Run(stop_);
    });
  }
  ~SimulatedModem() {
    stop_.store(true);
    serving_.join();
  }
  SimulatedModem(const SimulatedModem&) = delete;
  SimulatedModem& operator=(const SimulatedModem&) = delete;

 private:
  modemsim::PtyServer server_;
  std::unique_ptr<modemsim::ModemConsole> console_;
  std::atomic<bool> stop_{false};
  std::thread serving_;
};

struct Outcome {
  int status;
  QString out;
  QString err;
};

Outcome RunArgs(const QStringList& args) {
  Outcome outcome;
  QTextStream outStream(&outcome.out);
  QTextStream errStream(&outcome.err);
  cli::Console console{outStream, errStream};
  outcome.status = cli::Run(args, console);
  return outcome;
}

QString Logged(const TestPlatform& platform, const QString& phone) {
  return platform::FromCp1252(platform.Read(QStringLiteral("Logs/%1.log").arg(phone)));
}

// Four modems at once, one of them pulled out in the middle: the other three load,
// each session keeps its own log, and the table and the exit status tell.
TEST(LoadCommand, FourModemsAtOnceOneFailing) {
  TestPlatform platform;
  const struct {
    int port;
    const char* phone;
    modemsim::Behaviour behaviour;
  } modems[] = {
      {3, "900000003", modemsim::Behaviour::Healthy},
      {4, "900000004", modemsim::Behaviour::Unplugged},
      {5, "900000005", modemsim::Behaviour::Healthy},
      {12, "900000012", modemsim::Behaviour::Healthy},
  };
  std::vector<std::unique_ptr<SimulatedModem>> simulated;
  QStringList args{"cargar", "--encendidos", "--dir", platform.Dir()};
  for (const auto& m : modems) {
    simulated.push_back(std::make_unique<SimulatedModem>(platform, m.port, QString::fromLatin1(m.phone), m.behaviour));
    args << QStringLiteral("--puerto") << QStringLiteral("%1=%2").arg(m.port).arg(QString::fromLatin1(m.phone));
  }
  const auto [status, out, err] = RunArgs(args);

  EXPECT_EQ(status, cli::kExitRefused) << out.toStdString() << err.toStdString();
  for (std::size_t i = 0; i < std::size(modems); ++i) {
    const auto& m = modems[i];
    const QString phone = QString::fromLatin1(m.phone);
    const QString name = QStringLiteral("Com %1 (%2)").arg(m.port).arg(phone);
    const QString log = Logged(platform, phone);
    EXPECT_TRUE(log.startsWith(QStringLiteral("Sesión de configuración\r\n"))) << name.toStdString();
    EXPECT_TRUE(log.endsWith(QString::fromUtf8("-- Fin de detalle de sesión --\r\n"))) << name.toStdString();
    const bool healthy = m.behaviour == modemsim::Behaviour::Healthy;
    // The modem pulled out took the DNS line with it; the others logged it.
    EXPECT_EQ(log.contains(QStringLiteral("Command-> set dns ")), healthy) << name.toStdString();
    EXPECT_EQ(err.contains(name + QStringLiteral(": Configuración finalizada: ")), healthy) << name.toStdString();
    const QString row = QStringLiteral("Com %1").arg(m.port).leftJustified(9) + phone.leftJustified(14) +
                        (healthy ? QStringLiteral("Cargado\n") : QStringLiteral("Error en: "));
    EXPECT_TRUE(out.contains(row)) << name.toStdString() << "\n" << out.toStdString();
  }
}

// A command line that names no modem, or two sessions that would share a port or a
// log, is refused before anything starts.
TEST(LoadCommand, RefusesAmbiguousTargets) {
  TestPlatform platform;
  const QList<QStringList> cases = {
      {},
      {"900000003", "900000004"},
      {"900000003", "--puerto", "3=900000003"},
      {"--puerto", "3"},
      {"--puerto", "0=900000003"},
      {"--puerto", "3=900000003", "--puerto", "3=900000004"},
      {"--puerto", "3=900000003", "--puerto", "4=900000003"},
  };
  for (const QStringList& targets : cases) {
    EXPECT_EQ(RunArgs(QStringList{"cargar", "--dir", platform.Dir()} + targets).status, cli::kExitUsage)
        << targets.join(QLatin1Char(' ')).toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(platform.PathOf(QStringLiteral("Logs"))));
}

// Ctrl+C cancels every session as Cancelar does: the logs say so and get their
// trailer, the table says "Cancelado" and the exit status is 1.
TEST(LoadCommand, CtrlCCancelsEverySession) {
  TestPlatform platform;
  const SimulatedModem first(platform, 3, QStringLiteral("900000003"), modemsim::Behaviour::Silent);
  const SimulatedModem second(platform, 4, QStringLiteral("900000004"), modemsim::Behaviour::Silent);
  QProcess program;
  program.start(QStringLiteral(ADSL_PROGRAM),
                {"cargar", "--encendidos", "--dir", platform.Dir(), "--puerto", "3=900000003", "--puerto",
                 "4=900000004"});
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
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), cli::kExitRefused);
  EXPECT_LT(waited.elapsed(), 15000);
  for (const char* phone : {"900000003", "900000004"}) {
    const QByteArray log = platform.Read(QStringLiteral("Logs/%1.log").arg(QString::fromLatin1(phone)));
    EXPECT_TRUE(log.endsWith("Carga cancelada por el usuario\r\n" + kTrailer)) << log.right(200).toStdString();
    EXPECT_TRUE(out.contains(QByteArray(phone).leftJustified(14) + "Cancelado\n")) << out.toStdString();
  }
}

}  // namespace
