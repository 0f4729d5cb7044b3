#include "fuzz/ExampleFiles.h"

#include <QDir>
#include <QFile>

#include "core/Def_Globales.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Cp1252.h"

namespace fuzzing {

QByteArray LogTrailer() { return platform::ToCp1252(QStringLiteral("-- Fin de detalle de sesión --\r\n")); }

QByteArray ReadAppFile(const QString& name) {
  QFile file(QDir(AppDirectory()).filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace fuzzing
