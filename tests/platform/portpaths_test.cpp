#include "platform/portpaths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using platform::PortPaths;

const PortPaths kUserPaths = {
    {161, "/dev/serial/by-id/usb-Tarn_Cable-if00"},
    {256, "/dev/rfcomm0"},
    {200, ""},
    {12, "/dev/ignored"},  // below the user's numbers: never used
};

TEST(PortPaths, NumbersAndDevicePathsMapBothWays) {
  struct Case {
    int port;
    const char* path;
  };
  const Case cases[] = {
      {1, "/dev/ttyS0"},      {32, "/dev/ttyS31"},
      {33, "/dev/ttyUSB0"},   {34, "/dev/ttyUSB1"},
      {96, "/dev/ttyUSB63"},  {97, "/dev/ttyACM0"},
      {160, "/dev/ttyACM63"}, {161, "/dev/serial/by-id/usb-Tarn_Cable-if00"},
      {256, "/dev/rfcomm0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::PortDevicePath(c.port, kUserPaths), c.path) << c.port;
    EXPECT_EQ(platform::PortNumberOfPath(c.path, kUserPaths), c.port) << c.path;
  }
}

TEST(PortPaths, EveryFixedNumberRoundTripsThroughItsDeviceName) {
  for (int port = platform::kFirstPortNumber; port < platform::kFirstUserPortNumber; ++port) {
    const std::optional<std::string> name = platform::PortDeviceName(port);
    ASSERT_TRUE(name) << port;
    EXPECT_EQ(platform::PortNumberOfDeviceName(*name), port) << *name;
  }
}

TEST(PortPaths, NumbersAndPathsOutsideTheTableHaveNoPartner) {
  for (const int port : {-1, 0, 162, 200, 257, 1000}) {
    EXPECT_EQ(platform::PortDevicePath(port, kUserPaths), std::nullopt) << port;
  }
  EXPECT_EQ(platform::PortDeviceName(161), std::nullopt);
  for (const char* path : {"/dev/ttyS32", "/dev/ttyUSB64", "/dev/ttyACM64", "/dev/ttyS01", "/dev/ttyS", "/dev/ttyS-1",
                           "/dev/ttyS+1", "/dev/ttyS1x", "/dev/ttyAMA0", "/dev/tty1", "/dev/ignored", "/tmp/ttyS0",
                           "ttyS0", "/dev/ttyUSB99999999999", ""}) {
    EXPECT_EQ(platform::PortNumberOfPath(path, kUserPaths), std::nullopt) << path;
  }
}

TEST(PortPaths, TheEnvironmentReplacesThePathOfEveryValidNumber) {
  unsetenv("RWQ_PORT_PATH");
  EXPECT_EQ(platform::PortOpenPath(33, kUserPaths), "/dev/ttyUSB0");
  setenv("RWQ_PORT_PATH", "/dev/pts/7", 1);
  EXPECT_EQ(platform::PortOpenPath(33, kUserPaths), "/dev/pts/7");
  EXPECT_EQ(platform::PortOpenPath(200, kUserPaths), "/dev/pts/7");
  EXPECT_EQ(platform::PortOpenPath(0, kUserPaths), std::nullopt);
  EXPECT_EQ(platform::PortOpenPath(257, kUserPaths), std::nullopt);
  setenv("RWQ_PORT_PATH", "", 1);
  EXPECT_EQ(platform::PortOpenPath(1, kUserPaths), "/dev/ttyS0");
  unsetenv("RWQ_PORT_PATH");
}

}  // namespace
