#include "platform/serialdevice.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <vector>

#include "support/pseudo_terminal.h"
#include "support/temp_dir.h"

namespace {

using platform::SerialDevice;
using platform::SerialLineSettings;
using platform::SerialOpenError;

termios SlaveAttributes(const PseudoTerminal& pty) {
  termios attributes{};
  // On the master this reads the slave's settings.
  EXPECT_EQ(tcgetattr(pty.MasterFd(), &attributes), 0);
  return attributes;
}

// A pseudo-terminal always runs 8 bits without parity, so the character size
// seen here is CS8 whatever the settings ask.
TEST(SerialDevice, OpensRawWithTheLineSettings) {
  struct Case {
    SerialLineSettings settings;
    speed_t speed;
    bool twoStopBits;
  };
  const Case cases[] = {
      {{9600, 8, false, false, true}, B9600, false},
      {{38400, 8, false, false, true}, B38400, false},
      {{19200, 8, true, false, false}, B19200, true},
      {{115200, 8, false, true, true}, B115200, false},
  };
  for (const Case& c : cases) {
    PseudoTerminal pty;
    SerialDevice device;
    ASSERT_TRUE(device.Open(pty.SlavePath(), c.settings)) << c.settings.baud;
    const termios attributes = SlaveAttributes(pty);
    EXPECT_EQ(cfgetispeed(&attributes), c.speed);
    EXPECT_EQ(cfgetospeed(&attributes), c.speed);
    EXPECT_EQ(attributes.c_cflag & CSIZE, CS8);
    EXPECT_EQ((attributes.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ(attributes.c_cflag & (PARENB | CRTSCTS), 0u);
    EXPECT_EQ(attributes.c_cflag & (CREAD | CLOCAL), CREAD | CLOCAL);
    EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(attributes.c_oflag & OPOST, 0u);
    EXPECT_EQ(attributes.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ((attributes.c_iflag & INPCK) != 0, c.settings.parityCheck);
    EXPECT_EQ(attributes.c_cc[VMIN], 0);
    EXPECT_EQ(attributes.c_cc[VTIME], 0);
    EXPECT_EQ(device.LastOpenFailure().error, SerialOpenError::kNone);
  }
}

TEST(SerialDevice, EmptiesTheReceiveQueueAtOpen) {
  PseudoTerminal pty;
  SerialDevice first;
  ASSERT_TRUE(first.Open(pty.SlavePath(), {}));
  pty.Send({1, 2, 3});
  ASSERT_TRUE(WaitFor([&] { return first.InQueue() == 3; }));
  first.Close();
  SerialDevice second;
  ASSERT_TRUE(second.Open(pty.SlavePath(), {}));
  EXPECT_EQ(second.InQueue(), 0u);
  std::uint8_t buffer[8];
  EXPECT_EQ(second.Read(buffer, sizeof buffer), 0u);
}

TEST(SerialDevice, ReadsWhatWaitsAndNothingWithoutWaiting) {
  PseudoTerminal pty;
  SerialDevice device;
  ASSERT_TRUE(device.Open(pty.SlavePath(), {}));
  std::uint8_t buffer[256];
  EXPECT_EQ(device.Read(buffer, sizeof buffer), 0u);
  const std::vector<std::uint8_t> sent = {0xFE, 0xFE, 0xEE, 0xEF, 0x00, 0x0A, 0x0D, 0x11, 0x13, 0xFD};
  pty.Send(sent);
  ASSERT_TRUE(WaitFor([&] { return device.InQueue() == sent.size(); }));
  ASSERT_EQ(device.Read(buffer, 4), 4u);
  ASSERT_EQ(device.Read(buffer + 4, sizeof buffer - 4), sent.size() - 4);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + sent.size()), sent);
  EXPECT_EQ(device.Read(buffer, sizeof buffer), 0u);
}

TEST(SerialDevice, AVanishedPeerReadsAsNothingAndTakesNoBytes) {
  PseudoTerminal pty;
  SerialDevice device;
  ASSERT_TRUE(device.Open(pty.SlavePath(), {}));
  pty.CloseMaster();
  std::uint8_t buffer[16] = {};
  EXPECT_EQ(device.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(device.InQueue(), 0u);
  EXPECT_LT(device.Write(buffer, sizeof buffer, 10), sizeof buffer);
  device.Close();
  EXPECT_FALSE(device.IsOpen());
}

TEST(SerialDevice, AStalledPeerEndsAWriteShortAtTheTimeLimit) {
  PseudoTerminal pty;
  SerialDevice device;
  ASSERT_TRUE(device.Open(pty.SlavePath(), {}));
  // Far more than the pseudo-terminal buffers while nobody reads the other end.
  const std::vector<std::uint8_t> bytes(1 << 20, 0x55);
  const std::size_t taken = device.Write(bytes.data(), bytes.size(), 20);
  EXPECT_GT(taken, 0u);
  EXPECT_LT(taken, bytes.size());
}

TEST(SerialDevice, ASecondOpenFailsAsBusyWhileTheFirstHoldsTheDevice) {
  PseudoTerminal pty;
  SerialDevice first;
  ASSERT_TRUE(first.Open(pty.SlavePath(), {}));
  SerialDevice second;
  EXPECT_FALSE(second.Open(pty.SlavePath(), {}));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(second.LastOpenFailure().error, SerialOpenError::kBusy);
  EXPECT_EQ(second.LastOpenFailure().path, pty.SlavePath());
  first.Close();
  EXPECT_TRUE(second.Open(pty.SlavePath(), {}));
}

TEST(SerialDevice, FailuresTellTheirReason) {
  TempDir dir;
  const std::string plainFile = dir.Write("not-a-port", "x");
  PseudoTerminal pty;
  struct Case {
    std::string path;
    SerialLineSettings settings;
    SerialOpenError error;
  };
  const Case cases[] = {
      {dir.File("ttyUSB9"), {}, SerialOpenError::kNoDevice},
      {"", {}, SerialOpenError::kNoDevice},
      {plainFile, {}, SerialOpenError::kNotSerial},
      {pty.SlavePath(), {12345, 8, false, false, true}, SerialOpenError::kSettings},
  };
  for (const Case& c : cases) {
    SerialDevice device;
    EXPECT_FALSE(device.Open(c.path, c.settings)) << c.path;
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.LastOpenFailure().error, c.error) << c.path;
  }
}

// In a child that is no longer root when the tests run as root, so that the
// device's permissions apply.
TEST(SerialDevice, APermissionFailureNamesTheGroupOwningTheDevice) {
  PseudoTerminal pty;
  struct stat info;
  ASSERT_EQ(stat(pty.SlavePath().c_str(), &info), 0);
  ASSERT_EQ(chmod(pty.SlavePath().c_str(), 0), 0);
  const group* owner = getgrgid(info.st_gid);
  ASSERT_NE(owner, nullptr);
  const std::string expectedGroup = owner->gr_name;
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    SerialDevice device;
    const bool opened = device.Open(pty.SlavePath(), {});
    const auto& failure = device.LastOpenFailure();
    _exit(!opened && failure.error == SerialOpenError::kPermission && failure.deviceGroup == expectedGroup ? 0 : 1);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(SerialDevice, ReconfiguresAnOpenDeviceAndRefusesAClosedOne) {
  PseudoTerminal pty;
  SerialDevice device;
  EXPECT_FALSE(device.Configure({}));
  ASSERT_TRUE(device.Open(pty.SlavePath(), {}));
  EXPECT_TRUE(device.Configure({38400, 8, true, false, false}));
  const termios attributes = SlaveAttributes(pty);
  EXPECT_EQ(cfgetospeed(&attributes), B38400);
  EXPECT_NE(attributes.c_cflag & CSTOPB, 0u);
}

}  // namespace
