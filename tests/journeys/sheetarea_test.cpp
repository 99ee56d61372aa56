#include <gtest/gtest.h>

#include <QScrollBar>

#include "grid/grid.h"
#include "journey.h"
#include "sheet/cellhit.h"
#include "sheet/sheet.h"

namespace {

// The top page: the counts stand in column 1 beside their labels.
constexpr int kCountColumn = 1;
constexpr int kChannelsInUseRow = 2;
constexpr int kChannelsLeftRow = 3;

// Whether the cell lies wholly inside the grid's viewport.
bool InView(Journey& user, int column, int row) {
  cuiSheet& sheet = user.Sheet();
  const std::optional<CellRect> cell =
      CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).RectOf({column, row});
  const QWidget& viewport = *user.Grid().viewport();
  return cell && cell->left >= 0 && cell->top >= 0 && cell->right < viewport.width() &&
         cell->bottom < viewport.height();
}

int ContentHeight(const cuiSheet& sheet) {
  int height = 0;
  for (int row = 0; row < sheet.Geometry().Rows(); ++row) height += sheet.Geometry().RowHeight(row);
  return height;
}

TEST(SheetAreaJourney, TheTopPagesCountsAreInViewAtTheDefaultWindowSize) {
  Journey user;
  user.Start();
  user.Open("Initial_PMR.rwc");
  ASSERT_EQ(user.Sheet().Name(), "GI_Sheet_TopPage");
  for (int row : {kChannelsInUseRow, kChannelsLeftRow}) {
    EXPECT_TRUE(InView(user, kCountColumn, row)) << row;
    EXPECT_FALSE(user.CellText(kCountColumn, row).empty()) << row;
  }
}

TEST(SheetAreaJourney, ATallSheetAfterTheTopPageGetsItsVerticalScrollBarAtOnce) {
  Journey user;
  user.Start();
  user.Open("Initial_PMR.rwc");
  user.Form().resize(800, 420);  // a bank's sixteen channels do not fit
  user.Settle();
  const QScrollBar& bar = *user.Grid().verticalScrollBar();
  EXPECT_EQ(bar.maximum(), bar.minimum());  // the top page fits
  user.SelectNode("1:");
  ASSERT_GT(ContentHeight(user.Sheet()), user.Grid().viewport()->height()) << user.Grid().viewport()->height();
  EXPECT_GT(bar.maximum(), bar.minimum());
  EXPECT_TRUE(bar.isVisibleTo(&user.Grid()));
  user.SelectNode("RW-M52-Q");
  EXPECT_EQ(bar.maximum(), bar.minimum());
}

}  // namespace
