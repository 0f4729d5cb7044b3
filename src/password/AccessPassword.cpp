#include "password/AccessPassword.h"

#include "core/Def_Globales.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

QString PasswordFilePath() { return platform::AppPath(QString::fromLatin1(kPasswordFileName)); }

bool PasswordsMatch(const QString& password, const QString& confirmation) {
  return password == confirmation;
}

bool SaveAccessPassword(const QString& password) {
  QString error;
  if (!platform::ReplaceTextFile(PasswordFilePath(), {password}, &error,
                                 platform::FileAccess::OwnerOnly)) {
    platform::ShowSystemWarning(platform::DescribeSaveFailure(PasswordFilePath(), error));
    return false;
  }
  return true;
}

void LoadAccessPassword() {
  const QString path = PasswordFilePath();
  if (!platform::IsRegularFile(path)) {
    ServiceSettings.AccessPassword = ServiceSettings.DefaultAccessPassword;
    return;
  }
  QStringList lines;
  QString error;
  if (!platform::ReadTextLines(path, &lines, &error)) {
    platform::ShowError(error, QStringLiteral("Error"));
    return;
  }
  ServiceSettings.AccessPassword = lines.isEmpty() ? QString() : lines.first();
}
