#include <gtest/gtest.h>

#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include "grid/gridpopupmenu.h"
#include "grid_fixture.h"
#include "sheet/columnautofit.h"
#include "sheet/sheet.h"

namespace {

using Pos = CellPosition;

// Columns 40 wide, rows 20 high; row 0 fixed. Selectable cells:
//   row 1  S . S .
//   row 3  . S S .
class GridMouseTest : public GridFixture {
 protected:
  cuiSheet& ShowSized(const std::string& style = "(FixedRows=1)(ColSizing)") {
    std::vector<std::string> blocks =
        SheetBlocks("GI_T", style, "{($Basic)(PopupMenu=GI_PMenu_T)}",
                    {"a|bbbbbbbbbbbb|c|d", "{($Sel)}e|f|{($Sel)}g|h", "i|j|k|l", "m|{($Sel)}n|{($Sel)}o|p"});
    for (const char* line : {"#GI_PMenu_T_BasicCell", "{($Basic)(%CT_PopupMenu.)}", "#", "#GI_PMenu_T_Body",
                             "+Copy\t{(%CT_PopupMenu.CL_PMenu_Copy:Ctrl+C)}", "#"}) {
      blocks.emplace_back(line);
    }
    UseOverlay(blocks);
    grid_->SetMenuOverlays(overlay_.get(), overlay_.get());
    cuiSheet& sheet = Show();
    auto& geometry = const_cast<SheetGeometry&>(sheet.Geometry());
    for (int column = 0; column < sheet.Columns(); ++column) geometry.SetColumnWidth(column, 40);
    for (int row = 0; row < sheet.Rows(); ++row) geometry.SetRowHeight(row, 20);
    grid_->InvalidateAll();
    return sheet;
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(grid_->viewport(), button, Qt::NoModifier, at);
  }
  // As the platform delivers a double click: the second press comes as the double click.
  void DoubleClick(QPoint at) {
    Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }
  void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, grid_->viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(grid_->viewport(), &event);
  }
};

TEST_F(GridMouseTest, AClickMakesASelectableCellCurrentAndOutsideEveryCellIsNoCell) {
  cuiSheet& sheet = ShowSized();
  Click({85, 65});
  EXPECT_EQ(sheet.Current(), (Pos{2, 3}));
  Click({125, 25});  // not selectable
  EXPECT_EQ(sheet.Current(), (Pos{2, 3}));
  Click({300, 200});  // right of and below the grid
  EXPECT_EQ(sheet.Current(), (Pos{2, 3}));
  EXPECT_TRUE(sent.empty());
}

TEST_F(GridMouseTest, ADoubleClickActivatesTheCellAndARightClickMakesItCurrent) {
  cuiSheet& sheet = ShowSized();
  DoubleClick({45, 65});
  EXPECT_EQ(sheet.Current(), (Pos{1, 3}));
  EXPECT_EQ(Codes(), (std::vector<int>{256}));
  Send(QEvent::MouseButtonPress, {85, 25}, Qt::RightButton, Qt::RightButton);
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);  // the pop-up menu
  QApplication::activePopupWidget()->close();
  EXPECT_EQ(sheet.Current(), (Pos{2, 1}));
  EXPECT_EQ(sent.size(), 1u);
}

TEST_F(GridMouseTest, ColumnsAreSizedByDraggingAnEdgeAndFittedByADoubleClickOnIt) {
  cuiSheet& sheet = ShowSized();
  Send(QEvent::MouseButtonPress, {79, 5}, Qt::LeftButton, Qt::LeftButton);  // column 1's right edge
  Send(QEvent::MouseMove, {109, 5}, Qt::NoButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {109, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(sheet.Geometry().ColumnWidth(1), 70);
  DoubleClick({110, 5});
  const int fitted = AutoFitWidth(sheet, 1, grid_->Measurer());
  EXPECT_GT(fitted, 40);  // the heading's twelve characters
  EXPECT_EQ(sheet.Geometry().ColumnWidth(1), fitted);
  EXPECT_TRUE(sent.empty());

  // Without ColSizing the edges are plain cells.
  cuiSheet& fixedWidths = ShowSized("(FixedRows=1)");
  Send(QEvent::MouseButtonPress, {79, 5}, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, {109, 5}, Qt::NoButton, Qt::LeftButton);
  Send(QEvent::MouseButtonRelease, {109, 5}, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(fixedWidths.Geometry().ColumnWidth(1), 40);
}

TEST_F(GridMouseTest, TheWheelStepsTheCurrentCell) {
  cuiSheet& sheet = ShowSized();
  QWheelEvent down(QPointF(50, 50), grid_->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid_->viewport(), &down);
  // Turned toward the user: nothing selectable below in column 0, the search finds row 3.
  EXPECT_EQ(sheet.Current(), (Pos{1, 3}));
  QWheelEvent up(QPointF(50, 50), grid_->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120),
                 Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(grid_->viewport(), &up);
  EXPECT_EQ(sheet.Current(), (Pos{0, 1}));
}

TEST_F(GridMouseTest, ARepeatedActionRunsOnTheTimerUntilTheLinkStopsAsking) {
  int asks = 3;
  reply = [&](cmcCellCapsule& request) {
    if (request.key != 0 && asks-- > 0) request.repeatKey = 0x2600;  // not the menu states
    return 0;
  };
  ShowSized();
  QTest::keyClick(grid_, Qt::Key_F1);
  EXPECT_EQ(Codes(), (std::vector<int>{0x7000}));  // the repeats wait for the timer
  QTest::qWait(200);
  EXPECT_EQ(Codes(), (std::vector<int>{0x7000, 0x2600, 0x2600, 0x2600}));
}

TEST_F(GridMouseTest, ADragHeldBelowTheGridScrollsAndExtendsTheSelectionUntilReleased) {
  std::vector<std::string> lines{"a|b"};
  for (int row = 1; row < 40; ++row) lines.emplace_back("{($Sel)}x|y");
  UseOverlay(SheetBlocks("GI_T", "(FixedRows=1)(MultiSelect=Cell)", "{($Basic)}", lines));
  cuiSheet& sheet = Show();
  auto& geometry = const_cast<SheetGeometry&>(sheet.Geometry());
  for (int row = 0; row < sheet.Rows(); ++row) geometry.SetRowHeight(row, 20);
  grid_->InvalidateAll();
  const int firstTop = sheet.TopRow();
  auto selectedRows = [&] {
    int count = 0;
    for (int row = 0; row < sheet.Rows(); ++row) count += sheet.CellAt(0, row)->selected ? 1 : 0;
    return count;
  };

  Send(QEvent::MouseButtonPress, {10, 25}, Qt::LeftButton, Qt::LeftButton);
  ASSERT_EQ(sheet.Current(), (Pos{0, 1}));
  const QPoint below(10, grid_->viewport()->height() + 30);
  Send(QEvent::MouseMove, below, Qt::NoButton, Qt::LeftButton);
  const Pos afterMove = sheet.Current();
  const int topAfterMove = sheet.TopRow();
  QTest::qWait(600);
  // The mouse stays still: only the timer moves on, a whole cell per tick.
  EXPECT_GT(sheet.TopRow(), std::max(firstTop, topAfterMove + 2));
  EXPECT_GT(sheet.Current().row, afterMove.row + 2);
  EXPECT_EQ(selectedRows(), sheet.Current().row);  // rows 1 to current, all marked

  Send(QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
  const Pos released = sheet.Current();
  const int releasedTop = sheet.TopRow();
  QTest::qWait(300);
  EXPECT_EQ(sheet.Current(), released);
  EXPECT_EQ(sheet.TopRow(), releasedTop);

  // Coming back inside stops the scroll while the button stays down.
  Send(QEvent::MouseButtonPress, {10, 45}, Qt::LeftButton, Qt::LeftButton);
  Send(QEvent::MouseMove, {10, -30}, Qt::NoButton, Qt::LeftButton);
  QTest::qWait(200);
  Send(QEvent::MouseMove, {10, 45}, Qt::NoButton, Qt::LeftButton);
  const Pos back = sheet.Current();
  QTest::qWait(300);
  EXPECT_EQ(sheet.Current(), back);
  Send(QEvent::MouseButtonRelease, {10, 45}, Qt::LeftButton, Qt::NoButton);
}

}  // namespace
