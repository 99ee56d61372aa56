#include "clone/comm.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <cstdlib>
#include <vector>

#include "platform/clock.h"
#include "runtime/taskscheduler.h"
#include "support/pseudo_terminal.h"

namespace {

TEST(CommSettings, TextsGiveTheLineSettings) {
  struct Case {
    const char* text;
    int baud;
    int dataBits;
    bool twoStopBits;
    bool parityCheck;
  };
  const Case cases[] = {
      {"9600,n,8,1", 9600, 8, false, false},
      {"9600,N,8,1", 9600, 8, false, false},
      {"38400,N,8,1", 38400, 8, false, false},
      {" 38400 , N , 8 , 2 ", 38400, 8, true, false},
      {"9600,N,8,1.5", 9600, 8, false, false},
      {"9600,N,9,1", 9600, 8, false, false},
      {"9600,N,3,1", 9600, 5, false, false},
      {"9600,N,7,1", 9600, 7, false, false},
      {"9600,m,8,1", 9600, 8, false, true},
      {"9600,O,8,1", 9600, 8, false, true},
      {"9600,E,8,1", 9600, 8, false, false},
      {"9600", 9600, 5, false, false},
      {"", 0, 5, false, false},
      {"x,N,8,1", 0, 8, false, false},
      {"4800,N,8,2,extra", 4800, 8, true, false},
  };
  for (const Case& c : cases) {
    const platform::SerialLineSettings settings = ParseCommSettings(c.text);
    EXPECT_EQ(settings.baud, c.baud) << c.text;
    EXPECT_EQ(settings.dataBits, c.dataBits) << c.text;
    EXPECT_EQ(settings.twoStopBits, c.twoStopBits) << c.text;
    EXPECT_EQ(settings.parityCheck, c.parityCheck) << c.text;
  }
}

std::vector<std::uint8_t> Pattern(std::size_t length) {
  std::vector<std::uint8_t> bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

class CommTest : public testing::Test {
 protected:
  // Steps the clock by ms, running the scheduler once.
  void Step(std::uint32_t ms) {
    clock.Advance(ms);
    scheduler.RunDue();
  }
  // Everything the other end has received once the kernel has moved it.
  std::vector<std::uint8_t> ReceiveAtLeast(std::size_t count) {
    std::vector<std::uint8_t> received;
    WaitFor([&] {
      const std::vector<std::uint8_t> more = pty.ReceiveAvailable();
      received.insert(received.end(), more.begin(), more.end());
      return received.size() >= count;
    });
    return received;
  }
  termios SlaveAttributes() const {
    termios attributes{};
    EXPECT_EQ(tcgetattr(pty.MasterFd(), &attributes), 0);
    return attributes;
  }

  platform::ManualClock clock{1000};
  TaskScheduler scheduler{clock};
  PseudoTerminal pty;
};

TEST_F(CommTest, OpensWithEachSettingsText) {
  struct Case {
    const char* text;
    speed_t speed;
    bool twoStopBits;
  };
  const Case cases[] = {
      {"9600,n,8,1", B9600, false},
      {"38400,N,8,1", B38400, false},
      {"9600,N,8,2", B9600, true},
      {"9600,N,8,1.5", B9600, false},
  };
  for (const Case& c : cases) {
    cmcComm comm(scheduler);
    ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), c.text)) << c.text;
    EXPECT_TRUE(comm.IsOpen());
    const termios attributes = SlaveAttributes();
    EXPECT_EQ(cfgetospeed(&attributes), c.speed) << c.text;
    EXPECT_EQ(cfgetispeed(&attributes), c.speed) << c.text;
    EXPECT_EQ((attributes.c_cflag & CSTOPB) != 0, c.twoStopBits) << c.text;
    EXPECT_EQ(attributes.c_cflag & CSIZE, CS8);
    EXPECT_EQ(attributes.c_cflag & PARENB, 0u);
    EXPECT_EQ(attributes.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(attributes.c_cc[VMIN], 0);
    EXPECT_EQ(attributes.c_cc[VTIME], 0);
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
  }
}

TEST_F(CommTest, OpenOnAnOpenPortFailsAndLeavesItAsItWas) {
  cmcComm comm(scheduler);
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  PseudoTerminal other;
  EXPECT_FALSE(comm.OpenPath(other.SlavePath(), "38400,N,8,1"));
  EXPECT_FALSE(comm.Open(33, "38400,N,8,1"));
  EXPECT_TRUE(comm.IsOpen());
  EXPECT_EQ(comm.DevicePath(), pty.SlavePath());
  const termios attributes = SlaveAttributes();
  EXPECT_EQ(cfgetospeed(&attributes), B9600);
  const std::uint8_t bytes[] = {0xFE, 0xFE};
  comm.Write(bytes, sizeof bytes);
  EXPECT_EQ(ReceiveAtLeast(2), std::vector<std::uint8_t>(bytes, bytes + 2));
}

TEST_F(CommTest, ANumberedPortOpensThePathTheEnvironmentNames) {
  setenv("RWQ_PORT_PATH", pty.SlavePath().c_str(), 1);
  cmcComm comm(scheduler);
  const bool opened = comm.Open(5, "38400,N,8,1");
  unsetenv("RWQ_PORT_PATH");
  ASSERT_TRUE(opened);
  EXPECT_EQ(comm.PortNumber(), 5);
  EXPECT_EQ(comm.DevicePath(), pty.SlavePath());
  EXPECT_EQ(comm.LastOpenFailure().error, platform::SerialOpenError::kNone);
}

TEST_F(CommTest, SettingsChangeOnTheOpenPortAndARefusedChangeKeepsTheOldOnes) {
  cmcComm comm(scheduler);
  EXPECT_FALSE(comm.ChangeSettings("38400,N,8,1")) << "a closed port has nothing to change";
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  ASSERT_TRUE(comm.ChangeSettings("38400,N,8,2"));
  termios attributes = SlaveAttributes();
  EXPECT_EQ(cfgetospeed(&attributes), B38400);
  EXPECT_NE(attributes.c_cflag & CSTOPB, 0u);
  EXPECT_FALSE(comm.ChangeSettings("12345,n,8,1"));
  EXPECT_TRUE(comm.IsOpen());
  attributes = SlaveAttributes();
  EXPECT_EQ(cfgetospeed(&attributes), B38400);
  // Still the same open port: what is written arrives.
  const std::uint8_t bytes[] = {0xFE, 0xFD};
  comm.Write(bytes, sizeof bytes);
  EXPECT_EQ(ReceiveAtLeast(2), std::vector<std::uint8_t>(bytes, bytes + 2));
}

TEST_F(CommTest, APortThatCannotOpenLeavesItClosedWithTheReason) {
  unsetenv("RWQ_PORT_PATH");
  cmcComm comm(scheduler);
  comm.SetPortPaths({{161, "/nonexistent/serial/by-id/cable"}});
  EXPECT_FALSE(comm.Open(161, "9600,n,8,1"));
  EXPECT_FALSE(comm.IsOpen());
  EXPECT_EQ(comm.PortNumber(), 161);
  EXPECT_EQ(comm.DevicePath(), "/nonexistent/serial/by-id/cable");
  EXPECT_EQ(comm.LastOpenFailure().error, platform::SerialOpenError::kNoDevice);
  // An unnamed user number has no device at all.
  EXPECT_FALSE(comm.Open(200, "9600,n,8,1"));
  EXPECT_EQ(comm.LastOpenFailure().error, platform::SerialOpenError::kNoDevice);
  // The device refuses a speed it does not know.
  EXPECT_FALSE(comm.OpenPath(pty.SlavePath(), "12345,n,8,1"));
  EXPECT_EQ(comm.LastOpenFailure().error, platform::SerialOpenError::kSettings);
  EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CommTest, ASecondPortOnTheSameDeviceFailsWhileTheFirstHoldsIt) {
  cmcComm first(scheduler);
  cmcComm second(scheduler);
  ASSERT_TRUE(first.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  EXPECT_FALSE(second.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  EXPECT_EQ(second.LastOpenFailure().error, platform::SerialOpenError::kBusy);
  first.Close();
  EXPECT_TRUE(second.OpenPath(pty.SlavePath(), "9600,n,8,1"));
}

TEST_F(CommTest, ReadsNeverWait) {
  cmcComm comm(scheduler);
  std::uint8_t buffer[256];
  EXPECT_EQ(comm.Read(buffer, sizeof buffer), 0u);  // closed
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  EXPECT_EQ(comm.Read(buffer, sizeof buffer), 0u);
  const std::vector<std::uint8_t> sent = Pattern(10);
  pty.Send(sent);
  ASSERT_TRUE(WaitFor([&] { return comm.InQueue() == 10; }));
  ASSERT_EQ(comm.Read(buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 10), sent);
  EXPECT_EQ(comm.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(comm.InQueue(), 0u);
}

TEST_F(CommTest, LongWritesLeaveInChunksThroughTheFlushTaskAndArriveWholeInOrder) {
  cmcComm comm(scheduler);
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "38400,N,8,1"));
  const std::vector<std::uint8_t> first = Pattern(3000);
  comm.Write(first.data(), first.size());
  // The first chunk leaves at once, each further one a flush interval later.
  EXPECT_EQ(comm.OutPending(), 3000u - 1024u);
  EXPECT_EQ(ReceiveAtLeast(1024).size(), 1024u);
  Step(cmcComm::kFlushRetryMs - 1);
  EXPECT_EQ(comm.OutPending(), 3000u - 1024u);
  Step(1);
  EXPECT_EQ(comm.OutPending(), 3000u - 2048u);
  Step(cmcComm::kFlushRetryMs);
  EXPECT_EQ(comm.OutPending(), 0u);
  EXPECT_EQ(ReceiveAtLeast(3000 - 1024).size(), 3000u - 1024u);

  // A write while output is pending joins its end.
  const std::vector<std::uint8_t> more = Pattern(5000);
  comm.Write(more.data(), 2500);
  comm.Write(more.data() + 2500, 2500);
  std::vector<std::uint8_t> received;
  for (int i = 0; i < 20 && comm.OutPending() > 0; ++i) {
    const std::vector<std::uint8_t> part = pty.ReceiveAvailable();
    received.insert(received.end(), part.begin(), part.end());
    Step(cmcComm::kFlushRetryMs);
  }
  EXPECT_EQ(comm.OutPending(), 0u);
  const std::vector<std::uint8_t> rest = ReceiveAtLeast(more.size() - received.size());
  received.insert(received.end(), rest.begin(), rest.end());
  EXPECT_EQ(received, more);
  EXPECT_FALSE(comm.HasWriteError());
}

TEST_F(CommTest, AStalledDeviceSetsTheWriteErrorAndNoByteIsSentTwice) {
  constexpr std::uint32_t kShortTimeLimitMs = 20;
  cmcComm comm(scheduler, kShortTimeLimitMs);
  // At this speed the per-byte part of the time limit is 0.
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "115200,N,8,1"));
  // Nobody reads the other end, so the pseudo-terminal's buffers fill.
  const std::vector<std::uint8_t> bytes = Pattern(1 << 20);
  comm.Write(bytes.data(), bytes.size());
  for (int i = 0; i < 2000 && !comm.HasWriteError(); ++i) Step(cmcComm::kFlushRetryMs);
  ASSERT_TRUE(comm.HasWriteError());
  const std::size_t pending = comm.OutPending();
  EXPECT_GT(pending, 0u);
  Step(cmcComm::kFlushRetryMs * 10);
  EXPECT_EQ(comm.OutPending(), pending) << "the flush stops at a write error";

  // Everything the device took arrives once, in order; the rest is still pending.
  const std::vector<std::uint8_t> received = ReceiveAtLeast(bytes.size() - pending);
  ASSERT_EQ(received.size(), bytes.size() - pending);
  EXPECT_TRUE(std::equal(received.begin(), received.end(), bytes.begin()));

  comm.Close();
  EXPECT_FALSE(comm.HasWriteError());
  EXPECT_EQ(comm.OutPending(), 0u);
}

TEST_F(CommTest, AVanishedPeerGivesNothingToReadAndAWriteError) {
  cmcComm comm(scheduler, 10);
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  pty.CloseMaster();
  std::uint8_t buffer[64] = {};
  EXPECT_EQ(comm.Read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(comm.InQueue(), 0u);
  comm.Write(buffer, sizeof buffer);
  Step(cmcComm::kFlushRetryMs);
  EXPECT_TRUE(comm.HasWriteError());
  comm.Close();
  EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CommTest, ClosedPortIgnoresWritesAndQueriesGiveZero) {
  cmcComm comm(scheduler);
  const std::uint8_t bytes[] = {1, 2, 3};
  comm.Write(bytes, sizeof bytes);
  EXPECT_EQ(comm.OutPending(), 0u);
  EXPECT_EQ(comm.InQueue(), 0u);
  EXPECT_EQ(comm.OutQueue(), 0u);
  EXPECT_FALSE(comm.HasWriteError());
  comm.Close();
  comm.Close();
}

TEST_F(CommTest, RtsControlIsKeptWhileClosedAndAppliedWhileOpen) {
  cmcComm comm(scheduler);
  EXPECT_FALSE(comm.SetRtsControl(cmcComm::kRtsDisable));
  ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
  // A pseudo-terminal has no modem lines; that fails neither call.
  EXPECT_TRUE(comm.SetRtsControl(cmcComm::kRtsEnable));
  EXPECT_TRUE(comm.SetRtsControl(7));
}

TEST_F(CommTest, DestroyingAPortWithPendingOutputReleasesItsTask) {
  const std::size_t before = scheduler.TaskCount();
  {
    cmcComm comm(scheduler, 10);
    ASSERT_TRUE(comm.OpenPath(pty.SlavePath(), "9600,n,8,1"));
    const std::vector<std::uint8_t> bytes = Pattern(4000);
    comm.Write(bytes.data(), bytes.size());
    EXPECT_GT(comm.OutPending(), 0u);
  }
  Step(cmcComm::kFlushRetryMs);
  EXPECT_EQ(scheduler.TaskCount(), before);
}

}  // namespace
