#pragma once

#include <QString>

#include <functional>
#include <vector>

// The serial adapters present now, and the puertos/comN links that put one on a port
// number, so an installer can map a USB adapter without a terminal.
namespace platform {

struct SerialAdapter {
  QString name;    // readable, for the list
  QString path;    // what a puertos/comN link points at: the stable by-id name or /dev/ttySn
  QString device;  // the device it is now, /dev/ttyUSB0 for instance
};

// Where to look; tests point the folders at fake ones.
struct AdapterScan {
  QString byIdFolder = QStringLiteral("/dev/serial/by-id");
  QString devFolder = QStringLiteral("/dev");
  QString sysTtyFolder = QStringLiteral("/sys/class/tty");
  // errno of an access check for reading and writing the device, 0 when allowed;
  // access(2) when empty (root passes every check, so tests replace it).
  std::function<int(const QString&)> accessError;
};

struct AdapterListing {
  std::vector<SerialAdapter> adapters;  // USB adapters by name, then the machine's ports
  bool accessDenied = false;            // at least one of them cannot be opened by this user
};

// Looks without opening anything that could block: the by-id links, and the ttyS
// ports whose UART is real (sysfs type, or TIOCGSERIAL on a non-blocking open).
[[nodiscard]] AdapterListing ListSerialAdapters(const AdapterScan& scan = {});

// "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0" reads "FTDI FT232R USB UART A1B2C3".
[[nodiscard]] QString ReadableAdapterName(const QString& byIdName);

// Makes puertos/comN in the application directory point at target, replacing an old
// link in one step. The description of the failure in *error otherwise.
[[nodiscard]] bool MapPortToDevice(int number, const QString& target, QString* error);

// Points link at target in one step: a new link beside it is renamed over the old
// one, so the name always leads to the old target or the new one.
[[nodiscard]] bool ReplaceSymlink(const QString& link, const QString& target, QString* error);

// What the screen says when the user may not open serial devices.
inline constexpr const char* kNoSerialPermissionText =
    "Su usuario no tiene permiso para abrir los puertos serie (no pertenece al grupo "
    "dialout). Para obtenerlo, ejecute en un terminal: sudo adduser $USER dialout y "
    "después cierre la sesión del escritorio y vuelva a entrar.";

}  // namespace platform
