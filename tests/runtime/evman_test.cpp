#include "runtime/evman.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/taskscheduler.h"

namespace {

// A listener that records what it hears and runs an optional action.
struct Probe {
  std::string name;
  std::vector<std::string>* log;
  std::function<void(const Event&)> action;

  static void Hear(void* data, const Event& event) {
    auto* probe = static_cast<Probe*>(data);
    probe->log->push_back(probe->name + ":" + std::to_string(event.code));
    if (probe->action) probe->action(event);
  }
};

class EvManTest : public testing::Test {
 protected:
  Probe& Listen(const std::string& name, std::function<void(const Event&)> action = nullptr) {
    probes.push_back(std::make_unique<Probe>(Probe{name, &log, std::move(action)}));
    events.AddListener(&Probe::Hear, probes.back().get());
    return *probes.back();
  }
  void Pump() {
    clock.Advance(cmcEvMan::kPumpIntervalMs);
    scheduler.RunDue();
  }
  using Log = std::vector<std::string>;

  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  std::vector<std::unique_ptr<Probe>> probes;
  Log log;
};

TEST_F(EvManTest, TheListenerAddedLastHearsFirstAndReaddingMovesToTheFront) {
  Probe& a = Listen("a");
  Listen("b");
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log, (Log{"b:2", "a:2"}));

  log.clear();
  events.AddListener(&Probe::Hear, &a);
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log, (Log{"a:2", "b:2"})) << "one active entry, at the front";

  events.AddListener(nullptr, &a);
  log.clear();
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(EvManTest, SendCarriesItsFieldsAndAZeroTerminatedTextCopy) {
  int sender = 0;
  Event seen;
  std::vector<char> payload;
  Listen("a", [&](const Event& event) {
    seen.code = event.code;
    seen.delivery = event.delivery;
    seen.sender = event.sender;
    seen.argument = event.argument;
    payload = event.payload.value_or(std::vector<char>{'-'});
  });
  std::string text = "order";
  events.Send(ev::kWindowOrder, &sender, 7, text);
  text = "changed";
  EXPECT_EQ(seen.code, ev::kWindowOrder);
  EXPECT_EQ(seen.delivery, EvDelivery::Sent);
  EXPECT_EQ(seen.sender, &sender);
  EXPECT_EQ(seen.argument, 7);
  EXPECT_EQ(payload, (std::vector<char>{'o', 'r', 'd', 'e', 'r', '\0'}));

  events.Send(ev::kDebugLog, "line");
  EXPECT_EQ(seen.sender, nullptr);
  EXPECT_EQ(payload.size(), 5u);
}

TEST_F(EvManTest, EventTextStopsAtTheFirstZeroOrTheEndOfThePayload) {
  Event event;
  EXPECT_EQ(event.Text(), "");
  event.payload = std::vector<char>{'a', 'b'};
  EXPECT_EQ(event.Text(), "ab");
  event.payload = std::vector<char>{'a', '\0', 'b'};
  EXPECT_EQ(event.Text(), "a");
  EXPECT_EQ(event.PayloadLength(), 3u);
}

TEST_F(EvManTest, ARemovalDuringDeliveryStopsAListenerNotYetReached) {
  Probe& late = Listen("late");
  Listen("early", [&](const Event&) { events.RemoveListener(&Probe::Hear, &late); });
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log, (Log{"early:2"}));
  EXPECT_EQ(events.ListenerEntryCount(), 2u) << "removal only marks";
  Pump();
  EXPECT_EQ(events.ListenerEntryCount(), 1u) << "the pump unlinks it";
}

TEST_F(EvManTest, AListenerAddedDuringDeliveryHearsFromTheNextEventOn) {
  Probe* added = nullptr;
  Listen("a", [&](const Event&) {
    if (added == nullptr) added = &Listen("added");
  });
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log, (Log{"a:2"}));
  events.Send(ev::kAboutBox, nullptr, 0);
  EXPECT_EQ(log, (Log{"a:2", "added:3", "a:3"}));
}

TEST_F(EvManTest, PostedEventsWaitForThePumpAndArriveInPostingOrder) {
  Listen("a");
  events.Post(ev::kAboutBox, nullptr, 0);
  events.Post(ev::kRefresh, nullptr, 0, "text");
  const char bytes[3] = {1, 0, 2};
  events.PostData(ev::kDebugLog, bytes, sizeof bytes);
  EXPECT_TRUE(log.empty());
  clock.Advance(9);
  scheduler.RunDue();
  EXPECT_TRUE(log.empty());
  clock.Advance(1);
  scheduler.RunDue();
  EXPECT_EQ(log, (Log{"a:3", "a:2", "a:22"}));
  EXPECT_EQ(events.QueuedCount(), 0u);
}

TEST_F(EvManTest, AnEventPostedDuringAPumpIsDeliveredByTheNextPump) {
  Listen("a", [&](const Event& event) {
    if (event.code == ev::kBankLabels && event.argument < 3) events.Post(ev::kBankLabels, nullptr, event.argument + 1);
  });
  events.Post(ev::kBankLabels, nullptr, 0);
  Pump();
  EXPECT_EQ(log, (Log{"a:38"}));
  Pump();
  Pump();
  Pump();
  EXPECT_EQ(log, (Log{"a:38", "a:38", "a:38", "a:38"}));
  Pump();
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(EvManTest, ThePumpRunsItsPrologueBeforeTheQueue) {
  Listen("a");
  events.SetPumpPrologue([&] { log.push_back("prologue"); });
  events.Post(ev::kAboutBox, nullptr, 0);
  Pump();
  EXPECT_EQ(log, (Log{"prologue", "a:3"}));
}

TEST_F(EvManTest, APumpFromANestedLoopInsideASendKeepsTheOuterWalkValid) {
  // The nested pump must not unlink the entry that the outer walk stands on.
  Probe* self = nullptr;
  Listen("last");
  self = &Listen("nested", [&](const Event& event) {
    if (event.code != ev::kRefresh) return;
    events.RemoveListener(&Probe::Hear, self);
    Pump();  // a message box's loop inside the listener
  });
  events.Post(ev::kAboutBox, nullptr, 0);
  events.Send(ev::kRefresh, nullptr, 0);
  EXPECT_EQ(log, (Log{"nested:2", "last:3", "last:2"}));
  Pump();
  EXPECT_EQ(events.ListenerEntryCount(), 1u);
}

TEST_F(EvManTest, AQueryWithoutAnswersIsNullAndAnswersChainInListenerOrder) {
  Listen("silent");
  EXPECT_EQ(events.Query(ev::kQueryActiveCell, nullptr, 0), nullptr);

  int object = 0;
  Listen("second", [&](const Event& event) {
    EXPECT_EQ(event.delivery, EvDelivery::Query);
    events.AnswerData("xy", 3);
  });
  Listen("first", [&](const Event&) { events.Answer(5, &object); });
  const cmcEvAns* answer = events.Query(ev::kQueryActiveCell, nullptr, 0);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->value, 5);
  EXPECT_EQ(answer->object, &object);
  EXPECT_FALSE(answer->data.has_value());
  ASSERT_NE(answer->next, nullptr);
  EXPECT_EQ(answer->next->DataLength(), 3u);
  EXPECT_STREQ(answer->next->data->data(), "xy");
  EXPECT_EQ(answer->next->next, nullptr);
}

TEST_F(EvManTest, NestedQueriesKeepTheOuterAnswersAndAnAnswerOutsideAQueryIsIgnored) {
  events.Answer(1);  // nobody asked
  Listen("inner", [&](const Event& event) {
    if (event.code == ev::kQueryConsumeWheel) events.Answer(99);
  });
  int innerSeen = -1;
  Listen("outer", [&](const Event& event) {
    if (event.code != ev::kQueryActiveCell) return;
    events.Answer(1);
    const cmcEvAns* inner = events.Query(ev::kQueryConsumeWheel, nullptr, 0);
    innerSeen = inner != nullptr ? static_cast<int>(inner->value) : -1;
    events.Answer(2);
  });
  const cmcEvAns* answer = events.Query(ev::kQueryActiveCell, nullptr, 0);
  EXPECT_EQ(innerSeen, 99);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->value, 1);
  ASSERT_NE(answer->next, nullptr);
  EXPECT_EQ(answer->next->value, 2);
  EXPECT_EQ(answer->next->next, nullptr);
}

TEST(EvManLifetime, DestructionDropsQueuedEventsAndReleasesThePumpTask) {
  platform::ManualClock clock;
  TaskScheduler scheduler(clock);
  int heard = 0;
  {
    cmcEvMan events(scheduler);
    events.AddListener([](void* data, const Event&) { ++*static_cast<int*>(data); }, &heard);
    events.Post(ev::kAboutBox, nullptr, 0);
    EXPECT_EQ(scheduler.TaskCount(), 1u);
  }
  clock.Advance(10);
  scheduler.RunDue();
  EXPECT_EQ(heard, 0);
  EXPECT_EQ(scheduler.TaskCount(), 0u);
}

}  // namespace
