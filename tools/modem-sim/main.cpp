// modem-sim: a simulated modem console on a pseudo-terminal, so that a loading
// session can run through the real serial port code without a modem.
//
//   modem-sim --app-dir ~/configurador --com 3 --behaviour slow-command
//   modem-sim --model pro --com 3 --app-dir ~/configurador --behaviour short-prompt
//
// prints the device to open (/dev/pts/N), makes <app-dir>/puertos/com3 point at it,
// and plays the console in real time until interrupted.

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>

#include "modemsim/Consoles.h"
#include "modemsim/PtyServer.h"
#include "modemsim/TimingLog.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int /*signal*/) { stopRequested.store(true); }

QByteArray Printable(const QByteArray& bytes) {
  QByteArray out;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r') out.append("\\r");
    else if (c == '\n') out.append("\\n");
    else if (u < 0x20 || u >= 0x7f) out.append(QByteArray("\\x") + QByteArray::number(u, 16).rightJustified(2, '0'));
    else out.append(c);
  }
  return out;
}

struct Arguments {
  QString model = QStringLiteral("efficient");
  modemsim::ConsoleOptions options;
  QString appDirectory;
  int port = 0;
  QString recordFile;
  bool trace = false;
  // For measuring the program from outside (bench/).
  int lineRate = 0;
  QString timingLog;
};

// A modem that never makes the program wait: what is left of a session is the
// program's own pauses and reaction times.
void MakeInstant(bool rebootGiven, modemsim::ConsoleOptions* options) {
  if (!rebootGiven) options->rebootSeconds = 0;
  options->answerSeconds = 0;
  options->defaultsSeconds = 0;
}

bool ParseSeconds(const QString& text, double* value) {
  bool ok = false;
  const double seconds = text.toDouble(&ok);
  if (!ok || seconds < 0) return false;
  *value = seconds;
  return true;
}

bool Parse(const QCoreApplication& app, Arguments* args, QString* error) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Simulated ADSL modem console on a pseudo-terminal."));
  parser.addHelpOption();
  const QCommandLineOption model({QStringLiteral("m"), QStringLiteral("model")},
                                 QStringLiteral("Modem model: ") + modemsim::ModelNames().join(QStringLiteral(", ")),
                                 QStringLiteral("model"), args->model);
  const QCommandLineOption behaviour({QStringLiteral("b"), QStringLiteral("behaviour")},
                                     QStringLiteral("One of: ") + modemsim::BehaviourNames().join(QStringLiteral(", ")),
                                     QStringLiteral("name"), QStringLiteral("healthy"));
  const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The modem's password."),
                                    QStringLiteral("text"), QString::fromLatin1(args->options.password));
  const QCommandLineOption command(QStringLiteral("command"),
                                   QStringLiteral("Command that is slow, dead, unplugs or ends on a short "
                                                  "prompt (its start); each model has its own default."),
                                   QStringLiteral("text"));
  const QCommandLineOption boot(QStringLiteral("boot"), QStringLiteral("Seconds from start to the first prompt."),
                                QStringLiteral("seconds"), QStringLiteral("0"));
  const QCommandLineOption reboot(QStringLiteral("reboot"), QStringLiteral("Seconds a reboot takes."),
                                  QStringLiteral("seconds"), QString::number(args->options.rebootSeconds));
  const QCommandLineOption appDir(QStringLiteral("app-dir"),
                                  QStringLiteral("Application directory in which to make puertos/comN."),
                                  QStringLiteral("directory"));
  const QCommandLineOption com(QStringLiteral("com"), QStringLiteral("Port number N for puertos/comN."),
                               QStringLiteral("N"));
  const QCommandLineOption record(QStringLiteral("record"), QStringLiteral("Append every received byte to this file."),
                                  QStringLiteral("file"));
  const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("Show the traffic on standard error."));
  parser.addOptions({model, behaviour, password, command, boot, reboot, appDir, com, record, trace});
  const QCommandLineOption instant(QStringLiteral("instant"),
                                   QStringLiteral("Reboots, defaults and answers take no time (--reboot still counts)."));
  const QCommandLineOption lineRate(QStringLiteral("line-rate"),
                                    QStringLiteral("Pace both directions as a line at this many baud would "
                                                   "(10 bits a byte); 0 for no pacing."),
                                    QStringLiteral("baud"), QStringLiteral("0"));
  const QCommandLineOption timingLog(QStringLiteral("timing-log"),
                                     QStringLiteral("Write every chunk that crosses the line, with its "
                                                    "monotonic time in seconds, to this file."),
                                     QStringLiteral("file"));
  parser.addOptions({instant, lineRate, timingLog});
  parser.process(app);

  args->model = parser.value(model);
  if (!modemsim::ParseBehaviour(parser.value(behaviour), &args->options.behaviour)) {
    *error = QStringLiteral("Unknown behaviour: ") + parser.value(behaviour);
    return false;
  }
  args->options.password = parser.value(password).toLatin1();
  args->options.troubleCommand = parser.isSet(command) ? parser.value(command).toLatin1()
                                                       : modemsim::DefaultTroubleCommand(args->model);
  if (!ParseSeconds(parser.value(boot), &args->options.bootSeconds) ||
      !ParseSeconds(parser.value(reboot), &args->options.rebootSeconds)) {
    *error = QStringLiteral("--boot and --reboot take a number of seconds");
    return false;
  }
  args->appDirectory = parser.value(appDir);
  if (parser.isSet(com)) args->port = parser.value(com).toInt();
  if (!args->appDirectory.isEmpty() && args->port < 1) {
    *error = QStringLiteral("--app-dir needs --com N with N of at least 1");
    return false;
  }
  args->recordFile = parser.value(record);
  args->trace = parser.isSet(trace);
  if (parser.isSet(instant)) MakeInstant(parser.isSet(reboot), &args->options);
  bool rateOk = false;
  args->lineRate = parser.value(lineRate).toInt(&rateOk);
  if (!rateOk || args->lineRate < 0) {
    *error = QStringLiteral("--line-rate takes a number of baud");
    return false;
  }
  args->timingLog = parser.value(timingLog);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("modem-sim"));
  Arguments args;
  QString error;
  if (!Parse(app, &args, &error)) {
    std::fprintf(stderr, "modem-sim: %s\n", qPrintable(error));
    return 2;
  }

  modemsim::PtyServer server;
  auto console = modemsim::MakeConsole(args.model, server, args.options);
  if (!console) {
    std::fprintf(stderr, "modem-sim: unknown model %s\n", qPrintable(args.model));
    return 2;
  }
  if (!server.Create(&error) ||
      (!args.appDirectory.isEmpty() && !server.LinkAsPort(args.appDirectory, args.port, &error))) {
    std::fprintf(stderr, "modem-sim: %s\n", qPrintable(error));
    return 1;
  }
  server.SetLineRate(args.lineRate);
  modemsim::TimingLog timing;
  if (!args.timingLog.isEmpty() && !timing.Open(args.timingLog, &error)) {
    std::fprintf(stderr, "modem-sim: %s: %s\n", qPrintable(args.timingLog), qPrintable(error));
    return 1;
  }
  int record = -1;
  if (!args.recordFile.isEmpty()) {
    record = ::open(args.recordFile.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  }
  server.trace = [&](char direction, const QByteArray& bytes) {
    timing.Record(direction, bytes);
    if (direction == 'R' && record >= 0) (void)::write(record, bytes.constData(), bytes.size());
    if (args.trace) std::fprintf(stderr, "%c %s\n", direction, Printable(bytes).constData());
  };
  server.Attach(console.get());

  std::printf("%s\n", qPrintable(server.SlavePath()));
  std::fflush(stdout);
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);

  console->PowerOn();
  server.Run(stopRequested);
  if (server.HungUp()) std::fprintf(stderr, "modem-sim: line hung up (adapter unplugged)\n");
  if (record >= 0) ::close(record);
  return 0;
}
