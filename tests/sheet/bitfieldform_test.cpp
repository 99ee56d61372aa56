#include "sheet/bitfieldform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LabelCase {
  int first;
  int last;
  int style;
  std::vector<std::string> labels;
};

class BitFieldLabels : public testing::TestWithParam<LabelCase> {};

TEST_P(BitFieldLabels, FollowTheStyle) {
  const LabelCase& c = GetParam();
  EXPECT_EQ(BitFieldForm(c.first, c.last, c.style, 0).Labels(), c.labels);
}

INSTANTIATE_TEST_SUITE_P(Styles, BitFieldLabels,
                         testing::Values(LabelCase{9, 12, 1, {"9", "A", "B", "C"}},
                                         LabelCase{9, 11, 2, {"9", "0", "11"}}, LabelCase{16, 17, 2, {"16", "17"}},
                                         LabelCase{9, 11, 3, {"9", "0", "11"}}, LabelCase{16, 17, 3, {"16", "Z"}},
                                         LabelCase{8, 17, 4, {"8", "9", "A", "B", "C", "D", "E", "F", "G", "Z"}},
                                         LabelCase{1, 4, 5, {"A", "B", "C", "D"}},
                                         LabelCase{1, 6, 6, {"RMC", "GGA", "GLL", "GSA", "VTG", ""}},
                                         LabelCase{1, 4, 7, {"B3", "B2", "B1", "B0"}}, LabelCase{0, 1, 0, {"0", "1"}},
                                         LabelCase{3, 4, 9, {"3", "4"}}));

TEST(BitFieldForm, CellNStandsForBit26LessN) {
  BitFieldForm form(1, 4, 5, 0);
  ASSERT_TRUE(form.Toggle(1));
  ASSERT_TRUE(form.Toggle(3));
  EXPECT_EQ(form.Value(), 41943040u);  // bits 25 and 23
  EXPECT_TRUE(form.IsOn(1));
  EXPECT_FALSE(form.IsOn(2));
  ASSERT_TRUE(form.Toggle(1));
  EXPECT_EQ(form.Value(), 1u << 23);
}

TEST(BitFieldForm, OtherBitsOfTheValueStay) {
  BitFieldForm form(1, 2, 0, 0x80000001u);
  form.Toggle(2);
  EXPECT_EQ(form.Value(), 0x80000001u | (1u << 24));
}

TEST(BitFieldForm, ParametersOutsideTheFormChangeNothing) {
  BitFieldForm form(1, 4, 0, 0);
  for (int n : {0, 5, -1, 40}) {
    EXPECT_FALSE(form.Toggle(n)) << n;
    EXPECT_FALSE(form.IsOn(n)) << n;
  }
  EXPECT_EQ(form.Value(), 0u);
}

TEST(BitFieldForm, NoFormOverMoreThan26Options) {
  EXPECT_TRUE(BitFieldForm::Fits(1, 26));
  EXPECT_FALSE(BitFieldForm::Fits(1, 27));
  EXPECT_FALSE(BitFieldForm::Fits(4, 3));
  BitFieldForm tooMany(1, 40, 0, 0);
  EXPECT_EQ(tooMany.Options(), 0);
  EXPECT_TRUE(tooMany.Labels().empty());
  EXPECT_FALSE(tooMany.Toggle(1));
  BitFieldForm all(1, 26, 0, 0);
  ASSERT_TRUE(all.Toggle(26));
  EXPECT_EQ(all.Value(), 1u);
}

TEST(BitFieldForm, AtMostThreeSentenceTypes) {
  BitFieldForm form(1, 5, 6, 0);
  for (int n = 1; n <= 3; ++n) form.Toggle(n);
  EXPECT_TRUE(form.Acceptable());
  form.Toggle(4);
  EXPECT_FALSE(form.Acceptable());
  form.Toggle(2);
  EXPECT_TRUE(form.Acceptable());
  // Other styles take any number.
  BitFieldForm plain(1, 5, 5, 0);
  for (int n = 1; n <= 5; ++n) plain.Toggle(n);
  EXPECT_TRUE(plain.Acceptable());
}

TEST(BitFieldForm, GeneratedOverlayOfTwoOptions) {
  const std::vector<std::string> lines = BitFieldForm(0, 1, 0, 0).OverlayLines();
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[0], "#GI_Sheet_FBitsR_Style");
  EXPECT_EQ(lines[6], "|{($iChI)}0||{($iChI)}1|");
  EXPECT_EQ(lines[8], "|{($eWh)^(%CL_FBits[1])}9|{($iQp)}|{($eWh)^(%CL_FBits[2])}9|");
  EXPECT_EQ(lines[11], "#");
  EXPECT_EQ(lines[23], "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}");
  EXPECT_EQ(lines[30], "#End_Of_Ovl");
  EXPECT_EQ(lines[31], "");
}

TEST(BitFieldForm, OneOptionHasNoPillar) {
  const std::vector<std::string> lines = BitFieldForm(3, 3, 0, 0).OverlayLines();
  EXPECT_EQ(lines[8], "|{($eWh)^(%CL_FBits[1])}9|");
}

TEST(TickPolygon, SitsOnACentredSquare) {
  const auto points = TickPolygon(100, 20);  // s = 14, square from (43, 3)
  EXPECT_DOUBLE_EQ(points[0][0], 43);
  EXPECT_DOUBLE_EQ(points[0][1], 3 + 0.4 * 14);
  EXPECT_DOUBLE_EQ(points[2][0], 43 + 0.4 * 14);
  EXPECT_DOUBLE_EQ(points[2][1], 17);
  EXPECT_DOUBLE_EQ(points[3][0], 57);
  EXPECT_DOUBLE_EQ(points[3][1], 3 + 0.35 * 14);
}

}  // namespace
