#include <QList>

#include "config/DerivedAddresses.h"
#include "config/Generators.h"
#include "config/SaveConfiguration.h"
#include "core/AddressHelpers.h"
#include "platform/MessageBoxes.h"


namespace {

const char* const kIncompleteTitle = "Información incompleta";

bool HasEmptyOctet(const TypedQuad& quad) {
  for (const QString& text : quad) {
    if (text.isEmpty()) return true;
  }
  return false;
}

// Refuses a quad with an empty octet; message is the box's text.
bool IsComplete(const TypedQuad& quad, const QString& message) {
  if (!HasEmptyOctet(quad)) return true;
  platform::ShowError(message, QString::fromUtf8(kIncompleteTitle));
  return false;
}

bool AreAllComplete(const SubscriberData& data) {
  return IsComplete(data.UserIp, QStringLiteral("Dirección IP de Usuario incorrecta. Asegurese de "
                                                "que se han rellenado todos los campos")) &&
         IsComplete(data.UserMask,
                    QStringLiteral("Máscara de red del usuario incorrecta. Asegurese "
                                   "de que se han rellenado todos los campos")) &&
         IsComplete(data.ModemIp,
                    QStringLiteral("Dirección IP de gestión del modem incorrecta. "
                                   "Asegurese de que se han rellenado todos los campos")) &&
         IsComplete(
             data.ModemMask,
             QStringLiteral("Máscara de red de gestión del modem incorrecta. Asegurese de que "
                            "se han rellenado todos los campos"));
}

// The Speed Touch Pro cannot take a WAN network larger than a class C.
bool IsModemMaskAccepted(const SubscriberData& data, std::int16_t model) {
  if (model != kSpeedTouchPro) return true;
  const TypedQuad& mask = data.ModemMask;
  if (MaskPrefixLength(mask[0], mask[1], mask[2], mask[3]) >= 24) return true;
  platform::ShowError(QStringLiteral("La máscara de WAN no puede ser superior a una clase C\r\n"
                                     "La máscara no puede ser inferior a 24 bits"),
                      QStringLiteral("Error"));
  return false;
}

// The fourth-octet additions carry nowhere, so a network at the top of its range,
// or an EDC range beyond 0 to 255, would put an impossible octet into the modem.
bool AreComputedAddressesWritable(const SubscriberData& data, DataScreen screen, std::int16_t model,
                                  const ServiceSettingsRecord& settings) {
  const DerivedAddresses derived = DeriveAddresses(data, settings);
  for (const Octets& address : WrittenDerivedAddresses(screen, model, derived)) {
    if (IsWritableAddress(address)) continue;
    platform::ShowError(QStringLiteral("Las direcciones introducidas dan lugar a una dirección "
                                       "calculada no válida (octeto mayor que 255)"),
                        QStringLiteral("Error"));
    return false;
  }
  return true;
}

// conf_gen.dat is read as it stands, but what the settings screen would refuse
// must not reach a modem: the file is refused until the settings are corrected.
bool AreServiceSettingsUsable(const ServiceSettingsRecord& settings) {
  struct Setting {
    const char* name;  // UTF-8
    int value;
    int low;
    int high;
  };
  QList<Setting> checked;
  const auto addQuad = [&](const char* name, const Octets& octets) {
    for (const std::int16_t octet : octets) checked.append({name, octet, 0, 255});
  };
  addQuad("la dirección IP de gestión de EDCs", settings.EdcNetwork);
  addQuad("la máscara de red de gestión de EDCs", settings.EdcMask);
  addQuad("la dirección IP del DNS", settings.DnsServer);
  checked.append({"el VPI del circuito ATM", settings.AtmCircuit.Vpi, 1, 9});
  checked.append({"el VCI del circuito ATM", settings.AtmCircuit.Vci, 1, 99});
  for (const Setting& setting : checked) {
    if (setting.value >= setting.low && setting.value <= setting.high) continue;
    platform::ShowError(
        QStringLiteral("La configuración del servicio no es válida: %1 vale %2 y debe estar "
                       "entre %3 y %4.\r\nCorríjala en \"Configuración del Servicio ADSL\" "
                       "antes de salvar.")
            .arg(QString::fromUtf8(setting.name))
            .arg(setting.value)
            .arg(setting.low)
            .arg(setting.high),
        QStringLiteral("Error"));
    return false;
  }
  return true;
}

}  // namespace

bool IsUsableSubscriberPhone(const QString& phone) {
  if (!phone.isEmpty() && IsDigitsOnly(phone)) return true;
  platform::ShowError(
      QStringLiteral("El número de teléfono del abonado no es valido o no ha sido rellenado"),
      QStringLiteral("Error"));
  return false;
}

bool ValidateSubscriberData(const SubscriberData& data, DataScreen screen, std::int16_t model,
                            const ServiceSettingsRecord& settings) {
  return IsUsableSubscriberPhone(data.Phone) && AreAllComplete(data) &&
         IsModemMaskAccepted(data, model) && AreServiceSettingsUsable(settings) &&
         AreComputedAddressesWritable(data, screen, model, settings);
}
