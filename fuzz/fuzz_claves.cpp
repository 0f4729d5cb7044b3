// The claves.dat reader on arbitrary bytes: the password in force is the first line
// (up to the first CR or LF), byte for byte in Windows-1252, nothing is reported,
// and the writer and the reader give it back unchanged.
#include <cstddef>
#include <cstdint>

#include "core/Def_Globales.h"
#include "fuzz/FuzzSupport.h"
#include "password/AccessPassword.h"
#include "platform/Cp1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  fuzzing::WriteAppFile(QString::fromLatin1(kPasswordFileName), bytes);
  SetStartupValues();
  fuzzing::Boxes().texts.clear();
  LoadAccessPassword();

  qsizetype end = 0;
  while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
  fuzzing::Require(platform::ToCp1252(ServiceSettings.AccessPassword) == bytes.left(end),
                   "the password in force is not the file's first line");
  fuzzing::Require(fuzzing::Boxes().texts.isEmpty(), "a readable file gave a message");

  const QString password = ServiceSettings.AccessPassword;
  fuzzing::Require(SaveAccessPassword(password), "the password could not be saved");
  ServiceSettings.AccessPassword = QStringLiteral("otra");
  LoadAccessPassword();
  fuzzing::Require(ServiceSettings.AccessPassword == password, "the saved password reads back changed");
  return 0;
}
