#include "links/cellschanged.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

struct Heard {
  std::vector<std::optional<CellReference>> references;
  static void Listen(void* data, const Event& event) {
    static_cast<Heard*>(data)->references.push_back(CellReferenceOf(event));
  }
};

TEST(CellsChanged, TheReferenceCellArrivesByValueAtTheNextPump) {
  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  Heard heard;
  events.AddListener(&Heard::Listen, &heard);
  const CellReference sent[] = {{2, 140, 7}, {28, 1609, std::numeric_limits<std::int32_t>::min()}};
  for (const CellReference& reference : sent) PostCellsChanged(events, ev::kCellsChangedByLink, reference);
  EXPECT_TRUE(heard.references.empty());
  clock.Advance(cmcEvMan::kPumpIntervalMs);
  scheduler.RunDue();
  ASSERT_EQ(heard.references.size(), 2u);
  EXPECT_EQ(heard.references[0], sent[0]);
  EXPECT_EQ(heard.references[1], sent[1]);
}

TEST(CellsChanged, AnEventWithoutAReferenceOrWithAnotherPayloadCarriesNone) {
  Event plain;
  plain.code = ev::kCellsChangedAll;
  EXPECT_EQ(CellReferenceOf(plain), std::nullopt);
  Event text = plain;
  text.payload = std::vector<char>{'a', 'b', '\0'};
  EXPECT_EQ(CellReferenceOf(text), std::nullopt);
  text.payload = std::vector<char>(13, '\0');
  EXPECT_EQ(CellReferenceOf(text), std::nullopt);
}

}  // namespace
