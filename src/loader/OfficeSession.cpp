#include "loader/OfficeSession.h"

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
using sequence::Report;
using sequence::SendOrReport;

const QString kStartLine = QStringLiteral("Arrancado el módem ADSL Alcatel Speed Touch Office");
// What every Office accepts at "Login:" until an administrator password is set.
const QByteArray kFactoryLoginWord = QByteArrayLiteral("velun");
const QByteArray kAdminCommand = QByteArrayLiteral("system admin ");

constexpr int kEraseWaitSeconds = 40;
constexpr int kCommandWaitSeconds = 5;
constexpr int kLoginPauseMs = 100;

bool HasPrompt(const QByteArray& text) { return text.contains('#'); }

// One command's wait: up to 5 s, or a single read after the file's last line.
bool WaitForCommandAnswer(ModemDialogue& modem, bool lastLine) {
  return WaitForAnswer(modem, {kCommandWaitSeconds, 0, &HasPrompt, lastLine});
}

bool SendOneCommand(ModemDialogue& modem, const QString& command, bool lastLine) {
  if (!modem.SendLine(command)) return Report(kResponseTimeout);
  if (WaitForCommandAnswer(modem, lastLine)) return true;
  // One more try with the command itself, never with whatever came back during the
  // failed wait (usually nothing, which would only put a bare CR on the line).
  (void)modem.SendLine(command);
  if (WaitForCommandAnswer(modem, lastLine)) return true;
  return Report(kResponseTimeout);
}

bool EraseAndReboot(ModemDialogue& modem) {
  modem.SetStep(sequence::kStepErase);
  if (!SendOrReport(modem, QStringLiteral("erase all"))) return false;
  if (!WaitForAnswer(modem, {kEraseWaitSeconds, kLoginPauseMs, &HasPrompt})) {
    return Report(kUnexpectedAnswer);
  }
  // The Office restarts at once: there is no question to confirm.
  modem.SetStep(sequence::kStepReboot);
  return SendOrReport(modem, QStringLiteral("reboot"));
}

}  // namespace

namespace {

// True when every line went and the modem is configured.
bool LoadOffice(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  if (!sequence::StartSession(modem, file, log, kSpeedTouchOffice, kStartLine)) return false;
  QByteArray answer = modem.Box().Content();
  if (!OfficeLogin(modem, answer)) return Report(kFirstLoginFailed);
  if (!modem.IsOpen()) return Report(kChannelClosed);
  if (!EraseAndReboot(modem)) return false;
  if (!modem.WaitForModemPrompt(kSpeedTouchOffice)) return Report(kCannotRestart);
  answer = modem.Box().Content();
  if (!OfficeLogin(modem, answer)) {
    platform::ShowMessage(kSecondLoginFailed, QString(), platform::MsgIcon::None);
    return false;
  }
  const bool loaded = SendOfficeScript(modem, file);
  // What came before the reboot was replaced by the wait after it: one snapshot.
  log.WriteDialogue(sequence::MaskEchoedPassword(modem.Box().Content(), kAdminCommand));
  return loaded;
}

}  // namespace

SessionResult RunOfficeSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log) {
  return modem.ResultOf(LoadOffice(modem, file, log));
}

bool OfficeLogin(ModemDialogue& modem, QByteArray& answer) {
  modem.SetStep(sequence::kStepLogin);
  if (!answer.contains("Login:")) return Report(kInvalidAnswer);
  const QByteArray password = sequence::AccessPasswordBytes();
  for (const QByteArray& word : {password, password, kFactoryLoginWord, kFactoryLoginWord}) {
    if (!modem.SendLine(word)) return Report(kCannotContactModem);
    answer.append(modem.ReadResponse(kLoginPauseMs));
    if (HasPrompt(answer)) return true;
  }
  return Report(kWrongPassword);
}

bool SendOfficeScript(ModemDialogue& modem, ConfigFileReader& file) {
  // The administrator line goes first, but only when the file has a body at all.
  if (!file.AtEnd()) {
    modem.SetStep(QStringLiteral("Enviando la clave de administración"));
    const QString adminLine = QString::fromLatin1(kAdminCommand) + ServiceSettings.AccessPassword;
    if (!SendOneCommand(modem, adminLine, false)) return false;
  }
  if (!sequence::SendCommandLines(modem, file, &SendOneCommand)) return false;
  platform::ShowMessage(kConfigured, kConfiguredTitle, platform::MsgIcon::Information);
  return true;
}
