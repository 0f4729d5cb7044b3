#include "loader/SequenceSteps.h"

#include "core/Def_Globales.h"
#include "loader/ConfigFileReader.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/ModemProfiles.h"
#include "loader/SessionLog.h"
#include "platform/Cp1252.h"
#include "platform/MessageBoxes.h"

namespace sequence {

bool Report(const QString& message) {
  platform::ShowError(message, loader_texts::kErrorTitle);
  return false;
}

QByteArray AccessPasswordBytes() { return platform::ToCp1252(ServiceSettings.AccessPassword); }

bool SendOrReport(ModemDialogue& modem, const QString& line) {
  return modem.SendLine(line) || Report(loader_texts::kCannotContactAtuR);
}

bool StartSession(ModemDialogue& modem, ConfigFileReader& file, SessionLog& log,
                  std::int16_t model, const QString& startLine) {
  QString line;
  QString error;
  if (!file.ReadLine(&line, &error)) return Report(error);  // the modality word
  const PasswordMask mask{AccessPasswordBytes(), ProfileFor(model)->passwordEchoLead};
  modem.Box().SetPasswordMask(mask);
  log.SetPasswordMask(mask);
  const int port = modem.Port() > 0 ? modem.Port() : ServiceSettings.ComPort;
  if (!modem.OpenModemLink(model, port, ProfileFor(model)->line)) {
    return Report(loader_texts::kNotStarted);
  }
  log.WriteText(startLine);
  return true;
}

bool IsSkippedLine(const QString& line) {
  return line.isEmpty() || line.startsWith(QLatin1Char('#'));
}

bool SendCommandLines(ModemDialogue& modem, ConfigFileReader& file,
                      bool (*sendOne)(ModemDialogue&, const QString&, bool lastLine)) {
  const int total = file.RemainingCommandLines();
  int sent = 0;
  modem.SetLines(sent, total);
  while (!file.AtEnd()) {
    QString line;
    QString error;
    if (!file.ReadLine(&line, &error)) return Report(error);
    if (IsSkippedLine(line)) continue;
    modem.SetStep(QStringLiteral("Enviando la línea %1 de %2").arg(sent + 1).arg(total));
    if (!sendOne(modem, line, file.AtEnd())) return false;
    modem.SetLines(++sent, total);
  }
  return true;
}

QByteArray MaskEchoedPassword(QByteArray dialogue, const QByteArray& lead) {
  const QByteArray mask(kPasswordMask);
  qsizetype from = dialogue.indexOf(lead);
  while (from >= 0) {
    const qsizetype start = from + lead.size();
    qsizetype end = dialogue.indexOf('\r', start);
    if (end < 0) end = dialogue.size();
    // An empty password leaves nothing to hide, and a mask would suggest one.
    if (end > start) dialogue.replace(start, end - start, mask);
    from = dialogue.indexOf(lead, start + (end > start ? mask.size() : 0));
  }
  return dialogue;
}

}  // namespace sequence
