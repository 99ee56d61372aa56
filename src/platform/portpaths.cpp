#include "platform/portpaths.h"

#include <cstdlib>

namespace platform {

namespace {

// Each device family fills one run of port numbers with its devices 0, 1, 2...
struct PortFamily {
  std::string_view prefix;
  int firstPort;
  int count;
};
constexpr PortFamily kPortFamilies[] = {
    {"ttyS", 1, 32},
    {"ttyUSB", 33, 64},
    {"ttyACM", 97, 64},
};
static_assert(kPortFamilies[2].firstPort + kPortFamilies[2].count == kFirstUserPortNumber);

constexpr std::string_view kDevFolder = "/dev/";

// A decimal index without sign or leading zero ("0", "12"), else none.
std::optional<int> DeviceIndex(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  int value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<std::string> PortDeviceName(int port) {
  for (const PortFamily& family : kPortFamilies) {
    if (port >= family.firstPort && port < family.firstPort + family.count) {
      return std::string(family.prefix) + std::to_string(port - family.firstPort);
    }
  }
  return std::nullopt;
}

std::optional<int> PortNumberOfDeviceName(std::string_view name) {
  for (const PortFamily& family : kPortFamilies) {
    if (!name.starts_with(family.prefix)) continue;
    const std::optional<int> index = DeviceIndex(name.substr(family.prefix.size()));
    if (index && *index < family.count) return family.firstPort + *index;
  }
  return std::nullopt;
}

std::optional<std::string> PortDevicePath(int port, const PortPaths& userPaths) {
  if (port >= kFirstUserPortNumber && port <= kLastPortNumber) {
    const auto found = userPaths.find(port);
    if (found == userPaths.end() || found->second.empty()) return std::nullopt;
    return found->second;
  }
  const std::optional<std::string> name = PortDeviceName(port);
  if (!name) return std::nullopt;
  return std::string(kDevFolder) + *name;
}

std::optional<int> PortNumberOfPath(std::string_view path, const PortPaths& userPaths) {
  for (const auto& [port, userPath] : userPaths) {
    if (port >= kFirstUserPortNumber && port <= kLastPortNumber && !userPath.empty() && userPath == path) return port;
  }
  if (!path.starts_with(kDevFolder)) return std::nullopt;
  return PortNumberOfDeviceName(path.substr(kDevFolder.size()));
}

std::optional<std::string> PortOpenPath(int port, const PortPaths& userPaths) {
  if (port < kFirstPortNumber || port > kLastPortNumber) return std::nullopt;
  const char* overridden = std::getenv("RWQ_PORT_PATH");
  if (overridden != nullptr && *overridden != '\0') return std::string(overridden);
  return PortDevicePath(port, userPaths);
}

}  // namespace platform
