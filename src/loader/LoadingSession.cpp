#include "loader/LoadingSession.h"

#include <array>

#include "core/AddressHelpers.h"
#include "core/Def_Globales.h"
#include "loader/ConfigFileReader.h"
#include "loader/EfficientSession.h"
#include "loader/LoaderTexts.h"
#include "loader/LoadingView.h"
#include "loader/ModemDialogue.h"
#include "loader/OfficeSession.h"
#include "loader/ProSession.h"
#include "loader/SessionLog.h"
#include "platform/MessageBoxes.h"

namespace {

using loader_texts::kErrorTitle;

const QString kMarker = QStringLiteral("--Inicio");
const QString kTrailer = QStringLiteral("-- Fin de detalle de sesión --");

const QString kCancelled = QStringLiteral("Carga cancelada por el usuario");
const QString kCancelledTitle = QStringLiteral("Carga cancelada");

using SequenceRunner = SessionResult (*)(ModemDialogue&, ConfigFileReader&, SessionLog&);

// How the key line names each model, searched in this order; the first hit wins.
struct ModelEntry {
  const char* key;
  const char* captionSuffix;  // UTF-8
  std::int16_t model;
  SequenceRunner run;
};

const std::array<ModelEntry, 3> kModels = {{
    {"Efficient SS56660", " para módem Efficient SS5660", kEfficientSS5660, &RunEfficientSession},
    {"Speed Touch Office", " para módem Alcatel Speed Touch Office", kSpeedTouchOffice,
     &RunOfficeSession},
    {"Speed Touch Pro", " para módem Alcatel Speed Touch Pro", kSpeedTouchPro, &RunProSession},
}};

const ModelEntry* RecogniseModel(const QString& keyLine) {
  for (const ModelEntry& entry : kModels) {
    if (keyLine.contains(QLatin1String(entry.key))) return &entry;
  }
  return nullptr;
}

// The marker is the first non-empty line that occurs whole inside "--Inicio".
bool IsMarker(const QString& line) { return !line.isEmpty() && kMarker.contains(line); }

void ReportError(const QString& message) { platform::ShowError(message, kErrorTitle); }

}  // namespace

// One run of the driver: what it opened, and the screen to put back to idle.
class LoadingSession::Run {
 public:
  explicit Run(LoadingSession& owner) : owner_(owner) {
    owner_.running_ = true;
    if (LoadingView* view = owner_.view_) {
      view->SetBusyPointer(true);
      view->SetButtonsEnabled(false);
      caption_ = view->Caption();
    }
    owner_.status_.SetLines(0, 0);
  }

  // Reached from every way out of the session.
  ~Run() {
    QString ignored;
    if (config_.IsOpen()) (void)config_.Close(&ignored);
    if (log_.IsOpen()) (void)log_.Close(&ignored);
    // Unconditionally: a port that broke is no longer "open" but may still hold the
    // device until it is closed.
    owner_.link_->Close();
    if (result_.outcome == SessionResult::Outcome::Failed) {
      owner_.status_.ShowFailure(result_.step);
    } else {
      owner_.status_.Clear();
    }
    if (LoadingView* view = owner_.view_) {
      view->SetBusyPointer(false);
      view->SetCaption(caption_);
      view->SetButtonsEnabled(true);
    }
    owner_.running_ = false;
  }

  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // The result is kept for the owner; the screen goes idle when the run ends.
  SessionResult Execute(const QString& phone);

 private:
  void Steps(const QString& phone);
  [[nodiscard]] bool OpenFiles(const QString& phone);
  [[nodiscard]] bool FindMarker();
  void RunModel(const ModelEntry& entry);

  LoadingSession& owner_;
  QString caption_;
  ConfigFileReader config_;
  SessionLog log_;
  SessionResult result_;
};

SessionResult LoadingSession::Run::Execute(const QString& phone) {
  Steps(phone);
  // Told last, once the port and the log are closed.
  if (result_.outcome == SessionResult::Outcome::Cancelled) {
    platform::ShowMessage(kCancelled, kCancelledTitle, platform::MsgIcon::Information);
  }
  return result_;
}

void LoadingSession::Run::Steps(const QString& phone) {
  // The number names two files: anything but digits is refused like an empty field.
  if (phone.isEmpty() || !IsDigitsOnly(phone)) {
    platform::ShowMessage(QStringLiteral("Por favor, Introduzca el número de teléfono del abonado"),
                          kErrorTitle, platform::MsgIcon::Exclamation);
    return;
  }
  if (!ConfigFileExists(phone)) {
    return ReportError(QStringLiteral("No se ha podido encontrar el fichero de configuración"));
  }
  if (!EnsureLogsDirectory()) {
    return ReportError(QStringLiteral(
        "No se ha podido crear el directorio donde almacenar los registros de la aplicación"));
  }
  if (!OpenFiles(phone) || !FindMarker()) return;
  QString keyLine;
  QString error;
  if (!config_.ReadLine(&keyLine, &error)) return ReportError(error);
  (void)WriteSessionLogHeader(log_, phone, keyLine);
  const ModelEntry* entry = RecogniseModel(keyLine);
  if (entry == nullptr) {
    ReportError(QStringLiteral("El fichero de configuración contiene errores"));
  } else {
    RunModel(*entry);
  }
  if (!config_.Close(&error)) return ReportError(error);
  log_.WriteText(kTrailer);
  // After the session's own last message: the modem is loaded whatever the log.
  if (!log_.Close(&error)) ShowSessionLogFailure(phone, error);
}

bool LoadingSession::Run::OpenFiles(const QString& phone) {
  QString error;
  if (!config_.Open(ConfigFilePath(phone), &error)) {
    ReportError(error);
    return false;
  }
  // Only now: a session that cannot read its file leaves the old log alone.
  if (!log_.Open(SessionLogPath(phone), ServiceSettings.AccessPassword, &error)) {
    ReportError(error);
    return false;
  }
  return true;
}

bool LoadingSession::Run::FindMarker() {
  bool found = false;
  while (!config_.AtEnd() && !found) {
    QString line;
    QString error;
    if (!config_.ReadLine(&line, &error)) {
      ReportError(error);
      return false;
    }
    found = IsMarker(line);
  }
  // No marker, or nothing after it.
  if (config_.AtEnd()) {
    ReportError(QStringLiteral("Formato de fichero de configuración no válido"));
    return false;
  }
  return true;
}

void LoadingSession::Run::RunModel(const ModelEntry& entry) {
  if (LoadingView* view = owner_.view_) {
    view->SetCaption(caption_ + QString::fromUtf8(entry.captionSuffix));
  }
  if (owner_.port_ == 0) SelectedModel = entry.model;
  ModemDialogue modem(*owner_.link_, owner_.clock_, owner_.box_, &owner_.status_, owner_.cancel_);
  modem.UsePort(owner_.port_);
  try {
    result_ = entry.run(modem, config_, log_);
  } catch (const SessionCancelled&) {
    // Nothing more goes out; the log says why it stops, then gets its trailer.
    owner_.link_->Close();
    log_.WriteText(kCancelled);
    result_ = SessionResult::Cancelled();
  }
}

LoadingSession::LoadingSession(LoadingView* view)
    : LoadingSession(view, platform::NewSerialLink(), platform::CurrentClock()) {}

LoadingSession::LoadingSession(LoadingView* view, std::unique_ptr<platform::SerialLink> link,
                               platform::Clock& clock)
    : view_(view), link_(std::move(link)), clock_(clock) {
  box_.AttachView(view_);
  status_.AttachView(view_);
}

LoadingSession::~LoadingSession() { ClosePort(); }

SessionResult LoadingSession::cInstalar_Click(const QString& phone) {
  // The buttons are off while a session runs; a second click cannot start another.
  if (running_) return SessionResult::FailedAt({});
  Run run(*this);
  return run.Execute(phone);
}

void LoadingSession::ClosePort() { link_->Close(); }

void LoadingSession::DetachView() {
  view_ = nullptr;
  box_.AttachView(nullptr);
  status_.AttachView(nullptr);
}
