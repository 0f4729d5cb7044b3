#pragma once

#include <QProcess>

#include "cli/CommandLine.h"

namespace cli_testing {

struct Outcome {
  int status;
  QString out;
  QString err;
};

// The built program, with no display at all.
inline Outcome RunProgram(const QStringList& args) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(ADSL_PROGRAM), args);
  program.closeWriteChannel();  // an input that ends: the Enter a load asks for
  if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit) return {-1, {}, {}};
  return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
          QString::fromUtf8(program.readAllStandardError())};
}

}  // namespace cli_testing
