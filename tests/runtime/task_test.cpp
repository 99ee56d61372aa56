#include "runtime/task.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "runtime/taskscheduler.h"

namespace {

class TaskTest : public testing::Test {
 protected:
  // Steps the clock one millisecond at a time, running the scheduler at each.
  void RunFor(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      clock.Advance(1);
      scheduler.RunDue();
    }
  }

  platform::ManualClock clock{0xFFFFFF00u};  // close to the wrap of the counter
  TaskScheduler scheduler{clock};
};

TEST_F(TaskTest, TicksAtItsIntervalWithoutDriftAcrossTheCounterWrap) {
  cmcTask* task = scheduler.NewTask();
  int ticks = 0;
  task->SetCallback([&](cmcTask&) { ++ticks; });
  EXPECT_FALSE(task->SetInterval(10));
  RunFor(9);
  EXPECT_EQ(ticks, 0);
  RunFor(1);
  EXPECT_EQ(ticks, 1);
  RunFor(1000);  // passes the 32-bit wrap
  EXPECT_EQ(ticks, 101);
}

TEST_F(TaskTest, ALateTickIsNotMadeUpByABurst) {
  cmcTask* task = scheduler.NewTask();
  int ticks = 0;
  task->SetCallback([&](cmcTask&) { ++ticks; });
  task->SetInterval(10);
  clock.Advance(55);
  scheduler.RunDue();
  scheduler.RunDue();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(scheduler.MsUntilNextDue(), 10u);
}

TEST_F(TaskTest, IntervalRulesAndStop) {
  cmcTask* task = scheduler.NewTask();
  int ticks = 0;
  task->SetCallback([&](cmcTask&) { ++ticks; });
  EXPECT_TRUE(task->IsStopped());
  EXPECT_EQ(scheduler.MsUntilNextDue(), std::nullopt);
  EXPECT_FALSE(task->SetInterval(0));
  EXPECT_EQ(task->Interval(), 1);
  RunFor(3);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(task->SetInterval(-5));
  RunFor(10);
  EXPECT_EQ(ticks, 3);
  task->SetInterval(1);
  task->Stop();  // clears the callback too
  EXPECT_TRUE(task->IsStopped());
  task->SetInterval(1);
  RunFor(10);
  EXPECT_EQ(ticks, 3);
}

TEST_F(TaskTest, ReleasedFromItsOwnCallbackFinishesItThenGoesAtTheNextTick) {
  cmcTask* task = scheduler.NewTask();
  std::vector<std::string> log;
  task->SetCallback([&](cmcTask& self) {
    log.push_back("start");
    self.Stop();
    self.Release();
    log.push_back("end");
  });
  task->SetInterval(5);
  RunFor(5);
  EXPECT_EQ(log, (std::vector<std::string>{"start", "end"}));
  EXPECT_EQ(scheduler.TaskCount(), 1u);
  RunFor(1);
  EXPECT_EQ(scheduler.TaskCount(), 0u);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(TaskTest, AStoppedTaskReleasedByItsOwnerGoesAtTheNextTick) {
  cmcTask* task = scheduler.NewTask();
  task->Release();
  EXPECT_EQ(scheduler.TaskCount(), 1u);
  RunFor(1);
  EXPECT_EQ(scheduler.TaskCount(), 0u);
}

TEST_F(TaskTest, ANestedRunDoesNotReenterABusyTaskButRunsTheOthers) {
  cmcTask* outer = scheduler.NewTask();
  cmcTask* other = scheduler.NewTask();
  int outerCalls = 0;
  int otherCalls = 0;
  other->SetCallback([&](cmcTask&) { ++otherCalls; });
  other->SetInterval(10);
  outer->SetCallback([&](cmcTask&) {
    ++outerCalls;
    // A nested event loop, as a message box runs one.
    for (int i = 0; i < 50; ++i) {
      clock.Advance(1);
      scheduler.RunDue();
      EXPECT_NE(scheduler.MsUntilNextDue(), 0u) << "a busy task must not make the loop spin";
    }
  });
  outer->SetInterval(10);
  RunFor(10);
  EXPECT_EQ(outerCalls, 1);
  EXPECT_EQ(otherCalls, 6);  // at 11 (late), 20, 30, 40, 50 and 60, all inside the outer callback
}

TEST_F(TaskTest, PauseIsANonBlockingWaitThatKeepsTheOrderOfASteppedSequence) {
  // A stepped sequence in the shape of the clone driver: an effect, a 100 ms
  // wait, an effect, a 300 ms wait, an effect.
  std::vector<std::pair<std::string, std::uint32_t>> effects;
  const std::uint32_t start = clock.NowMs();
  auto elapsed = [&] { return clock.NowMs() - start; };
  int state = 0;
  cmcTask* driver = scheduler.NewTask();
  driver->SetCallback([&](cmcTask& self) {
    switch (state) {
    case 0:
      effects.push_back({"wake", elapsed()});
      self.Pause(100);
      state = 1;
      break;
    case 1:
      effects.push_back({"send", elapsed()});
      self.Pause(300);
      state = 2;
      break;
    case 2:
      effects.push_back({"read", elapsed()});
      self.SetInterval(-1);
      break;
    }
  });
  int pumps = 0;
  cmcTask* pump = scheduler.NewTask();
  pump->SetCallback([&](cmcTask&) { ++pumps; });
  pump->SetInterval(10);

  driver->SetInterval(10);
  RunFor(409);
  EXPECT_EQ(effects.size(), 2u);
  RunFor(1);
  using Effects = std::vector<std::pair<std::string, std::uint32_t>>;
  EXPECT_EQ(effects, (Effects{{"wake", 10}, {"send", 110}, {"read", 410}}));
  EXPECT_EQ(pumps, 41) << "other tasks keep running during the waits";
}

}  // namespace
