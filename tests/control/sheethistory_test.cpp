#include "control/sheethistory.h"

#include <gtest/gtest.h>

namespace {

cuiSheet::ViewPosition At(int row, int column) {
  cuiSheet::ViewPosition position;
  position.topRow = row;
  position.leftColumn = column;
  position.current = {column + 1, row + 1};
  return position;
}

TEST(SheetHistoryTest, KeepsOneEntryPerSheetNewestFirst) {
  SheetHistory history;
  EXPECT_EQ(history.Newest(), nullptr);
  EXPECT_FALSE(history.Find("GI_Sheet_Mch_Lmr"));
  history.Remember(SheetRef::Parse("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1"), At(10, 2));
  history.Remember(SheetRef::Parse("GI_Sheet_TopPage"), At(0, 0));
  history.Remember(SheetRef::Parse("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"), At(20, 3));
  EXPECT_EQ(history.Size(), 2u);
  ASSERT_NE(history.Newest(), nullptr);
  EXPECT_EQ(history.Newest()->ref.Text(), "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  std::optional<cuiSheet::ViewPosition> found = history.Find("GI_Sheet_Mch_Lmr");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->topRow, 20);
  EXPECT_EQ(found->leftColumn, 3);
  EXPECT_EQ(found->current.row, 21);
}

TEST(SheetHistoryTest, OverviewPagesAdmitNoHelpWindow) {
  for (const char* name :
       {"GI_Sheet_TopPage", "GI_Sheet_Memory_CH_Top", "GI_Sheet_TreeTop", "GI_Sheet_TopPage_ADJ", "GI_Sheet_Maker"}) {
    EXPECT_FALSE(SheetAdmitsHelp(name)) << name;
  }
  EXPECT_TRUE(SheetAdmitsHelp("GI_Sheet_Mch_Lmr"));
  EXPECT_TRUE(SheetAdmitsHelp("GI_Sheet_TopPag"));
}

TEST(SheetHistoryTest, OnlyTheBankStyleMakesABankSheet) {
  EXPECT_TRUE(IsChannelBankSheet(SheetRef::Parse("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0")));
  EXPECT_FALSE(IsChannelBankSheet(SheetRef::Parse("GI_Sheet_Mch_Lmr,Mch")));
  EXPECT_FALSE(IsChannelBankSheet(SheetRef::Parse("[St_Common]GI_Sheet_Common")));
}

}  // namespace
