#include "clone/adjustdrv.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "simulatedline.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class FakeHost : public AdjustmentHost {
 public:
  int Selector() const override { return selector; }
  int AdjustState() const override { return state; }
  SweepLimits FilterSweepLimits() override { return limits; }
  int FilterSweepPauseMs(bool first) override { return first ? 30 : 20; }
  void StoreAdjustmentByte(int index, std::uint8_t value) override { stored.push_back({index, value}); }

  int selector = 0;
  int state = 0;
  SweepLimits limits{10, 20, 4};
  std::vector<std::pair<int, int>> stored;
};

// A radio that answers adjustment commands: FE FE EF EE E8, its model code,
// three bytes, the value as two ASCII digits, FD.
struct AdjustRadio {
  void OnByte(std::uint8_t byte) {
    if (byte == 0xFE) {
      frame.assign(1, byte);
      return;
    }
    if (frame.empty()) return;
    if (byte != 0xFD) {
      frame.push_back(byte);
      return;
    }
    // FE EE EF E8 A A B B command value value
    if (frame.size() == 11 && frame[3] == 0xE8) {
      const int command = frame[8];
      commands.push_back({command, frame[9], frame[10]});
      if (answers.count(command)) line->PeerSend(answers[command](commands.size()));
    }
    frame.clear();
  }

  static Bytes Reply(int model, std::uint8_t high, std::uint8_t low) {
    return {0xFE, 0xFE, 0xEF, 0xEE, 0xE8, static_cast<std::uint8_t>(model >> 8), static_cast<std::uint8_t>(model), 0x00,
            0x00, 0x00, high, low,  0xFD};
  }

  SimulatedLine* line = nullptr;
  Bytes frame;
  std::vector<std::array<int, 3>> commands;  // command and the two value characters
  std::map<int, std::function<Bytes(std::size_t)>> answers;
};

class AdjustDrvTest : public testing::Test {
 protected:
  AdjustDrvTest() {
    auto owned = std::make_unique<SimulatedLine>(clock);
    line = owned.get();
    radio.line = line;
    line->peer = [this](std::uint8_t byte) { radio.OnByte(byte); };
    driver = std::make_unique<imcCloneDrv>(scheduler, events, host, clock, std::move(owned));
    driver->SetPort(1, "38400,N,8,1");
    driver->SetFrameParameters(0x3620, 0x0000);
    driver->SetEchoTest(false);
    events.AddListener(&AdjustDrvTest::Hear, this);
  }

  static void Hear(void* data, const Event& event) {
    if (event.code == ev::kAdjustRefresh) ++static_cast<AdjustDrvTest*>(data)->refreshes;
  }

  cmcCloneDrv::Completion Done() {
    return [this](dst_CDrv_Result& r) {
      ++calls;
      result = std::move(r);
      doneAt = clock.NowMs();
    };
  }

  bool Run() {
    for (int i = 0; i < 100000 && calls == 0; ++i) {
      clock.Advance(1);
      scheduler.RunDue();
    }
    clock.Advance(10);
    scheduler.RunDue();  // the pump delivers what was posted last
    return calls > 0;
  }

  // The level the radio reports for each filter setting.
  void AnswerLevels(std::map<int, int> levels) {
    radio.answers[3] = [this, levels](std::size_t n) {
      const auto& setCommand = radio.commands[n - 2];
      const int setting =
          std::stoi(std::string{static_cast<char>(setCommand[1]), static_cast<char>(setCommand[2])}, nullptr, 16);
      const char* digits = "0123456789ABCDEF";
      const int level = levels.at(setting);
      return AdjustRadio::Reply(0x3620, digits[level >> 4], digits[level & 0xF]);
    };
  }

  platform::ManualClock clock{100};
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  FakeHost host;
  AdjustRadio radio;
  SimulatedLine* line = nullptr;
  std::unique_ptr<imcCloneDrv> driver;
  dst_CDrv_Result result;
  int calls = 0;
  int refreshes = 0;
  std::uint32_t doneAt = 0;
};

TEST_F(AdjustDrvTest, AFilterSweepSetsEachSettingAndReadsTheLevelAfterIt) {
  AnswerLevels({{10, 5}, {14, 9}, {18, 9}, {20, 3}});
  ASSERT_TRUE(driver->StartFilterSweep(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.kind, CloneKind::kFilterSweep);
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  const std::vector<std::array<int, 3>> expected = {{19, '0', 'A'}, {3, '0', '4'}, {19, '0', 'E'}, {3, '0', '4'},
                                                    {19, '1', '2'}, {3, '0', '4'}, {19, '1', '4'}, {3, '0', '4'}};
  EXPECT_EQ(radio.commands, expected);
  EXPECT_EQ(host.stored, (std::vector<std::pair<int, int>>{{84, 10}, {84, 14}, {84, 18}, {84, 20}}));
  EXPECT_EQ(refreshes, 4);
  EXPECT_EQ(driver->Best(false).level, 9);
  EXPECT_EQ(driver->Best(false).firstSetting, 14);
  EXPECT_EQ(driver->Best(false).lastSetting, 18);
}

TEST_F(AdjustDrvTest, WithAllFiltersSelectedTheSweepUsesItsOwnCommandByteAndBest) {
  host.selector = 2;
  host.limits = {250, 300, 0};  // clamped to 250..255, step 1
  AnswerLevels({{250, 1}, {251, 1}, {252, 1}, {253, 1}, {254, 1}, {255, 1}});
  ASSERT_TRUE(driver->StartFilterSweep(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  ASSERT_EQ(radio.commands.size(), 12u);
  EXPECT_EQ(radio.commands[0][0], 20);
  EXPECT_EQ(host.stored.back(), (std::pair<int, int>{85, 255}));
  EXPECT_EQ(driver->Best(true).firstSetting, 250);
  EXPECT_EQ(driver->Best(true).lastSetting, 255);
  EXPECT_EQ(driver->Best(false).level, -1);
}

TEST_F(AdjustDrvTest, ACommandTableSendsEachEntryAndTakesTheReplies) {
  std::uint8_t value = 0x3C;
  std::uint8_t reply = 0;
  const AdjustEntry entries[] = {{5, &value, nullptr}, {6, nullptr, &reply}, {imcCloneDrv::kEndOfTable}, {7}};
  radio.answers[6] = [](std::size_t) { return AdjustRadio::Reply(0x2926, '7', 'F'); };
  driver->SetCommandTable(entries);
  EXPECT_TRUE(driver->HasNewCommand());
  ASSERT_TRUE(driver->StartTable(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_FALSE(driver->HasNewCommand());
  EXPECT_EQ(reply, 0x7F);
  ASSERT_EQ(line->sessions.size(), 1u);
  EXPECT_EQ(line->sessions[0].bytes,
            (Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x05, 0x33, 0x43, 0xFD,
                   0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x06, 0x30, 0x30, 0xFD}));
}

TEST_F(AdjustDrvTest, ATableThatBeginsWithItsEndEndsAtOnce) {
  const AdjustEntry entries[] = {{imcCloneDrv::kEndOfTable}, {5}};
  driver->SetCommandTable(entries);
  ASSERT_TRUE(driver->StartTable(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_TRUE(radio.commands.empty());
}

TEST_F(AdjustDrvTest, ASingleCommandWaitsForAReplyFromAKnownRadioOnly) {
  struct Case {
    Bytes reply;
    CloneCode code;
    std::uint8_t destination;
  };
  const Case cases[] = {
      {AdjustRadio::Reply(0x3179, 'A', '5'), CloneCode::kSuccess, 0xA5},
      {AdjustRadio::Reply(0x3620, 'a', '5'), CloneCode::kSuccess, 0x11},  // not upper-case: unchanged
      {AdjustRadio::Reply(0x1234, 'A', '5'), CloneCode::kTimeout, 0x11},  // another radio
      {Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE8, 0x36, 0x20, 0x00, 0xFD}, CloneCode::kTimeout, 0x11},
  };
  for (const Case& c : cases) {
    calls = 0;
    std::uint8_t destination = 0x11;
    radio.answers[0x40] = [&c](std::size_t) { return c.reply; };
    driver->SetCommand(0x40, 0x01, &destination);
    ASSERT_TRUE(driver->StartCommand(Done()));
    ASSERT_TRUE(Run());
    EXPECT_EQ(result.kind, CloneKind::kAdjustCommand);
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(destination, c.destination);
  }
}

TEST_F(AdjustDrvTest, SingleCommandsStepEvery4MsOrEvery250MsInTheSlowState) {
  for (int state : {0, imcCloneDrv::kSlowCommandState}) {
    calls = 0;
    host.state = state;
    driver->SetCommand(0x41, 0x00, nullptr);
    const std::uint32_t start = clock.NowMs();
    ASSERT_TRUE(driver->StartCommand(Done()));
    ASSERT_TRUE(Run());
    EXPECT_EQ(result.code, CloneCode::kSuccess);
    // Start, script, open (and its 100 ms settle), command, finishing.
    if (state == 0) {
      EXPECT_LT(doneAt - start, 140u);
    } else {
      EXPECT_GE(doneAt - start, 5u * 250);
    }
  }
}

}  // namespace
