#include "cli/LoadCommand.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "cli/ConsoleMessageBoxes.h"
#include "core/Def_Globales.h"
#include "core/SettingsFile.h"
#include "loader/LoaderTexts.h"
#include "loader/SessionLog.h"
#include "loader/SessionRunner.h"

namespace cli {

namespace {

using platform::MsgAnswer;
using platform::MsgButtons;

constexpr OptionSpec kOptions[] = {{"puerto", true, true}, {"encendidos", false}};

const char* const kHelp =
    "Uso: configurador-adsl cargar TELÉFONO [--puerto N] [--encendidos] [--dir CARPETA]\n"
    "     configurador-adsl cargar --puerto N=TELÉFONO [--puerto N=TELÉFONO ...]\n"
    "         [--encendidos] [--dir CARPETA]\n"
    "\n"
    "Carga en el módem el fichero Configuraciones/<teléfono>.cfg como la ventana de\n"
    "carga: la misma secuencia, las mismas esperas y el mismo registro en Logs. Con\n"
    "varios --puerto N=TELÉFONO carga varios módems a la vez, cada uno por su puerto.\n"
    "N es el puerto Com N (puertos/comN en la carpeta de trabajo, o /dev/ttyS<N-1>);\n"
    "sin --puerto, el puerto de conf_gen.dat.\n"
    "\n"
    "  --puerto N[=TELÉFONO]  el puerto de un módem (se puede repetir)\n"
    "  --encendidos           los módems ya están encendidos: no pregunta\n"
    "\n"
    "Pregunta una vez «Encienda o reinicie los módems y pulse Intro». Muestra el paso\n"
    "de cada módem y, al final, una tabla con el resultado. Ctrl+C cancela todas las\n"
    "cargas como el botón Cancelar. Estado de salida: 0 si se cargaron todos los\n"
    "módems, 1 si alguno no, 2 si la orden está mal escrita.\n";

const QString kPowerOnLine = QStringLiteral("Encienda o reinicie los módems y pulse Intro");
constexpr int kMaxPort = 256;
constexpr int kRedrawMs = 250;

struct Target {
  int port = 0;
  QString phone;
};

std::optional<int> ParsePort(const QString& text) {
  bool ok = false;
  const int port = text.toInt(&ok);
  if (!ok || port < 1 || port > kMaxPort || text != QString::number(port)) return std::nullopt;
  return port;
}

// The ports and phones of the command line; false with the fault in *error.
bool ReadTargets(const ParsedArgs& args, std::vector<Target>* targets, QString* error) {
  const QStringList ports = args.Values(QStringLiteral("puerto"));
  if (args.positionals.size() > 1) {
    *error = QStringLiteral("argumento de más: «%1»").arg(args.positionals.at(1));
    return false;
  }
  if (!args.positionals.isEmpty()) {
    // One modem: at most one --puerto, a plain number.
    if (ports.size() > 1 || (!ports.isEmpty() && ports.first().contains(QLatin1Char('=')))) {
      *error = QStringLiteral("con el teléfono como argumento va como mucho un --puerto N");
      return false;
    }
    const std::optional<int> port =
        ports.isEmpty() ? std::optional<int>(ServiceSettings.ComPort) : ParsePort(ports.first());
    if (!port) {
      *error = QStringLiteral("puerto no válido «%1» (--puerto)").arg(ports.first());
      return false;
    }
    targets->push_back({*port, args.positionals.first()});
    return true;
  }
  if (ports.isEmpty()) {
    *error = QStringLiteral("falta el teléfono del abonado");
    return false;
  }
  for (const QString& value : ports) {
    const qsizetype equals = value.indexOf(QLatin1Char('='));
    const std::optional<int> port = ParsePort(value.left(equals));
    if (equals < 0 || !port || value.mid(equals + 1).isEmpty()) {
      *error = QStringLiteral("se espera --puerto N=TELÉFONO, no «%1»").arg(value);
      return false;
    }
    const QString phone = value.mid(equals + 1);
    for (const Target& other : *targets) {
      // Two sessions on one port, or writing one log, would spoil each other.
      if (other.port == *port) {
        *error = QStringLiteral("el puerto %1 aparece más de una vez").arg(*port);
        return false;
      }
      if (other.phone == phone) {
        *error = QStringLiteral("el teléfono %1 aparece más de una vez").arg(phone);
        return false;
      }
    }
    targets->push_back({*port, phone});
  }
  return true;
}

// Ctrl+C and SIGTERM reach the event loop through a pipe: the handler only writes.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const int saved = errno;
  const char byte = 0;
  (void)::write(signalPipe[1], &byte, 1);
  errno = saved;
}

class SignalCatcher {
 public:
  explicit SignalCatcher(std::function<void()> onSignal) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [onSignal = std::move(onSignal)] {
                       char bytes[16];
                       while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
                       }
                       onSignal();
                     });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &savedInt_);
    ::sigaction(SIGTERM, &action, &savedTerm_);
  }
  ~SignalCatcher() {
    if (!notifier_) return;
    ::sigaction(SIGINT, &savedInt_, nullptr);
    ::sigaction(SIGTERM, &savedTerm_, nullptr);
    notifier_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
  }
  SignalCatcher(const SignalCatcher&) = delete;
  SignalCatcher& operator=(const SignalCatcher&) = delete;

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction savedInt_ = {};
  struct sigaction savedTerm_ = {};
};

class LoadJob;

// One port's session, followed from the main thread.
class PortSession final : public SessionObserver {
 public:
  PortSession(LoadJob& job, Target target)
      : target(std::move(target)), job_(job), runner_(*this, SessionRunner::Threading::OwnThread) {}

  void SetDialogueText(const QString&) override {}
  void AppendDialogueText(const QString&) override {}
  void MoveCaretToEnd() override {}
  [[nodiscard]] QString Caption() const override { return caption_; }
  void SetCaption(const QString& caption) override { caption_ = caption; }
  void SetBusyPointer(bool) override {}
  void SetButtonsEnabled(bool) override {}
  void ShowStatus(const QString& text) override;
  void ShowProgress(int sent, int total) override {
    sent_ = sent;
    total_ = total;
  }
  MsgAnswer Show(const QString& text, const QString& title, platform::MsgIcon icon,
                 MsgButtons buttons) override;
  void SessionEnded(const SessionResult& ended) override { result = ended; }

  void Start() { runner_.Start(target.phone, target.port); }
  void Cancel() { runner_.Cancel(); }
  [[nodiscard]] bool Running() const { return runner_.IsRunning(); }
  [[nodiscard]] QString Name() const {
    return QStringLiteral("Com %1 (%2)").arg(target.port).arg(target.phone);
  }
  [[nodiscard]] QString LiveLine() const;
  // The session's result in words; "" while it runs.
  [[nodiscard]] QString Outcome() const;

  const Target target;
  std::optional<SessionResult> result;

 private:
  LoadJob& job_;
  QString caption_;
  QString status_;
  QString step_;  // the status without its countdown
  int sent_ = 0;
  int total_ = 0;
  SessionRunner runner_;  // last: it goes first, while the rest is still there
};

// The sessions of one `cargar`, and the console they share.
class LoadJob {
 public:
  LoadJob(Console& console, bool poweredOn)
      : console_(console), poweredOn_(poweredOn), live_(::isatty(STDOUT_FILENO) != 0) {}

  int Run(const std::vector<Target>& targets);

  // A line on `stream` ("out" or "err"), above the live lines on a terminal.
  void Print(QTextStream& stream, const QString& line);
  void StepChanged(const PortSession& session, const QString& step);
  MsgAnswer PowerOn();
  [[nodiscard]] Console& Io() { return console_; }

 private:
  void CancelAll();
  void Erase();
  void Draw();
  void PrintTable();

  Console& console_;
  bool poweredOn_;
  const bool live_;
  bool asked_ = false;
  bool cancelled_ = false;
  int drawn_ = 0;  // live lines on the screen
  std::vector<std::unique_ptr<PortSession>> sessions_;
  std::unique_ptr<QSocketNotifier> input_;
};

void PortSession::ShowStatus(const QString& text) {
  status_ = text;
  const qsizetype countdown = text.lastIndexOf(QStringLiteral(" (quedan "));
  const QString step = countdown < 0 ? text : text.left(countdown);
  if (step == step_) return;
  step_ = step;
  if (!step.isEmpty()) job_.StepChanged(*this, step);
}

MsgAnswer PortSession::Show(const QString& text, const QString& title, platform::MsgIcon,
                            MsgButtons buttons) {
  if (title == loader_texts::kPowerOnTitle && buttons == MsgButtons::OkCancel) return job_.PowerOn();
  const QString shownTitle = title.isEmpty() ? QString::fromUtf8(platform::kApplicationTitle) : title;
  job_.Print(job_.Io().err, Name() + QStringLiteral(": ") + shownTitle + QStringLiteral(": ") + OneLine(text));
  return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString PortSession::LiveLine() const {
  QString line = QStringLiteral("Com %1  %2  ").arg(target.port).arg(target.phone, -12);
  line += result ? Outcome() : status_.isEmpty() ? QStringLiteral("En espera") : status_;
  if (total_ > 0) line += QStringLiteral("  %1/%2 líneas").arg(sent_).arg(total_);
  return line;
}

QString PortSession::Outcome() const {
  if (!result) return {};
  switch (result->outcome) {
    case SessionResult::Outcome::Loaded:
      return QStringLiteral("Cargado");
    case SessionResult::Outcome::Cancelled:
      return QStringLiteral("Cancelado");
    case SessionResult::Outcome::Failed:
      break;
  }
  // Before the modem dialogue (no file, a wrong number...) there is no step to name.
  return result->step.isEmpty() ? QStringLiteral("Error") : QStringLiteral("Error en: ") + result->step;
}

void LoadJob::StepChanged(const PortSession& session, const QString& step) {
  if (!live_) Print(console_.out, session.Name() + QStringLiteral(": ") + step);
}

// Every session asks; the installer answers once for all the modems.
MsgAnswer LoadJob::PowerOn() {
  if (!poweredOn_ && !asked_) {
    asked_ = true;
    Print(console_.out, kPowerOnLine);
    input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(input_.get(), &QSocketNotifier::activated, input_.get(), [this] {
      char byte = 0;
      // A line ends with Enter; an input that ends (no terminal) counts as one.
      const ssize_t n = ::read(STDIN_FILENO, &byte, 1);
      if (n > 0 && byte != '\n') return;
      poweredOn_ = true;
      // The terminal echoed the Enter below the live lines: the next redraw takes it too.
      if (live_ && drawn_ > 0 && ::isatty(STDIN_FILENO) != 0) ++drawn_;
      input_->setEnabled(false);
    });
  }
  // Boxes of other ports, and the other ports' questions, are served meanwhile.
  while (!poweredOn_ && !cancelled_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  // After Ctrl+C too: the session then sees the cancel at its next check and ends
  // cancelled, rather than as a modem that was never switched on.
  return MsgAnswer::Ok;
}

void LoadJob::CancelAll() {
  cancelled_ = true;
  for (auto& session : sessions_) session->Cancel();
}

void LoadJob::Erase() {
  if (!live_ || drawn_ == 0) return;
  console_.out << QStringLiteral("\x1b[%1A\r\x1b[J").arg(drawn_);
  drawn_ = 0;
}

void LoadJob::Draw() {
  if (!live_) return;
  Erase();
  // A line longer than the terminal would wrap and spoil the redrawing.
  winsize size = {};
  const int width = ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 ? size.ws_col - 1 : 79;
  for (const auto& session : sessions_) {
    console_.out << session->LiveLine().left(width) << '\n';
    ++drawn_;
  }
  console_.out.flush();
}

void LoadJob::Print(QTextStream& stream, const QString& line) {
  Erase();
  console_.out.flush();
  stream << line << Qt::endl;
  Draw();
}

void LoadJob::PrintTable() {
  Erase();
  console_.out << QStringLiteral("Puerto   Teléfono      Resultado\n");
  for (const auto& session : sessions_) {
    console_.out << QStringLiteral("Com %1").arg(session->target.port).leftJustified(9)
                 << session->target.phone.leftJustified(14) << session->Outcome() << '\n';
  }
  console_.out.flush();
}

int LoadJob::Run(const std::vector<Target>& targets) {
  // Made once here: sessions that each found it missing would race to create it.
  if (!EnsureLogsDirectory()) return kExitRefused;
  const SignalCatcher catcher([this] { CancelAll(); });
  for (const Target& target : targets) sessions_.push_back(std::make_unique<PortSession>(*this, target));
  QTimer redraw;
  QObject::connect(&redraw, &QTimer::timeout, [this] { Draw(); });
  if (live_) redraw.start(kRedrawMs);
  for (auto& session : sessions_) session->Start();
  Draw();
  const auto anyRunning = [this] {
    for (const auto& session : sessions_) {
      if (session->Running()) return true;
    }
    return false;
  };
  while (anyRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  redraw.stop();
  PrintTable();
  bool allLoaded = true;
  for (const auto& session : sessions_) {
    allLoaded = allLoaded && session->result && session->result->outcome == SessionResult::Outcome::Loaded;
  }
  sessions_.clear();
  return allLoaded ? kExitOk : kExitRefused;
}

int RunLoad(const ParsedArgs& args, Console& console) {
  SetStartupValues();
  (void)LoadServiceSettings();  // reports its own failure; the window goes on likewise
  std::vector<Target> targets;
  QString error;
  if (!ReadTargets(args, &targets, &error)) return UsageError(console, error);
  LoadJob job(console, args.Has(QStringLiteral("encendidos")));
  return job.Run(targets);
}

}  // namespace

const Command kLoadCommand{
    "cargar", "carga ficheros de configuración en uno o varios módems a la vez",
    kHelp,    kOptions,
    true,     RunLoad,
};

}  // namespace cli
