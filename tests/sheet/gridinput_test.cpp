#include <gtest/gtest.h>

#include "sheet/autorepeat.h"
#include "sheet/cellhit.h"
#include "sheet/gridkeys.h"
#include "sheet/inplaceedit.h"
#include "sheet/popupmenutracker.h"
#include "sheet/sheet.h"
#include "sheet_fixture.h"

namespace {

using Pos = CellPosition;

TEST(InPlaceEditTest, KeysOfTheEditor) {
  using A = InPlaceEdit::KeyAction;
  const std::pair<int, A> cases[] = {{0x0D, A::kCommit},
                                     {0x1B, A::kCancel},
                                     {vkey::kUp, A::kCommitThenMove},
                                     {vkey::kDown, A::kCommitThenMove},
                                     {vkey::kPageUp, A::kCommitThenGridKey},
                                     {vkey::kPageDown, A::kCommitThenGridKey},
                                     {vkey::kLeft, A::kEdit},
                                     {'A', A::kEdit}};
  for (const auto& [key, action] : cases) EXPECT_EQ(InPlaceEdit::ActionFor(key), action) << key;
}

TEST(InPlaceEditTest, TheBoxIsOneLineHighAtTheCellsVerticalAlignment) {
  const CellRect cell{10, 20, 59, 39};  // 50 x 20
  EXPECT_EQ(InPlaceEdit::Box(cell, 16, 0), (CellRect{10, 20, 59, 35}));
  EXPECT_EQ(InPlaceEdit::Box(cell, 16, 1), (CellRect{10, 22, 59, 37}));
  EXPECT_EQ(InPlaceEdit::Box(cell, 16, 2), (CellRect{10, 24, 59, 39}));
  EXPECT_EQ(InPlaceEdit::Box(cell, 21, 0), std::nullopt);  // too small a cell
  EXPECT_EQ(InPlaceEdit::Box(CellRect{10, 20, 9, 39}, 16, 0), std::nullopt);
}

TEST(AutoRepeatTest, WaitsShrinkToNothingAndALinkThatNeverStopsIsBounded) {
  AutoRepeat repeat;
  EXPECT_EQ(repeat.Next(), std::nullopt);
  repeat.Ask(0x2600);
  std::vector<int> waits;
  for (int n = 0; n < 7; ++n) {
    repeat.Ask(0x2600);
    waits.push_back(repeat.Next().value_or(-1));
  }
  EXPECT_EQ(waits, (std::vector<int>{30, 24, 18, 12, 6, 0, 0}));
  int more = 0;
  while (repeat.Next()) ++more;
  EXPECT_EQ(7 + more, AutoRepeat::kMaxRepetitions);
  EXPECT_FALSE(repeat.Active());
  repeat.Ask(5);  // a new repeat starts from the first wait
  EXPECT_EQ(repeat.Next(), AutoRepeat::kFirstDelayMs);
  repeat.Stop();
  EXPECT_EQ(repeat.Next(), std::nullopt);
}

TEST(PopupMenuTrackerTest, RebuildsWhenTheNameChangesOrTheFocusComes) {
  cmcCellObj parent;
  parent.popupMenu = "GI_PMenu_Mch";
  cmcCellObj inherits;
  inherits.parent = &parent;
  cmcCellObj own;
  own.popupMenu = "GI_PMenu_Other";
  PopupMenuTracker tracker;
  EXPECT_TRUE(tracker.CurrentChanged(inherits, false));
  EXPECT_EQ(tracker.Name(), "GI_PMenu_Mch");
  EXPECT_FALSE(tracker.CurrentChanged(parent, false));  // the same name
  EXPECT_TRUE(tracker.CurrentChanged(parent, true));    // focus gained
  EXPECT_TRUE(tracker.CurrentChanged(own, false));
  EXPECT_EQ(tracker.Name(), "GI_PMenu_Other");
  tracker.FocusLost();
  EXPECT_FALSE(tracker.Built());
  EXPECT_TRUE(tracker.CurrentChanged(own, false));
}

// A sheet with a fixed title row and a fixed first column; every column 10 wide
// by default, rows 16 high.
//   row 0   T  . . .          (fixed)
//   row 1   n  S T + .        S selectable, T its extension, + joined to that
//   row 2   n  S . S .
class GridInputTest : public SheetFixture {
 protected:
  std::unique_ptr<cuiSheet> Grid() {
    UseSheet("(FixedRows=1)(FixedCols=1)(ColSizing)",
             {"t|a|b|c|d", "n|{($Sel)}e|{T}f|{+}g|h", "n|{($Sel)}i|j|{($Sel)}k|l"});
    std::unique_ptr<cuiSheet> sheet = Built();
    for (int column = 0; column < sheet->Columns(); ++column) sheet->SetColumnWidth(column, 10 + column);
    for (int row = 0; row < sheet->Rows(); ++row) const_cast<SheetGeometry&>(sheet->Geometry()).SetRowHeight(row, 16);
    return sheet;
  }
};

TEST_F(GridInputTest, TheCellUnderAPointFollowsJoinsExtensionsAndScrolling) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  // Column starts: 0, 10, 21, 33, 46, end 60. Rows: 0, 16, 32, end 48.
  struct Case {
    int x, y;
    std::optional<Pos> cell;
  };
  const Case unscrolled[] = {
      {15, 20, Pos{1, 1}},    {25, 20, Pos{1, 1}},     // an extension belongs to it
      {35, 20, Pos{1, 1}},                             // joined: drawn with the extension on its left
      {50, 20, std::nullopt}, {5, 20, std::nullopt},   // not selectable
      {35, 40, Pos{3, 2}},    {60, 20, std::nullopt},  // right of the grid
      {15, 48, std::nullopt}, {-1, 20, std::nullopt},  // below, left of it
  };
  for (const Case& c : unscrolled) EXPECT_EQ(CellAtPoint(*sheet, c.x, c.y), c.cell) << c.x << "," << c.y;
  sheet->SetTopLeft(3, 2);  // columns 1 and 2, row 1 scrolled out
  const Case scrolled[] = {{15, 20, Pos{3, 2}}, {5, 20, std::nullopt}, {15, 36, std::nullopt}};
  for (const Case& c : scrolled) EXPECT_EQ(CellAtPoint(*sheet, c.x, c.y), c.cell) << c.x << "," << c.y;
  CellHit hit(sheet->Geometry(), 3, 2);
  EXPECT_EQ(hit.RectOf({3, 2}), (CellRect{10, 16, 22, 31}));
  EXPECT_EQ(hit.RectOf({1, 2}), std::nullopt);
  EXPECT_EQ(hit.RectOf({0, 0}), (CellRect{0, 0, 9, 15}));
}

TEST_F(GridInputTest, ADoubleClickNearAColumnEdgeOnAFixedRowNamesTheColumnToFit) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  const CellHit hit(sheet->Geometry(), 1, 1);
  // Edges at 10, 21, 33, 46, 60.
  EXPECT_EQ(hit.ColumnEdgeAt(19, 5), 1);  // near column 1's right edge
  EXPECT_EQ(hit.ColumnEdgeAt(24, 5), 1);  // near column 2's left edge: the column on its left
  EXPECT_EQ(hit.ColumnEdgeAt(62, 5), 4);  // right of the last column
  EXPECT_EQ(hit.ColumnEdgeAt(65, 5), std::nullopt);
  EXPECT_EQ(hit.ColumnEdgeAt(27, 5), std::nullopt);   // the middle of a column
  EXPECT_EQ(hit.ColumnEdgeAt(21, 20), std::nullopt);  // not a fixed row
  EXPECT_EQ(hit.ColumnEdgeAt(2, 5), std::nullopt);    // the left edge of the first: nothing left of it
}

TEST_F(GridInputTest, TheWheelSelectsACellThatMayBecomeCurrentElseStepsARow) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  GridKeys keys(*sheet);
  sheet->MakeCurrent(1, 1);
  EXPECT_TRUE(keys.Wheel({3, 2}, false));
  EXPECT_EQ(sheet->Current(), (Pos{3, 2}));
  EXPECT_TRUE(keys.Wheel({4, 2}, false));    // not selectable: one step up (turned away)
  EXPECT_EQ(sheet->Current(), (Pos{1, 1}));  // nothing above in column 3: the search finds row 1
}

class InPlaceEditSessionTest : public SheetFixture {
 protected:
  std::unique_ptr<cuiSheet> Sheet() {
    UseSheet("", {"{($Sel)}a|{($Sel)}b"});
    std::unique_ptr<cuiSheet> sheet = Built();
    sheet->SetCallback([this](cmcCellCapsule& request, bool) {
      if (request.editResult == kTextCommitted) commits.push_back(request.editedText);
      if (onCommit) onCommit();
      return 0;
    });
    return sheet;
  }
  std::vector<std::string> commits;
  std::function<void()> onCommit;
};

TEST_F(InPlaceEditSessionTest, CommitsExactlyOnceAndNeverIntoAClosedSheet) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  InPlaceEdit edit;
  edit.Open(*sheet, {1, 0});
  EXPECT_TRUE(edit.IsOpen());
  EXPECT_TRUE(edit.Commit("145.5"));   // Enter
  EXPECT_FALSE(edit.Commit("145.5"));  // the focus loss that follows
  EXPECT_EQ(commits, (std::vector<std::string>{"145.5"}));

  edit.Open(*sheet, {1, 0});
  edit.Cancel();  // Escape
  EXPECT_FALSE(edit.Commit("x"));
  EXPECT_EQ(commits.size(), 1u);

  // A message box of the link takes the focus: that close sends nothing more.
  edit.Open(*sheet, {0, 0});
  onCommit = [&] { EXPECT_FALSE(edit.Commit("again")); };
  EXPECT_TRUE(edit.Commit("once"));
  onCommit = nullptr;
  EXPECT_EQ(commits, (std::vector<std::string>{"145.5", "once"}));

  edit.Open(*sheet, {0, 0});
  sheet.reset();  // the sheet closes with the editor open
  EXPECT_FALSE(edit.Commit("late"));
  EXPECT_EQ(commits.size(), 2u);

  InPlaceEdit outside;
  std::unique_ptr<cuiSheet> other = Sheet();
  outside.Open(*other, {5, 5});
  EXPECT_FALSE(outside.IsOpen());
  EXPECT_FALSE(outside.Commit("x"));
}

TEST_F(InPlaceEditSessionTest, ARebuiltSheetWithAnotherCellThereGetsNothing) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  InPlaceEdit edit;
  edit.Open(*sheet, {1, 0});
  UseSheet("", {"{($Sel)}a|{($Sel)(%CL_Mch_Dup[3])}b"});
  SheetServices services = Services();
  cuiSheet replaced(services, SheetRef::Parse("GI_T"));
  ASSERT_TRUE(replaced.Build());
  edit.Open(replaced, {1, 0});
  EXPECT_TRUE(edit.IsOpen());
  replaced.SetCallback([this](cmcCellCapsule& r, bool) {
    commits.push_back(r.editedText);
    return 0;
  });
  EXPECT_TRUE(edit.Commit("same"));
  edit.Open(replaced, {1, 0});
  replaced.CellAt(1, 0)->cell.link = 5;  // the cell changed under the editor
  EXPECT_FALSE(edit.Commit("changed"));
  EXPECT_EQ(commits, (std::vector<std::string>{"same"}));
}

}  // namespace
