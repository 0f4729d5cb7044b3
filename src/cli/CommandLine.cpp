#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <array>
#include <memory>
#include <vector>

#include "cli/ConsoleMessageBoxes.h"
#include "cli/GenerateCommand.h"
#include "cli/LoadCommand.h"
#include "platform/AppDirectory.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

namespace cli {

namespace {

// Every command of the program, in the order of the general help.
const std::array<const Command*, 2> kCommands = {&kGenerateCommand, &kLoadCommand};

// Options that every command takes, besides its own.
constexpr OptionSpec kCommonOptions[] = {{"dir", true}, {"help", false}};

const char* const kGeneralHelp =
    "Uso: configurador-adsl                     abre la ventana del programa\n"
    "     configurador-adsl ORDEN [opciones]    trabaja sin ventana\n"
    "     configurador-adsl --help | --version\n"
    "\n"
    "Órdenes:\n"
    "%1"
    "\n"
    "Opciones de todas las órdenes:\n"
    "  --dir CARPETA  carpeta de trabajo del programa (conf_gen.dat, Configuraciones,\n"
    "                 Logs); sin ella, la misma que usa la ventana\n"
    "  --help         la ayuda de la orden\n"
    "\n"
    "Los resultados salen por la salida estándar y los mensajes por la salida de\n"
    "errores. Estado de salida: 0 si todo fue bien, 1 si algún dato se rechazó, algún\n"
    "fichero no se pudo escribir o algún módem no se cargó, 2 si la orden está mal\n"
    "escrita.\n";

const Command* FindCommand(const QString& name) {
  for (const Command* command : kCommands) {
    if (name == QLatin1String(command->name)) return command;
  }
  return nullptr;
}

QString GeneralHelp() {
  QString list;
  for (const Command* command : kCommands) {
    list += QStringLiteral("  %1  %2\n")
                .arg(QString::fromUtf8(command->name).leftJustified(9),
                     QString::fromUtf8(command->summary));
  }
  return QString::fromUtf8(kGeneralHelp).arg(list);
}

const OptionSpec* FindSpec(std::span<const OptionSpec> specs, const QString& name) {
  for (const OptionSpec& spec : specs) {
    if (name == QLatin1String(spec.name)) return &spec;
  }
  return nullptr;
}

// Puts the seams back as they were when the command ends.
class ServicesGuard {
 public:
  ServicesGuard() : saved_(platform::Current()) {}
  ~ServicesGuard() { platform::Current() = saved_; }
  ServicesGuard(const ServicesGuard&) = delete;
  ServicesGuard& operator=(const ServicesGuard&) = delete;

 private:
  platform::Services saved_;
};

int RunCommand(const Command& command, const QStringList& args, Console& console) {
  std::vector<OptionSpec> specs(command.options.begin(), command.options.end());
  specs.insert(specs.end(), std::begin(kCommonOptions), std::end(kCommonOptions));
  ParsedArgs parsed;
  QString error;
  if (!ParseArgs(args, specs, &parsed, &error)) return UsageError(console, error);
  if (parsed.Has(QStringLiteral("help"))) {
    console.out << QString::fromUtf8(command.help);
    return kExitOk;
  }
  if (!command.takesPositionals && !parsed.positionals.isEmpty()) {
    return UsageError(console,
                      QStringLiteral("argumento de más: «%1»").arg(parsed.positionals.first()));
  }

  ServicesGuard guard;
  std::unique_ptr<platform::AppDirectory> directory;
  if (parsed.Has(QStringLiteral("dir"))) {
    const QString path = QFileInfo(parsed.Value(QStringLiteral("dir"))).absoluteFilePath();
    if (!platform::IsDirectory(path)) {
      return UsageError(console, QStringLiteral("no existe la carpeta «%1» (--dir)")
                                     .arg(parsed.Value(QStringLiteral("dir"))));
    }
    directory = std::make_unique<platform::FixedAppDirectory>(path);
  } else {
    directory = std::make_unique<platform::DesktopAppDirectory>();
  }
  ConsoleMessageBoxes boxes(&console.err, false);
  platform::Current().appDirectory = directory.get();
  platform::Current().messages = &boxes;
  return command.run(parsed, console);
}

}  // namespace

bool ParsedArgs::Has(const QString& name) const {
  for (const auto& [key, value] : options) {
    if (key == name) return true;
  }
  return false;
}

QString ParsedArgs::Value(const QString& name) const {
  const QStringList all = Values(name);
  return all.isEmpty() ? QString() : all.last();
}

QStringList ParsedArgs::Values(const QString& name) const {
  QStringList values;
  for (const auto& [key, value] : options) {
    if (key == name) values << value;
  }
  return values;
}

bool ParseArgs(const QStringList& args, std::span<const OptionSpec> specs, ParsedArgs* parsed,
               QString* error) {
  *parsed = {};
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args.at(i);
    if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      parsed->positionals << arg;
      continue;
    }
    QString name = arg;
    if (name == QLatin1String("-h")) name = QStringLiteral("--help");
    if (!name.startsWith(QLatin1String("--"))) {
      *error = QStringLiteral("opción desconocida «%1»").arg(arg);
      return false;
    }
    name.remove(0, 2);
    QString value;
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    const bool inlineValue = equals >= 0;
    if (inlineValue) {
      value = name.mid(equals + 1);
      name.truncate(equals);
    }
    const OptionSpec* spec = FindSpec(specs, name);
    if (!spec) {
      *error = QStringLiteral("opción desconocida «--%1»").arg(name);
      return false;
    }
    if (spec->takesValue && !inlineValue) {
      if (i + 1 >= args.size()) {
        *error = QStringLiteral("falta el valor de --%1").arg(name);
        return false;
      }
      value = args.at(++i);
    } else if (!spec->takesValue && inlineValue) {
      *error = QStringLiteral("la opción --%1 no lleva valor").arg(name);
      return false;
    }
    if (!spec->repeatable && parsed->Has(name)) {
      *error = QStringLiteral("la opción --%1 aparece más de una vez").arg(name);
      return false;
    }
    parsed->options.append({name, value});
  }
  return true;
}

int UsageError(Console& console, const QString& message) {
  console.err << QStringLiteral("configurador-adsl: ") << message << Qt::endl
              << QStringLiteral(
                     "Use «configurador-adsl --help» para ver las órdenes y sus opciones.")
              << Qt::endl;
  return kExitUsage;
}

int Run(const QStringList& args, Console& console) {
  const QString first = args.value(0);
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    console.out << GeneralHelp();
    return kExitOk;
  }
  if (first == QLatin1String("--version")) {
    console.out << QStringLiteral("configurador-adsl %1").arg(QStringLiteral(ADSL_VERSION))
                << Qt::endl;
    return kExitOk;
  }
  if (first.startsWith(QLatin1Char('-'))) {
    return UsageError(console,
                      QStringLiteral("opción desconocida «%1»; primero va la orden").arg(first));
  }
  const Command* command = FindCommand(first);
  if (!command) return UsageError(console, QStringLiteral("orden desconocida «%1»").arg(first));
  return RunCommand(*command, args.mid(1), console);
}

int Main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("configurador-adsl"));
  QTextStream out(stdout);
  QTextStream err(stderr);
  Console console{out, err};
  const int status = Run(QCoreApplication::arguments().mid(1), console);
  out.flush();
  err.flush();
  return status;
}

}  // namespace cli
