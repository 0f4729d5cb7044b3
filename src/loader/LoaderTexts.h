#pragma once

#include <QString>

// Messages shared by the loading session and the sequences of every model.
namespace loader_texts {

inline const QString kErrorTitle = QStringLiteral("Error");

inline const QString kPowerOnQuestion = QStringLiteral("Por favor, encienda o reinicie el módem ADSL");
inline const QString kPowerOnTitle = QStringLiteral("Encendido del dispositivo...");
inline const QString kCannotConnect = QStringLiteral(
    "No se ha podido conectar con el módem ADSL. Por favor, compruebe que el Módem ADSL se "
    "encuentra encendido y conectado al equipo en el puerto especificado");

inline const QString kNotStarted =
    QStringLiteral("No se ha iniciado el módem ADSL. Por favor vuelva a intentarlo");
inline const QString kFirstLoginFailed =
    QStringLiteral("Error introduciendo la clave de acceso en el módem ADSL");
inline const QString kChannelClosed = QStringLiteral("El canal de comunicación se encuentra cerrado");
inline const QString kCannotContactAtuR = QStringLiteral(
    "No se ha podido contactar con el ATU-r. Por favor, compruebe que el ATU-r se encuentra "
    "encendido y conectado al equipo");
inline const QString kCannotContactModem = QStringLiteral(
    "No se ha podido contactar con el módem ADSL. Por favor, compruebe que el ATU-r se encuentra "
    "encendido y conectado al equipo");
inline const QString kUnexpectedAnswer = QStringLiteral(
    "No se ha obtenido la respuesta esperada del módem ADSL. Por favor inténtelo de nuevo");
inline const QString kCannotRestart = QStringLiteral("No se ha podido reiniciar el módem ADSL");
inline const QString kSecondLoginFailed =
    QStringLiteral("La clave especificada de acceso al módem no es válida");
inline const QString kInvalidAnswer = QStringLiteral("El módem ha dado una respuesta no válida");
inline const QString kWrongPassword = QStringLiteral("Clave de acceso al módem ADSL errónea");
inline const QString kNoNewPasswordPrompt =
    QStringLiteral("El Atu-R no solicitó la introducción de la nueva clave");
inline const QString kResponseTimeout = QStringLiteral(
    "Excedido el tiempo de respuesta del módem ADSL. Por favor inténtelo de nuevo");
inline const QString kConfigured =
    QStringLiteral("Se ha realizado con éxito la configuración del módem ADSL");
inline const QString kConfiguredTitle = QStringLiteral("Configuración finalizada");

}  // namespace loader_texts
