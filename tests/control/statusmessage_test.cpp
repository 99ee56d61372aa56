#include "control/statusmessage.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "runtime/event.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

TEST(StatusMessageTest, TravelsWithItsColoursAndAShortPayloadIsRefused) {
  platform::ManualClock clock;
  TaskScheduler scheduler(clock);
  cmcEvMan events(scheduler);
  std::vector<StatusMessage> heard;
  events.AddListener(
      [](void* data, const Event& event) {
        if (event.code != ev::kStatusMessage) return;
        if (std::optional<StatusMessage> status = DecodeStatusMessage(event)) {
          static_cast<std::vector<StatusMessage>*>(data)->push_back(*status);
        }
      },
      &heard);
  const StatusMessage sent{0x0000FF, clBtnFace, "Channel 3 copied, 100% done"};
  PostStatusMessage(events, sent);
  PostStatusMessage(events, {});
  events.PostData(ev::kStatusMessage, "abc", 3);  // too short for the colours
  clock.Advance(cmcEvMan::kPumpIntervalMs);
  scheduler.RunDue();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0], sent);
  EXPECT_EQ(heard[1], StatusMessage{});
}

}  // namespace
