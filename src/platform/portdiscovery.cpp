#include "platform/portdiscovery.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <system_error>

#include "platform/files.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

// A USB device's folder lies a few levels above its tty's device folder.
constexpr int kUsbDeviceSearchDepth = 6;
constexpr std::size_t kMaxAttributeLength = 128;
constexpr char kOnBoardName[] = "Serial port";

// Calls visit with every entry of folder; a missing or unreadable
// folder has none.
void ForEachEntry(const fs::path& folder, const std::function<void(const fs::directory_entry&)>& visit) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) visit(*it);
}

bool IsRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

std::optional<fs::path> Canonical(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::canonical(path, error);
  if (error) return std::nullopt;
  return resolved;
}

// The first line of a small attribute file, without trailing blanks; empty
// when it is missing or no regular file (a FIFO in its place must not hang).
std::string ReadAttribute(const fs::path& path) {
  if (!IsRegularFile(path)) return {};
  std::string text = ReadFileContent(path.string()).value_or(std::string());
  text = text.substr(0, std::min(text.find_first_of("\r\n"), kMaxAttributeLength));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

// Whether path lies below folder (both canonical).
bool IsInside(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

fs::path TtyClassFolder(const DiscoveryRoots& roots) { return fs::path(roots.sys) / "class" / "tty"; }

// Whether the kernel has a serial device by this name: a tty with a device
// behind it, and for ttyS a UART (an on-board port without one reads type 0).
bool KernelHasSerialDevice(const std::string& name, const DiscoveryRoots& roots) {
  const fs::path entry = TtyClassFolder(roots) / name;
  if (!Exists(entry / "device")) return false;
  if (!name.starts_with("ttyS")) return true;
  const std::string type = ReadAttribute(entry / "type");
  return !type.empty() && type != "0";
}

// The device a path finally leads to, by name ("ttyUSB0").
std::optional<std::string> DeviceNameBehind(const std::string& path) {
  const std::optional<fs::path> resolved = Canonical(path);
  if (!resolved) return std::nullopt;
  return resolved->filename().string();
}

// The path a port number has in the tree of roots; none when it has no path.
std::optional<std::string> PathInTree(int port, const PortPaths& userPaths, const DiscoveryRoots& roots) {
  if (port >= kFirstUserPortNumber) return PortDevicePath(port, userPaths);
  const std::optional<std::string> name = PortDeviceName(port);
  if (!name) return std::nullopt;
  return (fs::path(roots.dev) / *name).string();
}

std::vector<int> Sorted(const std::set<int>& numbers) { return {numbers.begin(), numbers.end()}; }

// "Manufacturer Product, serial S" from the USB device above the tty; empty
// for a device that is no USB device or tells nothing.
std::string UsbName(const std::string& deviceName, const DiscoveryRoots& roots) {
  const std::optional<fs::path> device = Canonical(TtyClassFolder(roots) / deviceName / "device");
  const std::optional<fs::path> sys = Canonical(roots.sys);
  if (!device || !sys) return {};
  fs::path folder = *device;
  // The search stays inside the sysfs tree.
  for (int level = 0; level < kUsbDeviceSearchDepth && folder != *sys && IsInside(folder, *sys); ++level) {
    if (IsRegularFile(folder / "idVendor")) {
      std::string name = ReadAttribute(folder / "manufacturer");
      const std::string product = ReadAttribute(folder / "product");
      if (!name.empty() && !product.empty()) name += ' ';
      name += product;
      const std::string serial = ReadAttribute(folder / "serial");
      if (!name.empty() && !serial.empty()) name += ", serial " + serial;
      return name;
    }
    folder = folder.parent_path();
  }
  return {};
}

// The name of the /dev/serial/by-id link that leads to the device.
std::string ByIdName(const fs::path& device, const DiscoveryRoots& roots) {
  std::string found;
  ForEachEntry(fs::path(roots.dev) / "serial" / "by-id", [&](const fs::directory_entry& link) {
    if (found.empty() && Canonical(link.path()) == device) found = link.path().filename().string();
  });
  return found;
}

std::string FriendlyName(const std::string& path, const DiscoveryRoots& roots) {
  const std::optional<fs::path> device = Canonical(path);
  if (!device) return kOnBoardName;
  std::string name = UsbName(device->filename().string(), roots);
  if (name.empty()) name = ByIdName(*device, roots);
  return name.empty() ? kOnBoardName : name;
}

}  // namespace

std::vector<int> ListRegistryPorts(const PortPaths& userPaths, const DiscoveryRoots& roots) {
  std::set<int> numbers;
  ForEachEntry(TtyClassFolder(roots), [&](const fs::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    const std::optional<int> port = PortNumberOfDeviceName(name);
    if (port && KernelHasSerialDevice(name, roots)) numbers.insert(*port);
  });
  for (const auto& [port, path] : userPaths) {
    if (port < kFirstUserPortNumber || port > kLastPortNumber || path.empty()) continue;
    const std::optional<std::string> name = DeviceNameBehind(path);
    if (name && KernelHasSerialDevice(*name, roots)) numbers.insert(port);
  }
  return Sorted(numbers);
}

std::vector<int> ListDosDevicePorts(const PortPaths& userPaths, const DiscoveryRoots& roots) {
  std::set<int> numbers;
  ForEachEntry(roots.dev, [&](const fs::directory_entry& entry) {
    const std::optional<int> port = PortNumberOfDeviceName(entry.path().filename().string());
    if (port) numbers.insert(*port);
  });
  for (const auto& [port, path] : userPaths) {
    if (port >= kFirstUserPortNumber && port <= kLastPortNumber && !path.empty() && Exists(path)) numbers.insert(port);
  }
  return Sorted(numbers);
}

std::vector<std::string> ListFriendlyPorts(const std::vector<int>& numbers, const PortPaths& userPaths,
                                           const DiscoveryRoots& roots) {
  std::vector<std::string> entries;
  for (const int port : Sorted(std::set<int>(numbers.begin(), numbers.end()))) {
    const std::optional<std::string> path = PathInTree(port, userPaths, roots);
    if (!path || !Exists(*path)) continue;
    entries.push_back(std::to_string(port) + ": " + FriendlyName(*path, roots) + " (" + *path + ")");
  }
  return entries;
}

}  // namespace platform
