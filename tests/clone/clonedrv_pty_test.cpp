// The clone driver over the program's serial port class on a pseudo-terminal,
// with a scripted radio on the master side: the bytes on the wire, script
// included, exactly as the radio receives them.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "clone/clonedrv.h"
#include "managerscript.h"
#include "platform/clock.h"
#include "runtime/taskscheduler.h"
#include "support/pseudo_terminal.h"
#include "testradio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Fill(std::uint8_t byte, std::size_t n) { return Bytes(n, byte); }
Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The same script as the radio receives it.
Bytes ScriptOnTheWire(bool highSpeed, bool writeMode) {
  const Bytes toNineSixHundred =
      Join({Fill(0xFE, 20), {0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x01, 0x32, 0x37, 0xFD}});
  const Bytes mode = {0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x36,
                      0x20, 0x00, 0x00, 0x55, 0x30, static_cast<std::uint8_t>(writeMode ? 0x31 : 0x30),
                      0xFD};
  const Bytes toThirtyEightFourHundred =
      Join({Fill(0xFE, 20), {0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x01, 0x30, 0x39, 0xFD}});
  return Join({toNineSixHundred, mode, highSpeed ? toThirtyEightFourHundred : toNineSixHundred});
}

const Bytes kEchoProbe = {0xFE, 0xFE, 0xFE, 0xFE};

class CloneDrvPtyTest : public testing::TestWithParam<bool> {
 protected:
  bool HighSpeed() const { return GetParam(); }

  void Configure(bool writeMode) {
    driver.SetPortPath(pty.SlavePath(), HighSpeed() ? "38400,N,8,1" : "9600,N,8,1");
    driver.SetRequestPreamble(HighSpeed() ? 48 : 12);
    driver.SetDataPreamble(0);
    driver.SetScript(ManagerScript(HighSpeed(), writeMode));
    driver.SetEcho(false);
    driver.SetEchoTest(true);
    driver.SetEndCount(true);
    driver.SetWaitAfterWriteRequest(true);
    driver.SetFlowControl(128, 0);
    driver.SetTimeout(writeMode ? 2000 : 1000);
    driver.SetWriteRequestTimeout(5000);
    driver.SetImageSize(cmcEeprom::kImageSize);
    driver.SetFrameParameters(0x3620, 0x0106);
    driver.SetRtsControl(1);
  }

  cmcCloneDrv::Completion Done() {
    return [this](dst_CDrv_Result& r) {
      ++calls;
      result = std::move(r);
    };
  }

  // Runs the scheduler and the radio on real time until the completion.
  bool Run() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (calls == 0 && std::chrono::steady_clock::now() < deadline) {
      scheduler.RunDue();
      for (std::uint8_t byte : pty.ReceiveAvailable()) {
        wire.push_back(byte);
        radio.OnByte(byte);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return calls > 0;
  }

  PseudoTerminal pty;
  platform::SteadyClock clock;
  TaskScheduler scheduler{clock};
  cmcCloneDrv driver{scheduler, clock};
  TestRadio radio{[this](const Bytes& bytes, double) { pty.Send(bytes); }, [] { return 0.0; }};
  Bytes wire;
  dst_CDrv_Result result;
  int calls = 0;
};

TEST_P(CloneDrvPtyTest, Information) {
  Configure(false);
  ASSERT_TRUE(driver.StartInformation(Done()));
  ASSERT_TRUE(Run());
  ASSERT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_EQ(result.a, 0x3620);
  EXPECT_EQ(result.b, 0x0006);
  EXPECT_EQ(Bytes(result.identification.Bytes().begin(), result.identification.Bytes().end()), radio.identification);
  EXPECT_EQ(wire, Join({ScriptOnTheWire(HighSpeed(), false),
                        kEchoProbe,
                        Fill(0xFE, HighSpeed() ? 48 : 12),
                        {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x36, 0x20, 0x01, 0x06, 0xFD}}));
}

TEST_P(CloneDrvPtyTest, Read) {
  Configure(false);
  radio.readRanges = {{0x0200, 0x0FFF}};
  const std::vector<memmap::AddressRange> ranges = {{0x0200, 0x0FFF}};
  ASSERT_TRUE(driver.StartRead(ranges, Done()));
  ASSERT_TRUE(Run());
  ASSERT_EQ(result.code, CloneCode::kSuccess);
  for (int a = 0x0200; a <= 0x0FFF; ++a) ASSERT_EQ(result.image.GetByte(a), radio.image.GetByte(a)) << a;
  EXPECT_EQ(wire, Join({ScriptOnTheWire(HighSpeed(), false),
                        kEchoProbe,
                        Fill(0xFE, HighSpeed() ? 48 : 12),
                        {0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x36, 0x20, 0x01, 0x06, 0xFD}}));
}

TEST_P(CloneDrvPtyTest, Write) {
  Configure(true);
  cmcEeprom image(cmcEeprom::kImageSize);
  for (int a = 0; a < cmcEeprom::kRawSize; ++a) image.SetByte(a, static_cast<std::uint8_t>(a % 251));
  const std::vector<memmap::AddressRange> ranges = {{0x0200, 0x0FFF}};
  ASSERT_TRUE(driver.StartWrite(image, ranges, Done()));
  ASSERT_TRUE(Run());
  ASSERT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_EQ(radio.recordsWritten, 0xE00 / 16);
  EXPECT_EQ(radio.goOnSent, 1 + 0xE00 / 128);
  EXPECT_EQ(radio.endText, "Tarn Inc.E0");
  for (int a = 0x0200; a <= 0x0FFF; ++a) ASSERT_EQ(radio.written.GetByte(a), image.GetByte(a)) << a;
  // 0x0200 holds 0x0200 % 251 = 10, and so on.
  const Bytes first = Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4},
                            Ascii("020010"
                                  "0A0B0C0D0E0F10111213141516171819"
                                  "D6"),
                            {0xFD}});
  const Bytes second = Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4},
                             Ascii("021010"
                                   "1A1B1C1D1E1F20212223242526272829"
                                   "C6"),
                             {0xFD}});
  const Bytes start = Join({ScriptOnTheWire(HighSpeed(), true),
                            kEchoProbe,
                            Fill(0xFE, HighSpeed() ? 48 : 12),
                            {0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0x36, 0x20, 0x01, 0x06, 0xFD},
                            first,
                            second});
  ASSERT_GE(wire.size(), start.size());
  EXPECT_EQ(Bytes(wire.begin(), wire.begin() + static_cast<std::ptrdiff_t>(start.size())), start);
}

INSTANTIATE_TEST_SUITE_P(BothSpeeds, CloneDrvPtyTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "At38400" : "At9600"; });

}  // namespace
