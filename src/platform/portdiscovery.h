#pragma once

// Listing the serial ports present, for the port selection dialog.

#include <string>
#include <vector>

#include "platform/portpaths.h"

namespace platform {

// Where discovery looks; tests point both at a fake tree.
struct DiscoveryRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
};

// Port numbers of the serial devices the kernel knows (class/tty entries with
// a device link; ttyS only with a UART behind it), and of the user's paths
// that lead to one of them. Ascending.
std::vector<int> ListRegistryPorts(const PortPaths& userPaths, const DiscoveryRoots& roots = {});

// Port numbers of the device names present (ttyS*, ttyUSB*, ttyACM* and the
// user's paths). Ascending.
std::vector<int> ListDosDevicePorts(const PortPaths& userPaths, const DiscoveryRoots& roots = {});

// "<n>: <friendly name> (<device>)" for each port of numbers that is present,
// sorted by number. The name comes from the USB attributes (manufacturer,
// product, serial), else the /dev/serial/by-id link, else "Serial port".
std::vector<std::string> ListFriendlyPorts(const std::vector<int>& numbers, const PortPaths& userPaths,
                                           const DiscoveryRoots& roots = {});

}  // namespace platform
