#include "markup/fcache.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

namespace {

class FCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    overlay_.OpenLines({
        "#GI_Sheet_Sel_T_Cells",
        "{(%Flex0[3])}three|{(%Flex0[5]:five)}ignored",
        "{(%Flex0[7])}seven|{(%Flex1[4])}other",
        "#",
        "#GI_Sheet_Sel_Count_Cells",
        "{(@ch0++)(%Flex0[@ch0])}\\(@ch0)",
        "{(@ch0++)(%Flex0[@ch0])}\\(@ch0)",
        "{(@ch0++)(%Flex0[@ch0])}\\(@ch0)",
        "#",
        "#GI_Sheet_Sel_Empty_Cells",
        "x|y",
        "#",
        "#End_Of_Ovl",
    });
  }
  static constexpr int kFlex0 = 1;
  cmcGTex overlay_;
  cmcFCache cache_{overlay_};
};

TEST_F(FCacheTest, TextOfFindsTheCellOfAValue) {
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_T", kFlex0, 3), "three");
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_T", kFlex0, 5), "five");  // the argument wins over the display text
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_T", kFlex0, 7), "seven");
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_T", kFlex0, 4), "error");
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_T", kFlex0 + 1, 4), "other");
}

TEST_F(FCacheTest, CarriesOnlyTheValuesOfItsCells) {
  EXPECT_TRUE(cache_.Carries("GI_Sheet_Sel_T", kFlex0, 3));  // builds the entry as TextOf does
  EXPECT_FALSE(cache_.Carries("GI_Sheet_Sel_T", kFlex0, 4));
  EXPECT_FALSE(cache_.Carries("GI_Sheet_Sel_T", kFlex0, -2147483647 - 1));
  EXPECT_TRUE(cache_.Carries("GI_Sheet_Sel_T", kFlex0 + 1, 4));
}

TEST_F(FCacheTest, StepWalksDownColumnsAndWraps) {
  EXPECT_FALSE(cache_.Step("GI_Sheet_Sel_T", kFlex0, 3, 1));  // no entry before TextOf
  cache_.TextOf("GI_Sheet_Sel_T", kFlex0, 3);
  struct Case {
    std::int32_t from;
    int delta;
    std::int32_t to;
  };
  const Case cases[] = {{7, 1, 5}, {5, 1, 3}, {3, -1, 5}, {3, 1, 7}, {5, -1, 7}, {99, 1, 3}, {99, -1, 5}};
  for (const Case& c : cases) EXPECT_EQ(cache_.Step("GI_Sheet_Sel_T", kFlex0, c.from, c.delta), c.to) << c.from;
}

TEST_F(FCacheTest, ASheetWithoutCellsOfTheLinkHasNoTextsAndNoSteps) {
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Empty", kFlex0, 0), "error");
  EXPECT_FALSE(cache_.Step("GI_Sheet_Sel_Empty", kFlex0, 0, 1));
  EXPECT_FALSE(cache_.Step("GI_Sheet_Sel_Empty", kFlex0, 0, -1));
}

TEST_F(FCacheTest, LoopVariablesCountFromZeroOnceForTheSheet) {
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Count", kFlex0, 1), "1");
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Count", kFlex0, 3), "3");
  EXPECT_EQ(cache_.TextOf("GI_Sheet_Sel_Count", kFlex0, 4), "error");
}

TEST_F(FCacheTest, AMissingSheetIsTheFatalOverlayError) {
  EXPECT_EQ(FatalTextOf([&] { cache_.TextOf("GI_Sheet_Sel_None", kFlex0, 0); }),
            "GTEX Error !\nThe index 'GI_Sheet_Sel_None_Cells' was not found.");
}

}  // namespace
