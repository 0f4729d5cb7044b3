#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>

#include "core/Def_Globales.h"
#include "loader/LoaderTestSupport.h"
#include "loader/LoaderTexts.h"
#include "loader/ModemDialogue.h"
#include "loader/OfficeSession.h"
#include "modemsim/Consoles.h"
#include "modemsim/OfficeConsole.h"
#include "platform/Cp1252.h"

using namespace loader_testing;
using namespace loader_texts;
using modemsim::Behaviour;
using testing_support::ShownBox;

namespace {

const QString kPassword = QStringLiteral("tarnimol");

// The model as the caption names it, and its log's start line (which spells the
// Efficient "Efficent").
QString ModemName(std::int16_t model) {
  if (model == kEfficientSS5660) return QStringLiteral("Efficient SS5660");
  return QStringLiteral("Alcatel Speed Touch ") + (model == kSpeedTouchPro ? "Pro" : "Office");
}
QString StartLine(std::int16_t model) {
  return QStringLiteral("Arrancado el módem ADSL ") +
         (model == kEfficientSS5660 ? QStringLiteral("Efficent SS5660") : ModemName(model));
}
QStringList File(std::int16_t model) {
  return GeneratedFile(model, model == kSpeedTouchPro ? DataScreen::Napt : DataScreen::Dhcp, kPhone);
}
QStringList Typed(std::int16_t model) { return ExpectedTypedLines(model, File(model)); }

// The lines with the first that starts with `line` sent twice, and those after it
// only when `rest`.
QStringList Resent(const QStringList& lines, const QString& line, bool rest = true) {
  const auto at = std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(line); });
  const qsizetype index = at - lines.begin();
  return lines.mid(0, index + 1) + lines.mid(index, 1) + (rest ? lines.mid(index + 1) : QStringList());
}

// Every file the data screens can save, into a healthy modem: exactly these bytes
// (each line ends with a single CR; between them only the wake-ups, CR LF and CR),
// the progress bar counting the lines, and one snapshot from the reboot on (the Efficient: two) in the log,
// masked as the screen shows it.
TEST(ModelSessionTest, EverySavedFileLoadsIntoAHealthyModem) {
  const struct {
    std::int16_t model;
    int baud;
    const char* erase;
    QByteArray passwordLine;  // in the last snapshot, and as the log and the screen show it
    QByteArray masked;
  } models[] = {
      {kEfficientSS5660, 38400, "default all", "Password changed", "Password changed"},
      {kSpeedTouchOffice, 9600, "erase all", "system admin tarnimol\r\n", "system admin ********\r\n"},
      {kSpeedTouchPro, 9600, "config erase", "system setpassword password=tarnimol\r\n",
       "system setpassword password=********\r\n"},
  };
  for (const auto& m : models) {
    for (const DataScreen kind : {DataScreen::Dhcp, DataScreen::Napt}) {
      const QStringList file = GeneratedFile(m.model, kind, kPhone);
      const QString keyLine = file.value(file.indexOf(QStringLiteral("--Inicio")) + 1);
      SCOPED_TRACE(keyLine.toStdString());
      SimulatedScreen screen({}, ConsoleName(m.model));
      screen.WriteConfig(kPhone, file);
      screen.Run(kPhone);

      const QStringList typed = ExpectedTypedLines(m.model, file);
      EXPECT_EQ(QByteArray(screen.link->Wire()).replace("\r\n\r", ""),
                platform::ToCp1252(typed.join(QLatin1Char('\r')) + QLatin1Char('\r')));
      EXPECT_EQ(screen.link->Settings().baudRate, m.baud);
      EXPECT_EQ(screen.view.captions.first(), kScreenCaption + QStringLiteral(" para módem ") + ModemName(m.model));

      const int total = static_cast<int>(SentLines(file).size());
      EXPECT_EQ(screen.view.progress.first(), qMakePair(0, 0));
      EXPECT_EQ(screen.view.progress.last(), qMakePair(total, total));

      const QByteArray box = screen.session->Dialogue().Content();
      EXPECT_TRUE(box.contains(m.passwordLine));
      EXPECT_FALSE(box.contains(m.erase));
      const QByteArray masked = QByteArray(box).replace(m.passwordLine, m.masked);
      EXPECT_EQ(screen.view.dialogue, platform::FromCp1252(masked));
      const QByteArray body = LogBody(screen.Log(kPhone), StartLine(m.model));
      ASSERT_TRUE(body.endsWith(masked + "\r\n"));
      const QByteArray first = body.left(body.size() - masked.size() - 2);
      if (m.model != kEfficientSS5660) {
        EXPECT_EQ(first, QByteArray());
      } else {  // up to the reboot question, then from the reboot to the end
        EXPECT_TRUE(first.startsWith("\r\n\r\nEfficient SS5660 ADSL router"));
        EXPECT_TRUE(first.endsWith("Are you sure? (y/n) \r\n"));
      }
      if (m.model == kSpeedTouchPro) {
        // The box grows once per wait, when the wait is over: the erase, the reboot
        // line, then (after the box was replaced) the password and every command.
        const QStringList& appended = screen.view.appended;
        ASSERT_EQ(appended.size(), 3 + total);
        EXPECT_EQ(appended[1], QStringLiteral("system reboot"));
      }
    }
  }
}

// Every way a model's sequence can end, with what the modem received, the boxes after
// the power-on question and what reaches the log.
TEST(ModelSessionTest, EachBehaviourGetsItsLinesItsMessagesAndItsLog) {
  const auto closeAt = [](const char* prompt) {
    return [prompt](SimulatedScreen& s) {
      s.tap->afterRead = [link = s.link, prompt](const QByteArray& bytes) {
        if (bytes.contains(prompt)) link->Close();
      };
    };
  };
  const auto changePasswordAtReboot = [](SimulatedScreen& s) {
    auto* console = static_cast<modemsim::OfficeConsole*>(s.console.get());
    s.tap->afterWrite = [console](const QByteArray& bytes) {
      if (bytes == "reboot\r") console->SetPassword("otra");
    };
  };
  // A comment where the commands start, an empty line after the first and a
  // commented-out copy of the last: none of them is ever sent.
  const auto comments = [](SimulatedScreen& s) {
    QStringList file = File(kSpeedTouchOffice);
    const qsizetype body = file.indexOf(QStringLiteral("--Inicio")) + 3;
    file.insert(file.size() - 1, QLatin1Char('#') + file.last());
    file.insert(body + 2, QString());
    file.insert(body, QStringLiteral("# primero la red local"));
    s.WriteConfig(kPhone, file);
  };
  const QStringList office = Typed(kSpeedTouchOffice);
  const QStringList efficient = Typed(kEfficientSS5660);
  const QStringList officeLogin{kPassword, kPassword, QStringLiteral("velun")};
  const auto emptyBody = [](SimulatedScreen& s) {
    const QStringList file = File(kSpeedTouchOffice);
    s.WriteConfig(kPhone, file.mid(0, file.indexOf(QStringLiteral("--Inicio")) + 3));
  };
  const struct {
    std::int16_t model;
    const char* situation;
    Behaviour behaviour;
    QStringList typed;  // not looked at when empty
    QStringList boxes;  // after the power-on question: each critical but the two named
    const char* log;    // the log's body: "" exactly, or a part of it
    std::function<void(SimulatedScreen&)> arrange = {};
    QByteArray wire = {};  // a part of the bytes sent
    QByteArray trouble = {};  // the command the modem is slow on or hangs on; "": the model's usual one
    double slowSeconds = 6.0;
  } rows[] = {
      {kEfficientSS5660, "no password: one is set both times", Behaviour::NoPassword,
       QStringList{"set password", kPassword, kPassword} + efficient.mid(1), {kConfigured}, "set napt disable\r\n"},
      {kEfficientSS5660, "wrong password: tried twice", Behaviour::OtherPassword, {kPassword, kPassword},
       {kWrongPassword, kFirstLoginFailed}, ""},
      {kEfficientSS5660, "slow command: sent once more", Behaviour::SlowCommand,
       Resent(efficient, "set dns disable"), {kConfigured}, "set napt disable\r\n"},
      // The second snapshot is still written: the log shows where the modem stopped.
      {kEfficientSS5660, "dead command: one resend, then nothing", Behaviour::DeadCommand,
       Resent(efficient, "set dns disable", false), {kResponseTimeout}, "set dns disable\r\n\r\n"},

      {kSpeedTouchOffice, "factory word logs in at the third attempt", Behaviour::FixedWord,
       officeLogin + QStringList{"erase all", "reboot"} + officeLogin + office.mid(4), {kConfigured},
       "system admin ********\r\n"},
      {kSpeedTouchOffice, "four refused words", Behaviour::OtherPassword,
       {kPassword, kPassword, "velun", "velun"}, {kWrongPassword, kFirstLoginFailed}, ""},
      {kSpeedTouchOffice, "empty body: nothing after the second login", Behaviour::Healthy,
       {kPassword, "erase all", "reboot", kPassword}, {kConfigured}, "Welcome", emptyBody},
      {kSpeedTouchOffice, "administrator line first, comments never sent", Behaviour::Healthy, office,
       {kConfigured}, "system admin ********\r\n", comments},
      // The "#" comes only after 6 s: one resend, of the command itself.
      {kSpeedTouchOffice, "late prompt", Behaviour::SlowCommand, Resent(office, "remote setpvc"), {kConfigured},
       "system admin ********\r\n", {}, "\rremote setpvc 8*32 WAN1\rremote setpvc 8*32 WAN1\r"},
      {kSpeedTouchOffice, "port closed after the login", Behaviour::Healthy, {}, {kChannelClosed}, "",
       closeAt("#")},
      {kSpeedTouchOffice, "second login refused", Behaviour::Healthy, {}, {kWrongPassword, kSecondLoginFailed},
       "", changePasswordAtReboot},
      {kSpeedTouchOffice, "no prompt after the resend", Behaviour::DeadCommand, {}, {kResponseTimeout},
       "system admin ********\r\n"},

      {kSpeedTouchPro, "empty password: the bare command", Behaviour::Healthy, {}, {kConfigured},
       "system setpassword password=\r\n", [](SimulatedScreen&) { ServiceSettings.AccessPassword.clear(); },
       "\rsystem setpassword password=\r"},
      {kSpeedTouchPro, "a password in Windows-1252, masked in the log", Behaviour::Healthy, {}, {kConfigured},
       "system setpassword password=********\r\n", [](SimulatedScreen&) { ServiceSettings.AccessPassword = "señal"; },
       "\rsystem setpassword password=se\xf1" "al\r"},
      // The last line gets the same 30 s as every other: a slow "config save" is waited for.
      {kSpeedTouchPro, "slow last line", Behaviour::SlowCommand, Typed(kSpeedTouchPro), {kConfigured},
       "figuration saved.\r\n\r\n=>\r\n", {}, {}, "config save", 20},
      {kSpeedTouchPro, "port closed after the first prompt", Behaviour::Healthy, {}, {kChannelClosed}, "",
       closeAt("=>")},
      {kSpeedTouchPro, "no prompt after the resend", Behaviour::DeadCommand, {}, {kResponseTimeout},
       "system setpassword password=********\r\n"},
  };
  for (const auto& row : rows) {
    const QString name = ConsoleName(row.model);
    SCOPED_TRACE(name.toStdString() + ": " + row.situation);
    const QByteArray trouble = row.trouble.isEmpty() ? modemsim::DefaultTroubleCommand(name) : row.trouble;
    SimulatedScreen screen(
        {.behaviour = row.behaviour, .troubleCommand = trouble, .slowCommandSeconds = row.slowSeconds}, name);
    screen.WriteConfig(kPhone, File(row.model));
    if (row.arrange) row.arrange(screen);
    screen.Run(kPhone);
    if (!row.typed.isEmpty()) {
      EXPECT_EQ(screen.TypedLines(), AsLines(row.typed));
    }
    QList<ShownBox> boxes{PowerOnBox()};
    for (const QString& text : row.boxes) {
      boxes << (text == kConfigured ? ConfiguredBox()
                : text == kSecondLoginFailed
                    ? ShownBox{text, QString(), platform::MsgIcon::None, platform::MsgButtons::Ok}
                    : CriticalBox(text));
    }
    EXPECT_EQ(screen.platform.boxes.shown, boxes);
    const QByteArray body = LogBody(screen.Log(kPhone), StartLine(row.model));
    if (*row.log) {
      EXPECT_TRUE(body.contains(row.log)) << body.right(60).toStdString();
    } else {
      EXPECT_EQ(body, row.log);
    }
    EXPECT_TRUE(screen.link->Wire().contains(row.wire));
    EXPECT_EQ(screen.link->ClosedPortUses(), 0);
  }
}

// An answer that ends "=>" right after a line break is no fresh prompt: after 30 s
// the command goes again behind a bare CR, and then any prompt at the end will do.
// Only the first try's answer is shown.
TEST(ModelSessionTest, ProPromptAfterASingleLineBreakIsRetriedAndTheShortPromptIsEnough) {
  SimulatedScreen screen({.behaviour = Behaviour::ShortPrompt, .troubleCommand = "cip pvcadd"}, QStringLiteral("pro"));
  screen.WriteConfig(kPhone, File(kSpeedTouchPro));
  const QString pvcLine = QStringLiteral("cip pvcadd dest=8*32 destaddr=192.0.2.10");
  const QByteArray pvc = platform::ToCp1252(pvcLine);
  double firstTry = 0;
  double resend = 0;
  screen.tap->afterWrite = [&](const QByteArray& bytes) {
    if (bytes == pvc + "\r" && firstTry == 0) firstTry = screen.clock.Seconds();
    if (bytes == "\r") resend = screen.clock.Seconds();
  };
  screen.Run(kPhone);
  EXPECT_EQ(screen.TypedLines(), AsLines(Resent(Typed(kSpeedTouchPro), pvcLine)));
  EXPECT_TRUE(screen.link->Wire().contains("\r" + pvc + "\r\r" + pvc + "\r"));
  EXPECT_EQ(screen.platform.boxes.shown, (QList<ShownBox>{PowerOnBox(), ConfiguredBox()}));
  EXPECT_GE(resend - firstTry, 29.5);
  EXPECT_LE(resend - firstTry, 31.0);
  EXPECT_EQ(screen.session->Dialogue().Content().count(pvc), 1);
}

TEST(ModelSessionTest, OfficeLoginWithoutALoginPromptIsRefused) {
  SimulatedScreen screen({}, QStringLiteral("office"));
  QString error;
  ASSERT_TRUE(screen.link->SetPortNumber(1, &error) && screen.link->Open(&error));
  ModemDialogue modem(*screen.link, screen.clock, screen.session->Dialogue());
  QByteArray answer = "Office# ";
  EXPECT_FALSE(OfficeLogin(modem, answer));
  EXPECT_EQ(screen.platform.boxes.shown, QList<ShownBox>{CriticalBox(kInvalidAnswer)});
  EXPECT_TRUE(screen.link->Wire().isEmpty());
  screen.link->Close();
}

// The seconds shown for one step, in the order they were shown.
QList<int> Countdown(const QStringList& statuses, const QString& step) {
  static const QRegularExpression left(QStringLiteral(" \\(quedan (\\d+) s\\)$"));
  QList<int> seconds;
  for (const QString& status : statuses) {
    const auto match = left.match(status);
    if (match.hasMatch() && status.startsWith(step)) seconds << match.captured(1).toInt();
  }
  return seconds;
}

// A silent modem: the wait for the first prompt counts its 50 s down on the status
// line; only the wake-ups go out, one each half
// second; the old text goes at once and the window is left alone after it; the failed
// step stays named.
TEST(SessionStatusTest, ASilentModemCountsDownTheWholeFirstPromptWait) {
  SimulatedScreen screen({.behaviour = Behaviour::Silent});
  screen.WriteConfig(kPhone, EfficientDhcpFile(kPhone));
  screen.session->Dialogue().Replace("sesión anterior");
  screen.view.textsSet = 0;
  screen.Run(kPhone);
  const QList<int> seconds = Countdown(screen.view.statuses, "Esperando el indicador del módem");
  ASSERT_FALSE(seconds.isEmpty());
  EXPECT_EQ(seconds.first(), 50);
  EXPECT_EQ(seconds.last(), 0);
  EXPECT_TRUE(std::is_sorted(seconds.rbegin(), seconds.rend()));
  EXPECT_GE(seconds.size(), 40);  // it moves every second, not only at the end
  const QByteArray wire = screen.link->Wire();
  EXPECT_EQ(wire, QByteArray("\r\n\r").repeated(wire.size() / 3));
  EXPECT_NEAR(wire.size() / 3, 97, 3);
  EXPECT_EQ(screen.view.textsSet, 1);
  EXPECT_TRUE(screen.view.dialogue.isEmpty());
}

// The Office's settling pauses count down on the status line; after a failure the
// line keeps naming the step that failed, and the bar stays at the lines that went.
TEST(SessionStatusTest, TheStatusLineCountsDownThePausesAndKeepsTheFailedStep) {
  SimulatedScreen screen({.behaviour = Behaviour::DeadCommand, .troubleCommand = "remote setpvc"},
                         QStringLiteral("office"));
  screen.WriteConfig(kPhone, File(kSpeedTouchOffice));
  const SessionResult result = screen.Run(kPhone);
  const QStringList& statuses = screen.view.statuses;
  for (int left = 10; left >= 1; --left) {
    EXPECT_EQ(statuses.count(QStringLiteral("Esperando a que el módem se estabilice (quedan %1 s)").arg(left)), 2)
        << left;
  }
  const QStringList sent = SentLines(File(kSpeedTouchOffice));
  const int went = static_cast<int>(Resent(sent, "remote setpvc", false).size()) - 2;
  const QString step = QStringLiteral("Enviando la línea %1 de %2").arg(went + 1).arg(sent.size());
  ASSERT_EQ(result.outcome, SessionResult::Outcome::Failed);
  EXPECT_EQ(result.step, step);
  EXPECT_FALSE(Countdown(statuses, step).isEmpty());
  EXPECT_EQ(statuses.last(), QStringLiteral("Error en: ") + step);
  EXPECT_EQ(screen.view.progress.last(), qMakePair(went, static_cast<int>(sent.size())));
}

}  // namespace
