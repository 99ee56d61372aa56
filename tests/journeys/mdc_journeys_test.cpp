#include <gtest/gtest.h>

#include <string>

#include "journey.h"
#include "sheet/sheet.h"

namespace {

// The PTT ID sheet: row 0 holds the headings, rows 1 to 5 the sets 0 to 4.
constexpr int kPreTime = 7;
constexpr int kSet1 = 2;

TEST(MdcJourney, ATypedPttPreTimeIsCutToHalfSecondsAndStays) {
  Journey user;
  user.Start();
  user.Open("Initial_LMR.rwc");
  user.SelectNode("PTT ID");
  ASSERT_EQ(user.Sheet().Ref().Text(), "GI_Sheet_Mdc_PttId");
  EXPECT_EQ(user.CellText(0, kSet1), "PTT 1");
  user.EnterInCell(kPreTime, kSet1, "2.7");
  EXPECT_EQ(user.CellText(kPreTime, kSet1), "  2.500");
  user.SelectNode("Emergency");
  user.SelectNode("PTT ID");
  EXPECT_EQ(user.CellText(kPreTime, kSet1), "  2.500");
}

}  // namespace
