#include "config/SaveConfiguration.h"

#include "config/Generators.h"
#include "core/AddressHelpers.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/TextFile.h"

bool EnsureConfigDirectory() {
  const QString path = platform::AppPath(QString::fromLatin1(kConfigDirectoryName));
  if (platform::IsDirectory(path)) return true;
  QString error;
  if (platform::MakeDirectory(path, &error)) return true;
  platform::ShowSystemWarning(platform::DescribeSaveFailure(path, error));
  return false;
}

bool SaveConfiguration(const SubscriberData& data, DataScreen screen, std::int16_t model,
                       ConfigMode mode, const ServiceSettingsRecord& settings) {
  // The phone names the file: never build a path from anything else.
  if (!IsUsableSubscriberPhone(data.Phone)) return false;
  // Decided before the file is touched, so a save that writes nothing leaves a
  // stored configuration as it was.
  const ConfigGenerator generate = GeneratorFor(screen, model);
  if (!generate) return false;
  if (mode != ModeOf(screen)) {
    platform::ShowError(QStringLiteral("Fuera del flujo de ejecución. "), QStringLiteral("Error"));
    return false;
  }
  QString error;
  const QString path = ConfigFilePath(data.Phone);
  if (platform::ReplaceTextFile(path, generate(data, settings), &error)) return true;
  platform::ShowSystemWarning(platform::DescribeSaveFailure(path, error));
  return false;
}

bool SaveSubscriberConfiguration(const SubscriberData& data, DataScreen screen, std::int16_t model,
                                 ConfigMode mode, const ServiceSettingsRecord& settings) {
  if (!ValidateSubscriberData(data, screen, model, settings)) return false;
  // Without the directory nothing can be saved; the screen stays open with its data.
  if (!EnsureConfigDirectory()) return false;
  if (ConfigFileExists(data.Phone)) {
    const platform::MsgAnswer answer = platform::ShowMessage(
        QStringLiteral("Ya ha sido almacenada una configuración para este abonado, ¿Desea "
                       "sobreescribirla ?"),
        QStringLiteral("Configuración ya existente"), platform::MsgIcon::Exclamation,
        platform::MsgButtons::OkCancel);
    if (answer != platform::MsgAnswer::Ok) return false;
  }
  if (!SaveConfiguration(data, screen, model, mode, settings)) return false;
  platform::ShowMessage(QStringLiteral("Fichero de configuración almacenado"),
                        QStringLiteral("Salvar..."), platform::MsgIcon::Information);
  return true;
}
