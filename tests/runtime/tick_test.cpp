#include "runtime/tick.h"

#include <gtest/gtest.h>

#include "platform/clock.h"

TEST(TickTest, CountsDownThenGivesZeroUntilTheNextStart) {
  platform::ManualClock clock(1000);
  cmcTick tick(clock);
  EXPECT_EQ(tick.Remaining(), 0u);
  tick.Start(100);
  EXPECT_EQ(tick.Remaining(), 100u);
  clock.Advance(99);
  EXPECT_EQ(tick.Remaining(), 1u);
  clock.Advance(1);
  EXPECT_EQ(tick.Remaining(), 0u);
  EXPECT_FALSE(tick.IsRunning());
  clock.Advance(0xFFFFFFF0u);  // would read as "not yet" if the tick still ran
  EXPECT_EQ(tick.Remaining(), 0u);
  tick.Start(300);
  EXPECT_EQ(tick.Remaining(), 300u);
}

TEST(TickTest, SurvivesTheWrapOfTheMillisecondCounter) {
  platform::ManualClock clock(0xFFFFFFCEu);  // 50 ms before the wrap
  cmcTick tick(clock);
  tick.Start(100);
  clock.Advance(60);
  EXPECT_EQ(clock.NowMs(), 10u);
  EXPECT_EQ(tick.Remaining(), 40u);
  clock.Advance(40);
  EXPECT_EQ(tick.Remaining(), 0u);
}

TEST(TickTest, RunsOnTheRealClock) {
  cmcTick tick;
  tick.Start(60000);
  const std::uint32_t left = tick.Remaining();
  EXPECT_GT(left, 59000u);
  EXPECT_LE(left, 60000u);
}
