#include "loader/EfficientSession.h"

#include "core/Def_Globales.h"
#include "loader/AnswerWait.h"
#include "loader/ConfigFileReader.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/ModemProfiles.h"
#include "loader/SequenceSteps.h"
#include "loader/SessionLog.h"
#include "platform/MessageBoxes.h"

namespace {

using namespace loader_texts;
using sequence::AccessPasswordBytes;
using sequence::Report;
using sequence::SendOrReport;

const QString kStartLine = QStringLiteral("Arrancado el módem ADSL Efficent SS5660");
const QString kCannotSetPasswords =
    QStringLiteral("Error estableciendo las claves de acceso al módem ADSL");
const QString kNoRepeatPrompt = QStringLiteral("El Atu-R no solicitó la repetición de la nueva clave");
const QString kPasswordsDiffer = QStringLiteral("Las claves introducidas no coinciden");

constexpr int kDefaultsWaitSeconds = 40;
constexpr int kCommandWaitSeconds = 5;
constexpr int kLoginPauseMs = 100;

// A prompt, a password request or the word "default" ends a command's wait.
bool CommandAnswered(const QByteArray& collected) {
  return ContainsAny(collected, {"Command", "Password", "default"});
}

// One command's wait: up to 5 s, or a single read after the file's last line.
bool WaitForCommandAnswer(ModemDialogue& modem, bool lastLine) {
  return WaitForAnswer(modem, {kCommandWaitSeconds, 0, &CommandAnswered, lastLine});
}

bool SendOneCommand(ModemDialogue& modem, const QString& command, bool lastLine) {
  if (!modem.SendLine(command)) return Report(kResponseTimeout);
  if (WaitForCommandAnswer(modem, lastLine)) return true;
  // One more try with the command itself (not with whatever came back during the
  // failed wait, which is usually nothing or a partial echo).
  (void)modem.SendLine(command);
  if (WaitForCommandAnswer(modem, lastLine)) return true;
  return Report(kResponseTimeout);
}

// The password answer: the modem may ask again before taking the first attempt.
bool SendPasswordAndRead(ModemDialogue& modem, QByteArray& answer) {
  if (!modem.SendLine(AccessPasswordBytes())) return Report(kCannotContactModem);
  answer.append(modem.ReadResponse(kLoginPauseMs));
  return true;
}

bool RestoreDefaultsAndReboot(ModemDialogue& modem) {
  modem.SetStep(sequence::kStepErase);
  if (!SendOrReport(modem, QStringLiteral("default all"))) return false;
  const AnswerWait defaults{kDefaultsWaitSeconds, kLoginPauseMs,
                            [](const QByteArray& text) { return text.contains("Command"); }};
  if (!WaitForAnswer(modem, defaults)) return Report(kUnexpectedAnswer);
  modem.SetStep(sequence::kStepReboot);
  if (!SendOrReport(modem, QStringLiteral("reboot"))) return false;
  if (!modem.ReadResponse(kLoginPauseMs).contains("sure")) return Report(kUnexpectedAnswer);
  return SendOrReport(modem, QStringLiteral("y"));
}

}  // namespace

namespace {

// True when every line went and the modem is configured.
bool LoadEfficient(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  if (!sequence::StartSession(modem, file, log, kEfficientSS5660, kStartLine)) return false;
  QByteArray answer = modem.Box().Content();
  if (!EfficientLogin(modem, answer)) return Report(kFirstLoginFailed);
  if (!modem.IsOpen()) return Report(kChannelClosed);
  if (!RestoreDefaultsAndReboot(modem)) return false;
  log.WriteDialogue(modem.Box().Content());
  if (!modem.WaitForModemPrompt(kEfficientSS5660)) return Report(kCannotRestart);
  answer = modem.Box().Content();
  if (!EfficientLogin(modem, answer)) {
    platform::ShowMessage(kSecondLoginFailed, QString(), platform::MsgIcon::None);
    return false;
  }
  const bool loaded = SendEfficientScript(modem, file);
  log.WriteDialogue(modem.Box().Content());
  return loaded;
}

}  // namespace

SessionResult RunEfficientSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  return modem.ResultOf(LoadEfficient(modem, file, log));
}

bool EfficientLogin(ModemDialogue& modem, QByteArray& answer) {
  modem.SetStep(sequence::kStepLogin);
  if (!answer.contains("Password")) {
    // A console that shows its prompt straight away has no password yet.
    if (answer.contains("Command")) return EfficientSetPassword(modem);
    return Report(kCannotSetPasswords);
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!SendPasswordAndRead(modem, answer)) return false;
    if (answer.contains("Command")) return true;
  }
  return Report(kWrongPassword);
}

bool EfficientSetPassword(ModemDialogue& modem) {
  modem.SetStep(sequence::kStepSetPassword);
  if (!SendOrReport(modem, QStringLiteral("set password"))) return false;
  if (!modem.ReadResponse(1000).contains("New password :")) return Report(kNoNewPasswordPrompt);
  if (!modem.SendLine(AccessPasswordBytes())) return Report(kCannotContactAtuR);
  // The modem asks for the repetition with the same words.
  if (!modem.ReadResponse(1000).contains("New password :")) return Report(kNoRepeatPrompt);
  if (!modem.SendLine(AccessPasswordBytes())) return Report(kCannotContactAtuR);
  if (!modem.ReadResponse(500).contains("Command->")) return Report(kPasswordsDiffer);
  return true;
}

bool SendEfficientScript(ModemDialogue& modem, ConfigFileReader& file) {
  if (!sequence::SendCommandLines(modem, file, &SendOneCommand)) return false;
  platform::ShowMessage(kConfigured, kConfiguredTitle, platform::MsgIcon::Information);
  return true;
}
