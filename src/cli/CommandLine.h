#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <span>
#include <utility>

// The headless command line: `configurador-adsl ORDEN [opciones]`. Results go to
// standard output, messages to standard error; nothing needs a display.
namespace cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;  // some data refused or some file not written
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

struct Console {
  QTextStream& out;
  QTextStream& err;
};

struct OptionSpec {
  const char* name;  // without the leading "--"
  bool takesValue = false;
  bool repeatable = false;
};

// The options in the order given ("--name value" or "--name=value"; a flag has an
// empty value) and the arguments that are not options.
struct ParsedArgs {
  QList<std::pair<QString, QString>> options;
  QStringList positionals;

  [[nodiscard]] bool Has(const QString& name) const;
  [[nodiscard]] QString Value(const QString& name) const;  // the last one given
  [[nodiscard]] QStringList Values(const QString& name) const;
};

// False with a Spanish description of the fault when an option is unknown, lacks its
// value, is given twice though not repeatable, or a flag is given a value.
[[nodiscard]] bool ParseArgs(const QStringList& args, std::span<const OptionSpec> specs,
                             ParsedArgs* parsed, QString* error);

// One command (an "orden") of the program. The dispatcher adds --dir and --help to
// every command's options, installs the application directory and the console
// message boxes, and then calls run.
struct Command {
  const char* name;
  const char* summary;  // one line in the general help
  const char* help;     // the command's own help, after its usage line
  std::span<const OptionSpec> options;
  bool takesPositionals;
  int (*run)(const ParsedArgs& args, Console& console);
};

// Runs the command line (without the program name) and returns the exit status.
[[nodiscard]] int Run(const QStringList& args, Console& console);

// Prints a usage error and returns kExitUsage.
int UsageError(Console& console, const QString& message);

// The program's entry with arguments: a QCoreApplication, no window.
int Main(int argc, char* argv[]);

}  // namespace cli
