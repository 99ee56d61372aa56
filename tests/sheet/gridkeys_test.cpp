#include "sheet/gridkeys.h"

#include <gtest/gtest.h>

#include "sheet/cellwalk.h"
#include "sheet/sheet.h"
#include "sheet_fixture.h"

namespace {

using Pos = CellPosition;

// A grid drawn as text: 'S' is a selectable cell, '.' is not.
CellWalk WalkOver(const std::vector<std::string>& rows) {
  const int columns = static_cast<int>(rows.front().size());
  return CellWalk(columns, static_cast<int>(rows.size()), [rows](int c, int r) { return rows[r][c] == 'S'; });
}

TEST(CellWalkTest, StepsToTheNextSelectableCellElseSearchesTheFollowingLines) {
  struct Case {
    const char* what;
    std::vector<std::string> grid;
    Pos from;
    int dx;
    int dy;
    std::optional<Pos> to;
  };
  const std::vector<Case> cases = {
      {"right skips unselectable cells", {"S.S."}, {0, 0}, 1, 0, Pos{2, 0}},
      {"right from the last selectable cell of every row fails", {"S.S.", "S.S."}, {2, 0}, 1, 0, std::nullopt},
      {"left walks back", {"S.S."}, {2, 0}, -1, 0, Pos{0, 0}},
      {"down walks the column", {".S", "..", ".S"}, {1, 0}, 0, 1, Pos{1, 2}},
      {"down with nothing below searches later rows, nearest column",
       {"S...", "....", "..S."},
       {0, 0},
       0,
       1,
       Pos{2, 2}},
      {"a tie goes to the lower column", {".S..", "....", "S.S."}, {1, 0}, 0, 1, Pos{0, 2}},
      {"the first later row with a cell wins", {".S..", "...S", "S..."}, {1, 0}, 0, 1, Pos{3, 1}},
      {"up searches earlier rows", {"...S", "....", "S..."}, {0, 2}, 0, -1, Pos{3, 0}},
      {"right searches later columns, nearest row", {"S..", "...", "..S"}, {0, 0}, 1, 0, Pos{2, 2}},
      {"nothing anywhere", {"S..", "..."}, {0, 0}, 0, 1, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WalkOver(c.grid).Step(c.from, c.dx, c.dy), c.to) << c.what;
  }
}

TEST(CellWalkTest, DropDownListsWrapOnSingleStepsAndNeverSearch) {
  const CellWalk walk = WalkOver({"S.", ".S", "S."});
  EXPECT_EQ(walk.StepInDropDown({0, 2}, 0, 1, true), (Pos{0, 0}));  // down on the last row wraps
  EXPECT_EQ(walk.StepInDropDown({0, 0}, 0, -1, true), (Pos{0, 2}));
  EXPECT_EQ(walk.StepInDropDown({1, 1}, 0, 1, true), std::nullopt);  // back at the start: nothing else
  EXPECT_EQ(walk.StepInDropDown({0, 2}, 0, 1, false), std::nullopt);
  EXPECT_EQ(walk.StepInDropDown({0, 0}, 0, 1, false), (Pos{0, 2}));
  EXPECT_EQ(walk.StepInDropDown({0, 0}, 1, 0, false), std::nullopt);  // no search into other rows
}

// A sheet whose selectable cells are
//   row 0  . . . .   (fixed)
//   row 1  S . S .
//   row 2  . . . .
//   row 3  . S S .
class GridKeysTest : public SheetFixture {
 protected:
  std::unique_ptr<cuiSheet> Grid(const std::string& style = "(FixedRows=1)") {
    UseSheet(style, {"a|b|c|d", "{($Sel)}e|f|{($Sel)}g|h", "i|j|k|l", "m|{($Sel)}n|{($Sel)}o|p"});
    std::unique_ptr<cuiSheet> sheet = Built();
    sheet->SetCallback([this, s = sheet.get()](cmcCellCapsule& request, bool) {
      for (int r = 0; r < s->Rows(); ++r)
        for (int c = 0; c < s->Columns(); ++c)
          if (&s->CellAt(c, r)->cell == request.cell) sent.push_back({c, r, request.key, request.menuCommand});
      return reply(request);
    });
    EXPECT_TRUE(sheet->MakeCurrent(0, 1));
    return sheet;
  }
  struct Sent {
    int column, row, key, command;
    bool operator==(const Sent&) const = default;
  };
  std::vector<Sent> sent;
  std::function<int(cmcCellCapsule&)> reply = [](cmcCellCapsule&) { return 0; };
};

TEST_F(GridKeysTest, ArrowsMoveAndAnArrowThatCannotMoveReachesTheCell) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  GridKeys keys(*sheet);
  EXPECT_TRUE(keys.KeyDown(vkey::kRight, {}));
  EXPECT_EQ(sheet->Current(), (Pos{2, 1}));
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(keys.KeyDown(vkey::kRight, {}));
  EXPECT_EQ(sheet->Current(), (Pos{2, 1}));
  EXPECT_EQ(sent, (std::vector<Sent>{{2, 1, 0x2700, 0}}));
  EXPECT_TRUE(keys.KeyDown(vkey::kDown, {}));
  EXPECT_EQ(sheet->Current(), (Pos{2, 3}));
  EXPECT_TRUE(keys.KeyDown(vkey::kLeft, {}));
  EXPECT_EQ(sheet->Current(), (Pos{1, 3}));
  EXPECT_TRUE(keys.KeyDown(vkey::kLeft, {}));  // nothing left in row 3: column 0 is searched
  EXPECT_EQ(sheet->Current(), (Pos{0, 1}));
  EXPECT_TRUE(keys.KeyDown(vkey::kLeft, {}));
  EXPECT_EQ(sheet->Current(), (Pos{0, 1}));
  EXPECT_EQ(sent.back(), (Sent{0, 1, 0x2500, 0}));
  EXPECT_TRUE(keys.KeyDown(vkey::kHome, {}));
  EXPECT_EQ(sheet->Current(), (Pos{0, 1}));  // no selectable cell above
  EXPECT_TRUE(keys.KeyDown(vkey::kPageDown, {}));
  EXPECT_EQ(sheet->Current(), (Pos{1, 3}));  // the search finds row 3, nearest column first
  EXPECT_TRUE(keys.KeyDown(vkey::kEnd, {}));
  EXPECT_EQ(sheet->Current(), (Pos{1, 3}));
  EXPECT_FALSE(keys.KeyDown(vkey::kUp, {.ctrl = true}));  // left to the menu's shortcuts
  EXPECT_EQ(sheet->Current(), (Pos{1, 3}));
  EXPECT_TRUE(keys.KeyDown(vkey::kUp, {.shift = true, .ctrl = true}));
  EXPECT_FALSE(keys.KeyDown(0x41, {}));  // a letter key comes as a typed character
}

TEST_F(GridKeysTest, FunctionKeysAndTypedCharactersReachTheCurrentCellWithTheirCodes) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  GridKeys keys(*sheet);
  for (int vk = vkey::kF1; vk <= vkey::kF12; ++vk) EXPECT_TRUE(keys.KeyDown(vk, {}));
  for (int code : {13, 32, 8, int{'7'}, 255}) EXPECT_TRUE(keys.Character(code));
  EXPECT_FALSE(keys.Character(0));
  EXPECT_FALSE(keys.Character(256));
  std::vector<int> codes;
  for (const Sent& s : sent) {
    EXPECT_EQ((Pos{s.column, s.row}), (Pos{0, 1}));
    codes.push_back(s.key);
  }
  EXPECT_EQ(codes, (std::vector<int>{0x7000, 0x7100, 0x7200, 0x7300, 0x7400, 0x7500, 0x7600, 0x7700, 0x7800, 0x7900,
                                     0x7A00, 0x7B00, 13, 32, 8, '7', 255}));
}

TEST_F(GridKeysTest, ALinkThatAsksToRepeatIsRepeatedUntilItStopsAsking) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  GridKeys keys(*sheet);
  int asks = 3;
  reply = [&](cmcCellCapsule& r) {
    if (asks-- > 0) r.repeatKey = r.key == 0x7000 ? 0x2600 : r.key;
    return 0;
  };
  EXPECT_TRUE(keys.KeyDown(vkey::kF1, {}));
  std::vector<int> waits;
  while (const std::optional<int> wait = keys.RepeatWait()) {
    waits.push_back(*wait);
    keys.Repeat();
  }
  EXPECT_EQ(waits, (std::vector<int>{30, 24, 18}));
  std::vector<int> codes;
  for (const Sent& s : sent) codes.push_back(s.key);
  EXPECT_EQ(codes, (std::vector<int>{0x7000, 0x2600, 0x2600, 0x2600}));
  EXPECT_FALSE(keys.Repeating());

  // A link that never stops is bounded.
  asks = 1 << 30;
  sent.clear();
  keys.Character(' ');
  while (keys.RepeatWait()) keys.Repeat();
  EXPECT_EQ(sent.size(), static_cast<std::size_t>(AutoRepeat::kMaxRepetitions) + 1);
}

TEST_F(GridKeysTest, MovingToTheFirstSelectableRowOrColumnScrollsTheGridHome) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  sheet->MakeCurrent(2, 3);
  sheet->SetTopLeft(2, 3);
  view_.scrolledTo = {-1, -1};
  EXPECT_TRUE(sheet->MoveCurrent(0, -1));  // to (2, 1): row 1 is the first selectable row
  EXPECT_EQ(view_.scrolledTo, (std::pair<int, int>{2, 1}));
  EXPECT_TRUE(sheet->MoveCurrent(-1, 0));  // to (0, 1): column 0 is the first selectable column
  EXPECT_EQ(view_.scrolledTo, (std::pair<int, int>{0, 1}));
}

TEST_F(GridKeysTest, ADropDownWrapsOnASingleStepOnly) {
  UseSheet("", {"{($Sel)}a", "b", "{($Sel)}c"});
  std::unique_ptr<cuiSheet> sheet = Make();
  sheet->SetDropDown(true);
  ASSERT_TRUE(sheet->Build());
  sheet->MakeCurrent(0, 2);
  EXPECT_TRUE(sheet->MoveCurrent(0, 1));
  EXPECT_EQ(sheet->Current(), (Pos{0, 0}));
  EXPECT_FALSE(sheet->MoveCurrent(0, -10));  // a page does not wrap
  EXPECT_TRUE(sheet->MoveCurrent(0, -1));
  EXPECT_EQ(sheet->Current(), (Pos{0, 2}));
}

TEST_F(GridKeysTest, WhatALinkAsksOfTheSheetAfterAnAction) {
  std::unique_ptr<cuiSheet> sheet = Grid("(FixedRows=1)(MultiSelect=Cell)");
  // A menu command arrives as key 0 with the item's link.
  sheet->CellAction(0, 1, 0, 77);
  EXPECT_EQ(sent.back(), (Sent{0, 1, 0, 77}));

  // Another cell becomes current: the first selectable one that matches.
  reply = [](cmcCellCapsule& r) {
    r.redirect = {true, kNoCellType, kNoCellLink, 0, 0};
    return 0;
  };
  sheet->MakeCurrent(2, 3);
  sheet->CellAction(2, 3, '1');
  EXPECT_EQ(sheet->Current(), (Pos{0, 1}));

  // A repeat is handed back to the grid.
  reply = [](cmcCellCapsule& r) {
    r.repeatKey = 0x2600;
    return 0;
  };
  EXPECT_EQ(sheet->CellAction(0, 1, 0x2600).repeatKey, 0x2600);

  // Result 1 clears a multi-selection; the span between anchor and current reaches the link.
  sheet->MakeCurrent(2, 1);
  sheet->MakeCurrent(2, 3, true);
  ASSERT_TRUE(sheet->Selection().Active());
  cmcCellCapsule::RowSelection seen;
  reply = [&](cmcCellCapsule& r) {
    seen = r.rowSelection;
    return static_cast<int>(kPopupEditor);
  };
  sheet->CellAction(2, 3, ' ');
  EXPECT_EQ(seen.flags, 1);
  EXPECT_FALSE(sheet->Selection().Active());
  EXPECT_FALSE(sheet->CellAt(2, 1)->selected);

  // A range: every cell with the current cell's link whose parameter lies in it.
  reply = [](cmcCellCapsule& r) {
    r.rowSelection = {0, 3, 0, 0};
    return 0;
  };
  sheet->CellAction(2, 3, ' ');
  EXPECT_TRUE(sheet->Selection().Active());
  EXPECT_TRUE(sheet->CellAt(0, 1)->selected);  // every cell here has no link and parameter 0
  EXPECT_TRUE(sheet->CellAt(1, 3)->selected);

  // Result 2 opens the editor on the cell, which becomes current alone.
  reply = [](cmcCellCapsule& r) {
    r.displayText = "abc";
    r.caretPosition = 1;
    r.edit(r, kInCellEditor);
    return static_cast<int>(kInCellEditor);
  };
  EXPECT_EQ(sheet->CellAction(1, 3, 13).editor, kInCellEditor);
  EXPECT_FALSE(sheet->Selection().Active());
  EXPECT_EQ(sheet->Current(), (Pos{1, 3}));
  EXPECT_EQ(view_.editor, (std::pair<int, int>{1, 3}));
  EXPECT_EQ(view_.editorText, "abc");
}

TEST_F(GridKeysTest, ASheetClosedDuringAnActionIsLeftAlone) {
  std::unique_ptr<cuiSheet> sheet = Grid();
  reply = [&](cmcCellCapsule& r) {
    r.redirect = {true, kNoCellType, kNoCellLink, 0, 0};
    sheet.reset();  // a message box pumped the close of the sheet
    return static_cast<int>(kPopupEditor);
  };
  EXPECT_EQ(sheet->CellAction(0, 1, ' ').editor, kNoEditor);
  EXPECT_EQ(sheet, nullptr);
}

}  // namespace
