#include "control/worklayout.h"

#include <gtest/gtest.h>

namespace {

TEST(WorkLayoutTest, EverySixteenCombinationsGiveTheirState) {
  struct Case {
    bool bank, help, wanted, mch;
    int state;
  };
  // B H W M -> state
  const Case cases[] = {
      {false, false, false, false, 1}, {false, false, false, true, 1}, {false, false, true, false, 1},
      {false, false, true, true, 1},   {false, true, false, false, 7}, {false, true, false, true, 7},
      {false, true, true, false, 2},   {false, true, true, true, 2},   {true, false, false, false, 5},
      {true, false, false, true, 6},   {true, false, true, false, 3},  {true, false, true, true, 4},
      {true, true, false, false, 5},   {true, true, false, true, 6},   {true, true, true, false, 3},
      {true, true, true, true, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayoutStateOf({c.bank, c.help, c.wanted, c.mch}), c.state) << c.bank << c.help << c.wanted << c.mch;
  }
}

TEST(WorkLayoutTest, StatesShowTheirAreasAndShareGroups) {
  struct Case {
    int state;
    LayoutPanels panels;
    LayoutGroup group;
  };
  const Case cases[] = {
      {1, {false, false}, LayoutGroup::kSheetAlone}, {2, {false, true}, LayoutGroup::kWithHelp},
      {3, {false, true}, LayoutGroup::kWithHelp},    {4, {true, true}, LayoutGroup::kWithMchAndHelp},
      {5, {false, false}, LayoutGroup::kSheetAlone}, {6, {true, false}, LayoutGroup::kWithMch},
      {7, {false, false}, LayoutGroup::kSheetAlone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PanelsOf(c.state), c.panels) << c.state;
    EXPECT_EQ(GroupOf(c.state), c.group) << c.state;
  }
}

TEST(WorkLayoutTest, DefaultsSplitTheWorkAreaAndKeepSmallAreasUsable) {
  EXPECT_EQ(LayoutHeights::Defaults(LayoutGroup::kWithMchAndHelp, 900), (AreaHeights{225, 0, 200}));
  EXPECT_EQ(LayoutHeights::Defaults(LayoutGroup::kWithHelp, 900), (AreaHeights{0, 0, 200}));
  EXPECT_EQ(LayoutHeights::Defaults(LayoutGroup::kWithMch, 900), (AreaHeights{225, 0, 0}));
  EXPECT_EQ(LayoutHeights::Defaults(LayoutGroup::kSheetAlone, 900), (AreaHeights{}));
  EXPECT_EQ(LayoutHeights::Defaults(LayoutGroup::kWithMchAndHelp, 300), (AreaHeights{90, 0, 90}));
}

TEST(WorkLayoutTest, ChangesOnlyWhenTheStateChangesAndRestoresRememberedHeights) {
  WorkLayout layout;
  const LayoutFacts plain{false, true, true, false};
  const LayoutFacts bank{true, true, true, true};
  std::optional<WorkLayout::Change> first = layout.Update(plain, 900, {});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->state, 2);
  EXPECT_EQ(first->heights.help, 200);
  EXPECT_FALSE(layout.Update(plain, 900, {}));

  // The user dragged the help area to 300 before the bank sheet opened.
  std::optional<WorkLayout::Change> toBank = layout.Update(bank, 900, {600, 0, 300});
  ASSERT_TRUE(toBank);
  EXPECT_EQ(toBank->state, 4);
  EXPECT_TRUE(toBank->panels.mch);
  std::optional<WorkLayout::Change> back = layout.Update(plain, 900, {225, 475, 200});
  ASSERT_TRUE(back);
  EXPECT_EQ(back->heights.help, 300);
  EXPECT_EQ(layout.Heights().Remembered(LayoutGroup::kWithMchAndHelp), (AreaHeights{225, 475, 200}));

  // After the window changed height the default split applies.
  std::optional<WorkLayout::Change> resized = layout.Update(bank, 600, {0, 0, 300});
  ASSERT_TRUE(resized);
  EXPECT_EQ(resized->heights, (AreaHeights{150, 0, 133}));
}

TEST(WorkLayoutTest, StoredHeightsApplyWhereTheyLeaveEveryAreaItsLowestHeight) {
  LayoutHeights heights;
  heights.SetStored(LayoutGroup::kWithMchAndHelp, {300, 0, 250});
  EXPECT_EQ(heights.HeightsFor(LayoutGroup::kWithMchAndHelp, 900), (AreaHeights{300, 0, 250}));
  // 600 leaves the memory-channel area only 50 pixels.
  EXPECT_EQ(heights.HeightsFor(LayoutGroup::kWithMchAndHelp, 600),
            LayoutHeights::Defaults(LayoutGroup::kWithMchAndHelp, 600));
  heights.SetStored(LayoutGroup::kWithHelp, {0, 0, 40});
  EXPECT_EQ(heights.HeightsFor(LayoutGroup::kWithHelp, 900), (AreaHeights{0, 0, 200}));
}

}  // namespace
