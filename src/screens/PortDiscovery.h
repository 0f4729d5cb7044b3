#pragma once

#include <QString>

// Which device a port number opens, and whether it is there now: shown beside the
// port selector so an installer can tell a mapped USB adapter from a missing one.
struct PortDevice {
  QString device;     // the path that opening Com N uses
  bool viaLink = false;  // through puertos/comN rather than the default /dev/ttyS<N-1>
  bool present = false;
};

[[nodiscard]] PortDevice DescribePort(int number);
[[nodiscard]] QString PortDeviceText(int number, const PortDevice& port);
