#include "platform/portdiscovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void WriteText(const std::string& path, const std::string& content) { std::ofstream(path) << content; }

// A small sysfs and /dev: two on-board ports of which one has no UART, a USB
// adapter with full attributes, a modem-class cable that only names its
// product, a device node the kernel does not list, and ttys that are no ports.
class FakeTree {
 public:
  FakeTree() {
    roots.sys = (dir.path() / "sys").string();
    roots.dev = (dir.path() / "dev").string();
    const fs::path devices = dir.path() / "sys/devices";
    Tty("ttyS0", devices / "pnp0/ttyS0", "4");
    Tty("ttyS1", devices / "platform/serial8250/tty/ttyS1", "0");
    Tty("ttyS2", {}, "4");  // no device link
    const fs::path ftdi = devices / "pci0000:00/usb1/1-1";
    Tty("ttyUSB0", ftdi / "1-1:1.0/ttyUSB0", "");
    Write(ftdi / "idVendor", "0403\n");
    Write(ftdi / "manufacturer", "FTDI\n");
    Write(ftdi / "product", "FT232R USB UART\n");
    Write(ftdi / "serial", "A12345\n");
    const fs::path cable = devices / "pci0000:00/usb1/1-2";
    Tty("ttyACM0", cable / "1-2:1.0/tty/ttyACM0", "");
    Write(cable / "idVendor", "1234\n");
    Write(cable / "product", "Tarn Cable\n");
    Tty("ttyAMA0", devices / "platform/amba/ttyAMA0", "");
    // A USB device's attributes outside the sysfs tree belong to no port.
    Write(dir.path() / "idVendor", "0000\n");
    Write(dir.path() / "product", "Outside\n");
    Tty("tty0", {}, "");
    for (const char* node : {"ttyS0", "ttyS1", "ttyUSB0", "ttyACM0", "ttyACM3", "ttyS40", "tty0", "null"}) {
      Write(dev() / node, "");
    }
    fs::create_directories(dev() / "serial/by-id");
    fs::create_symlink("../../ttyACM0", dev() / "serial/by-id/usb-Tarn_Cable-if00");
    fs::create_symlink("../../ttyACM3", dev() / "serial/by-id/usb-Other_Maker_Lead-if02");
    userPaths = {
        {161, (dev() / "serial/by-id/usb-Tarn_Cable-if00").string()}, {162, (dev() / "missing").string()}, {163, ""}};
  }

  fs::path dev() const { return roots.dev; }
  std::string Dev(const char* name) const { return (dev() / name).string(); }

  TempDir dir;
  platform::DiscoveryRoots roots;
  platform::PortPaths userPaths;

 private:
  // A class/tty entry, linked to its device folder when it has one.
  void Tty(const std::string& name, const fs::path& device, const std::string& type) {
    const fs::path entry = fs::path(roots.sys) / "class/tty" / name;
    fs::create_directories(entry);
    if (!device.empty()) {
      fs::create_directories(device);
      fs::create_symlink(device, entry / "device");
    }
    if (!type.empty()) Write(entry / "type", type + "\n");
  }
  static void Write(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    WriteText(path.string(), content);
  }
};

TEST(PortDiscovery, SystemListHasKernelPortsWithADeviceAndAUart) {
  FakeTree tree;
  EXPECT_EQ(platform::ListRegistryPorts(tree.userPaths, tree.roots), (std::vector<int>{1, 33, 97, 161}));
}

TEST(PortDiscovery, DeviceNameListHasThePortNodesAndTheUsersPathsThatExist) {
  FakeTree tree;
  EXPECT_EQ(platform::ListDosDevicePorts(tree.userPaths, tree.roots), (std::vector<int>{1, 2, 33, 97, 100, 161}));
}

TEST(PortDiscovery, FriendlyEntriesNameTheAdapterOrTheLinkOrAnOnBoardPort) {
  FakeTree tree;
  const std::vector<std::string> expected = {
      "1: Serial port (" + tree.Dev("ttyS0") + ")",
      "33: FTDI FT232R USB UART, serial A12345 (" + tree.Dev("ttyUSB0") + ")",
      "97: Tarn Cable (" + tree.Dev("ttyACM0") + ")",
      "100: usb-Other_Maker_Lead-if02 (" + tree.Dev("ttyACM3") + ")",
      "161: Tarn Cable (" + tree.userPaths[161] + ")",
  };
  // Unsorted, repeated, absent (98, 162, 163) and impossible (0, 300) numbers.
  const std::vector<int> numbers = {161, 100, 97, 98, 33, 1, 33, 0, 162, 163, 300};
  EXPECT_EQ(platform::ListFriendlyPorts(numbers, tree.userPaths, tree.roots), expected);
}

TEST(PortDiscovery, MissingFoldersGiveShorterListsNeverAnError) {
  TempDir empty;
  const platform::DiscoveryRoots nowhere = {(empty.path() / "sys").string(), (empty.path() / "dev").string()};
  const platform::PortPaths userPaths = {{161, (empty.path() / "dev/ttyX").string()}};
  EXPECT_TRUE(platform::ListRegistryPorts(userPaths, nowhere).empty());
  EXPECT_TRUE(platform::ListDosDevicePorts(userPaths, nowhere).empty());
  EXPECT_TRUE(platform::ListFriendlyPorts({1, 33, 161}, userPaths, nowhere).empty());

  // Nodes without any sysfs: still listed, with the plain name.
  fs::create_directories(empty.path() / "dev");
  WriteText((empty.path() / "dev/ttyUSB2").string(), "");
  EXPECT_EQ(platform::ListDosDevicePorts({}, nowhere), std::vector<int>{35});
  EXPECT_EQ(platform::ListFriendlyPorts({35}, {}, nowhere),
            std::vector<std::string>{"35: Serial port (" + (empty.path() / "dev/ttyUSB2").string() + ")"});
}

TEST(PortDiscovery, AFifoInPlaceOfAnAttributeIsNotRead) {
  FakeTree tree;
  const fs::path product = tree.dir.path() / "sys/devices/pci0000:00/usb1/1-2/product";
  fs::remove(product);
  ASSERT_EQ(mkfifo(product.c_str(), 0600), 0);
  const std::vector<std::string> entries = platform::ListFriendlyPorts({97}, tree.userPaths, tree.roots);
  EXPECT_EQ(entries, std::vector<std::string>{"97: usb-Tarn_Cable-if00 (" + tree.Dev("ttyACM0") + ")"});
}

}  // namespace
