// Writes the seed corpus of every fuzz target into the folder given (the
// repository's fuzz/corpus): the example files of each model, a few damaged ones,
// and the answers the simulated consoles give in whole sessions, healthy and
// misbehaving, recorded in the scripted modem's format.
#include <cstdio>
#include <memory>

#include <QDir>
#include <QSet>

#include "core/Def_Globales.h"
#include "fuzz/CheckedSession.h"
#include "fuzz/ExampleFiles.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/ScriptedModem.h"
#include "modemsim/Consoles.h"
#include "platform/TextFile.h"
#include "platform/VirtualClock.h"

namespace {

QString corpus;

void Seed(const char* target, const QString& name, const QByteArray& bytes) {
  fuzzing::WriteFile(QDir(corpus).filePath(QString::fromLatin1(target) + QLatin1Char('/') + name), bytes);
}

QByteArray Lines(const QStringList& lines) { return platform::EncodeLines(lines); }

// A console's host that notes what it sends as the scripted modem's answers: the
// first answer from power-on, then one for each line that is not empty.
class RecordingHost final : public modemsim::ConsoleHost {
 public:
  RecordingHost(modemsim::ConsoleHost& line, platform::VirtualClock& clock) : link_(line), clock_(clock) {}

  void Watch(const modemsim::ModemConsole* console) { console_ = console; }

  void After(double seconds, std::function<void()> action) override {
    Notice();
    link_.After(seconds, std::move(action));
  }
  void Transmit(const QByteArray& bytes) override {
    Notice();
    answers.last().append(fuzzing::ScriptPart{clock_.Seconds() - lastEvent_, bytes, false});
    lastEvent_ = clock_.Seconds();
    link_.Transmit(bytes);
  }
  void HangUp() override {
    Notice();
    if (answers.last().isEmpty()) answers.last().append(fuzzing::ScriptPart{});
    answers.last().last().unplug = true;
    link_.HangUp();
  }

  QList<fuzzing::ScriptAnswer> answers;

 private:
  // A line typed since the last look starts the next answer.
  void Notice() {
    qsizetype typed = 0;
    for (const QByteArray& line : console_->ReceivedLines()) typed += line.isEmpty() ? 0 : 1;
    while (answers.size() <= typed) {
      answers.append(fuzzing::ScriptAnswer{});
      lastEvent_ = clock_.Seconds();
    }
  }

  modemsim::ConsoleHost& link_;
  platform::VirtualClock& clock_;
  const modemsim::ModemConsole* console_ = nullptr;
  double lastEvent_ = 0;
};

// A checked session of the model's example file against its console, as a script.
QByteArray RecordSession(std::int16_t model, modemsim::Behaviour behaviour) {
  SetStartupValues();
  const QStringList file = fuzzing::ExampleConfigFile(model, DataScreen::Napt);
  fuzzing::WriteAppFile(fuzzing::kConfigFile, Lines(file));
  std::unique_ptr<RecordingHost> host;
  const auto makeConsole = [&](modemsim::ConsoleHost& line, platform::VirtualClock& clock) {
    host = std::make_unique<RecordingHost>(line, clock);
    modemsim::ConsoleOptions options;
    options.behaviour = behaviour;
    options.troubleCommand = modemsim::DefaultTroubleCommand(fuzzing::ConsoleName(model));
    auto console = modemsim::MakeConsole(fuzzing::ConsoleName(model), *host, options);
    host->Watch(console.get());
    return console;
  };
  fuzzing::RunCheckedSession(makeConsole, static_cast<int>(file.size()), false);
  return fuzzing::EncodeScript(host->answers);
}

void SessionSeeds() {
  using modemsim::Behaviour;
  const QList<QPair<const char*, Behaviour>> behaviours = {
      {"healthy", Behaviour::Healthy},       {"no-password", Behaviour::NoPassword},
      {"other-password", Behaviour::OtherPassword}, {"no-sure", Behaviour::NoSure},
      {"slow-command", Behaviour::SlowCommand}, {"unplugged", Behaviour::Unplugged},
      {"noise", Behaviour::Noise},           {"fixed-word", Behaviour::FixedWord},
      {"short-prompt", Behaviour::ShortPrompt}};
  const QList<QPair<const char*, std::int16_t>> models = {{"fuzz_session_efficient", kEfficientSS5660},
                                                          {"fuzz_session_office", kSpeedTouchOffice},
                                                          {"fuzz_session_pro", kSpeedTouchPro}};
  for (const auto& [target, model] : models) {
    QSet<QByteArray> seen;
    for (const auto& [name, behaviour] : behaviours) {
      const QByteArray script = RecordSession(model, behaviour);
      if (seen.contains(script)) continue;  // a behaviour the model does not have
      seen.insert(script);
      Seed(target, QString::fromLatin1(name), script);
    }
  }
}

void DriverSeeds() {
  SetStartupValues();
  const QList<QPair<const char*, std::int16_t>> models = {
      {"efficient", kEfficientSS5660}, {"office", kSpeedTouchOffice}, {"pro", kSpeedTouchPro}};
  for (const auto& [name, model] : models) {
    Seed("fuzz_loading_driver", QStringLiteral("%1-dhcp.cfg").arg(QLatin1String(name)),
         Lines(fuzzing::ExampleConfigFile(model, DataScreen::Dhcp)));
    Seed("fuzz_loading_driver", QStringLiteral("%1-napt.cfg").arg(QLatin1String(name)),
         Lines(fuzzing::ExampleConfigFile(model, DataScreen::Napt)));
  }
  QStringList file = fuzzing::ExampleConfigFile(kEfficientSS5660, DataScreen::Dhcp);
  const qsizetype marker = file.indexOf(QStringLiteral("--Inicio"));
  QStringList blank = file;
  blank[marker] += QLatin1Char(' ');
  Seed("fuzz_loading_driver", QStringLiteral("marker-with-blank.cfg"), Lines(blank));
  Seed("fuzz_loading_driver", QStringLiteral("ends-at-marker.cfg"), Lines(file.mid(0, marker + 1)));
  QStringList unknown = file;
  unknown[marker + 1] = QStringLiteral("Efficient SS5660 dhcp");
  Seed("fuzz_loading_driver", QStringLiteral("unknown-model.cfg"), Lines(unknown));
  Seed("fuzz_loading_driver", QStringLiteral("piece-of-marker.cfg"),
       "Configuracion\r\n-\r\nSpeed Touch Pro o Speed Touch Office\r\nEstandar\r\n\r\nsystem reboot\r\n");
}

void FileSeeds() {
  const QByteArray factory =
      " 1 \r\n192\r\n0\r\n2\r\n16\r\n255\r\n255\r\n255\r\n240\r\n"
      "198\r\n51\r\n100\r\n53\r\n8\r\n32\r\n9\r\n9\r\n";
  Seed("fuzz_conf_gen", QStringLiteral("factory"), factory);
  Seed("fuzz_conf_gen", QStringLiteral("sixteen-lines"), factory.left(factory.lastIndexOf("9\r\n")));
  Seed("fuzz_conf_gen", QStringLiteral("empty-line-7"),
       QByteArray(factory).replace("255\r\n255\r\n255\r\n240", "255\r\n\r\n255\r\n240"));
  Seed("fuzz_conf_gen", QStringLiteral("hand-edited"),
       "2\n300\n0\n2\n16\n255\n255\n255\n240\n-1\n+51\n100\n53\n\t8 \n32\n7\n12\nmore\n");
  Seed("fuzz_claves", QStringLiteral("factory"), "tarnimol\r\n");
  Seed("fuzz_claves", QStringLiteral("empty"), "\r\n");
  Seed("fuzz_claves", QStringLiteral("two-lines"), "Primera\r\nsegunda\r\n");
  Seed("fuzz_claves", QStringLiteral("accented"), "A\xF1o2024\x80\r\n");
}

void TextSeeds() {
  // The first byte of each says how long the chunks are.
  Seed("fuzz_received_text", QStringLiteral("backspaces"),
       QByteArrayLiteral("\x03" "AB\bC\bX\0a\r\nb\n\rc\nd\re"));
  Seed("fuzz_received_text", QStringLiteral("pro-answer"),
       "\x07" "cip ifadd addr=198.51.100.42/30\r\nInterface cip0 added\r\nRoute table updated\r\n\r\n=>");
  Seed("fuzz_received_text", QStringLiteral("stale-prompt"),
       "\x40\r\n\r\n=>config erase\r\nip flush\r\nab\r\n\r\n=>");
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  corpus = QString::fromLocal8Bit(argv[1]);
  SessionSeeds();
  DriverSeeds();
  FileSeeds();
  TextSeeds();
  return 0;
}
