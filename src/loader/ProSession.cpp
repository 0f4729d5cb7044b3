#include "loader/ProSession.h"

#include "core/Def_Globales.h"
#include "loader/ConfigFileReader.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/ModemProfiles.h"
#include "loader/ProAnswers.h"
#include "loader/SequenceSteps.h"
#include "loader/SessionLog.h"
#include "platform/MessageBoxes.h"

namespace {

using namespace loader_texts;
using sequence::Report;
using sequence::SendOrReport;

const QString kStartLine = QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Pro");
const QByteArray kSetPasswordCommand = QByteArrayLiteral("system setpassword password=");
// The password's own line in the dialogue. The front of a Pro buffer may lose two
// characters of a line, so the mask does not rely on the command's first word.
const QByteArray kPasswordLead = QByteArrayLiteral("password=");
const QString kRebootCommand = QStringLiteral("system reboot");

constexpr int kEraseWaitSeconds = 40;
constexpr int kAnswerWaitSeconds = 30;
constexpr int kSlowReadPauseMs = 100;

struct ProWait {
  double limitSeconds = kAnswerWaitSeconds;
  int pauseMs = 0;
  bool (*done)(const QByteArray&) = &IsFreshPrompt;
};

// Collects answers into a fresh buffer, trimming its front after every read, until
// `done` accepts it or the limit passes. True when the limit had not passed. Nothing
// is shown meanwhile: the callers show the buffer once the wait is over.
bool WaitForProAnswer(ModemDialogue& modem, const ProWait& wait, QByteArray* buffer) {
  buffer->clear();
  const Deadline deadline = modem.StartWait(wait.limitSeconds);
  bool passed = false;
  do {
    modem.Yield();
    buffer->append(modem.ReadResponse(wait.pauseMs));
    *buffer = DropLeadingLines(*buffer);
    KeepNewest(*buffer);
    passed = deadline.Passed() || !modem.IsOpen();  // a port gone will not answer
  } while (!wait.done(*buffer) && !passed);
  return !passed;
}

// A wait whose buffer goes to the dialogue box when it ends, answered or not.
bool WaitAndShow(ModemDialogue& modem, const ProWait& wait) {
  QByteArray buffer;
  const bool answered = WaitForProAnswer(modem, wait, &buffer);
  modem.Box().Append(buffer);
  return answered;
}

// Every answer is waited for, the last line's too.
bool SendOneCommand(ModemDialogue& modem, const QString& command, bool /*lastLine*/) {
  if (!modem.SendLine(command)) return Report(kResponseTimeout);
  if (WaitAndShow(modem, {})) return true;
  // A bare CR ends whatever the console was doing; then the command once more, and
  // this time any prompt at the end will do. That answer is not shown.
  (void)modem.SendLine(QByteArray());
  (void)modem.SendLine(command);
  QByteArray ignored;
  if (WaitForProAnswer(modem, {kAnswerWaitSeconds, 0, &IsShortPrompt}, &ignored)) return true;
  return Report(kResponseTimeout);
}

bool EraseAndReboot(ModemDialogue& modem) {
  modem.SetStep(sequence::kStepErase);
  if (!SendOrReport(modem, QStringLiteral("config erase"))) return false;
  if (!WaitAndShow(modem, {kEraseWaitSeconds, kSlowReadPauseMs})) return Report(kUnexpectedAnswer);
  modem.SetStep(sequence::kStepReboot);
  if (!SendOrReport(modem, kRebootCommand)) return false;
  modem.Box().Append(kRebootCommand.toLatin1());
  return true;
}

}  // namespace

namespace {

// True when every line went and the modem is configured.
bool LoadPro(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  if (!sequence::StartSession(modem, file, log, kSpeedTouchPro, kStartLine)) return false;
  if (!modem.IsOpen()) return Report(kChannelClosed);
  if (!EraseAndReboot(modem)) return false;
  if (!modem.WaitForModemPrompt(kSpeedTouchPro)) return Report(kCannotRestart);
  if (!ProSetPassword(modem)) {
    platform::ShowMessage(kSecondLoginFailed, QString(), platform::MsgIcon::None);
    return false;
  }
  const bool loaded = SendProScript(modem, file);
  // What came before the reboot was replaced by the wait after it: one snapshot.
  log.WriteDialogue(sequence::MaskEchoedPassword(modem.Box().Content(), kPasswordLead));
  return loaded;
}

}  // namespace

SessionResult RunProSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  return modem.ResultOf(LoadPro(modem, file, log));
}

bool ProSetPassword(ModemDialogue& modem) {
  modem.SetStep(sequence::kStepSetPassword);
  if (!modem.SendLine(kSetPasswordCommand + sequence::AccessPasswordBytes())) {
    return Report(kCannotContactAtuR);
  }
  if (WaitAndShow(modem, {kAnswerWaitSeconds, kSlowReadPauseMs})) return true;
  return Report(kNoNewPasswordPrompt);
}

bool SendProScript(ModemDialogue& modem, ConfigFileReader& file) {
  if (!sequence::SendCommandLines(modem, file, &SendOneCommand)) return false;
  platform::ShowMessage(kConfigured, kConfiguredTitle, platform::MsgIcon::Information);
  return true;
}
