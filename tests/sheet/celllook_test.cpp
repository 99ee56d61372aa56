#include "sheet/celllook.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "links/cellcapsule.h"
#include "sheet/columnautofit.h"
#include "sheet/segchar.h"
#include "sheet/sheet.h"
#include "sheet_fixture.h"

namespace {

using Pos = CellPosition;

constexpr CellColour kYellow = 0x0000FFFF;
constexpr CellColour kRed = 0x000000FF;
// Unequal channels, so a blend of the wrong channels shows.
constexpr LookColours kPalette{0x00F0E0D0, 0x00102030};
constexpr CellColour kInactive = 0x00B8B0A8;    // 3/4 window + 1/4 text
constexpr CellColour kSelectLine = 0x00D4C8BC;  // 7/8 window + 1/8 text

TEST(LookColoursTest, TheDerivedColoursBlendWindowAndTextPerChannel) {
  EXPECT_EQ(kPalette.InactiveSelection(), kInactive);
  EXPECT_EQ(kPalette.SelectLine(), kSelectLine);
  const LookColours dark{0x00000000, 0x00FFFFFF};
  EXPECT_EQ(dark.InactiveSelection(), 0x00404040u);  // 63.75 rounds up
  EXPECT_EQ(dark.SelectLine(), 0x00202020u);         // 31.875
}

// Row 0 fixed; column 0 fixed. Every cell 100 x 40.
//   row 0  title | head    | head  | head
//   row 1  n     | S       | T ext | S yellow, red text
//   row 2  n     | S       | +join | S
class CellLookTest : public SheetFixture {
 protected:
  std::unique_ptr<cuiSheet> Sheet(const std::string& style = "(FixedRows=1)(FixedCols=1)(ColorSelectLine)",
                                  std::optional<PrintTarget> print = std::nullopt) {
    UseSheet(style, {"t|h1|h2|h3", "n|{($Sel)(%CL_Mch_Dup[1])}own|{T}ext|{($Sel)(Color=clYellow)(Font=,,clRed,,,,)}y",
                     "n|{($Sel)X}a|{+B}joined|{($Sel)Q}c"});
    std::unique_ptr<cuiSheet> sheet = Make();
    sheet->SetPrintTarget(print);
    EXPECT_TRUE(sheet->Build());
    for (int column = 0; column < sheet->Columns(); ++column) sheet->SetColumnWidth(column, 100);
    auto& geometry = const_cast<SheetGeometry&>(sheet->Geometry());
    for (int column = 0; column < sheet->Columns(); ++column) geometry.SetColumnWidth(column, 100);
    for (int row = 0; row < sheet->Rows(); ++row) geometry.SetRowHeight(row, 40);
    sheet->SetCallback([this](cmcCellCapsule& request, bool) {
      request.displayText = "link" + std::to_string(request.cell->parameter);
      request.marks = marks;
      request.fontColour = fontColour;
      return 0;
    });
    return sheet;
  }
  CellLook Look(cuiSheet& sheet, Pos cell, bool focused = false, bool editorVisible = false) {
    LookSurroundings surroundings;
    surroundings.focused = focused;
    surroundings.editorVisible = editorVisible;
    surroundings.colours = kPalette;
    const CellRect rect{cell.column * 100, cell.row * 40, cell.column * 100 + 99, cell.row * 40 + 39};
    std::optional<CellLook> look = ComputeCellLook(sheet, cell, rect, surroundings, measurer_);
    EXPECT_TRUE(look.has_value());
    return look.value_or(CellLook{});
  }

  int marks = 0;
  std::optional<CellColour> fontColour;
};

TEST_F(CellLookTest, ScreenBackgroundsAndTextColours) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  ASSERT_TRUE(sheet->MakeCurrent(1, 1));
  struct Case {
    const char* what;
    Pos cell;
    bool focused;
    bool editor;
    CellColour background;
    CellColour text;
  };
  const Case cases[] = {
      {"current, focused", {1, 1}, true, false, clHighlight, clHighlightText},
      {"current, unfocused", {1, 1}, false, false, kInactive, clWindowText},
      {"current under the editor", {1, 1}, true, true, kSelectLine, clWindowText},
      {"extension of the current", {2, 1}, true, false, clHighlight, clHighlightText},
      {"current row", {3, 1}, true, false, kSelectLine, kRed},
      {"current row, fixed column", {0, 1}, true, false, clWindow, clWindowText},
      {"another row", {1, 2}, true, false, clWindow, clWindowText},
      {"fixed row", {1, 0}, true, false, clWindow, clWindowText},
  };
  for (const Case& c : cases) {
    const CellLook look = Look(*sheet, c.cell, c.focused, c.editor);
    EXPECT_EQ(look.background, c.background) << c.what;
    EXPECT_EQ(look.text, c.text) << c.what;
  }
  ASSERT_TRUE(sheet->MakeCurrent(3, 1));
  EXPECT_EQ(Look(*sheet, {3, 1}, false, false).text, kRed);              // red stays on the inactive selection
  EXPECT_EQ(Look(*sheet, {2, 1}, true, false).background, kSelectLine);  // an extension of another cell
}

TEST_F(CellLookTest, WithoutColorSelectLineOrInADropDownTheRowKeepsItsColours) {
  std::unique_ptr<cuiSheet> plain = Sheet("(FixedRows=1)(FixedCols=1)");
  ASSERT_TRUE(plain->MakeCurrent(1, 1));
  EXPECT_EQ(Look(*plain, {3, 1}).background, kYellow);
  std::unique_ptr<cuiSheet> dropDown = Sheet();
  dropDown->SetDropDown(true);
  ASSERT_TRUE(dropDown->MakeCurrent(1, 1));
  EXPECT_EQ(Look(*dropDown, {3, 1}).background, kYellow);
  // A drop-down shows its choice highlighted even without the focus.
  EXPECT_EQ(Look(*dropDown, {1, 1}, false, false).background, clHighlight);
}

TEST_F(CellLookTest, TextColoursThatWouldFadeOnTheInactiveSelectionBecomeWindowColour) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  ASSERT_TRUE(sheet->MakeCurrent(1, 1));
  const std::pair<CellColour, CellColour> cases[] = {{clBtnFace, clWindow},  {0x00C0C0C0, clWindow},
                                                     {clGrayText, clWindow}, {kInactive, clWindow},
                                                     {kRed, kRed},           {clWindowText, clWindowText}};
  for (const auto& [given, shown] : cases) {
    fontColour = given;
    EXPECT_EQ(Look(*sheet, {1, 1}, false, false).text, shown) << std::hex << given;
    EXPECT_EQ(Look(*sheet, {1, 1}, true, false).text, clHighlightText) << std::hex << given;
  }
}

TEST_F(CellLookTest, PrintedCellsAreWhiteOrDarkGreyWithBlackOrWhiteLines) {
  std::unique_ptr<cuiSheet> sheet = Sheet("(FixedRows=1)(FixedCols=1)(ColorSelectLine)", PrintTarget{});
  ASSERT_TRUE(sheet->MakeCurrent(1, 1));
  const CellLook window = Look(*sheet, {1, 1}, true, false);  // current: not shown in print
  EXPECT_FALSE(window.selected);
  EXPECT_EQ(window.background, clWhite);
  EXPECT_EQ(window.text, clBlack);
  EXPECT_EQ(window.border, clBlack);
  const CellLook yellow = Look(*sheet, {3, 1});
  EXPECT_EQ(yellow.background, 0x00606060u);
  EXPECT_EQ(yellow.text, clWhite);
  EXPECT_EQ(yellow.border, clWhite);
}

TEST_F(CellLookTest, ScreenLinesAreGreyOnWindowCellsAndWhiteOnColouredOnes) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  EXPECT_EQ(Look(*sheet, {1, 2}).border, 0x00808080u);
  EXPECT_EQ(Look(*sheet, {3, 1}).border, clWhite);
  // A right line is left out where the next cell is joined to this one.
  EXPECT_EQ(Look(*sheet, {1, 2}).rightLine, CellLook::RightLine::kNone);
  EXPECT_EQ(Look(*sheet, {3, 2}).rightLine, CellLook::RightLine::kTick);
}

TEST_F(CellLookTest, AJoinedCellIsDrawnWithTheCellOnItsLeft) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  const CellLook joined = Look(*sheet, {2, 2});
  EXPECT_EQ(joined.drawn, (Pos{1, 2}));
  EXPECT_EQ(joined.rect, (CellRect{100, 80, 299, 119}));
  EXPECT_EQ(joined.rightLine, CellLook::RightLine::kFull);  // the owner's X
  EXPECT_FALSE(joined.bottomLine);                          // the owner's settings, not its own B
  ASSERT_EQ(joined.lines.size(), 1u);
  EXPECT_EQ(joined.lines[0].text, "a");
}

TEST_F(CellLookTest, TheLinksTextWinsOverTheDisplayText) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  EXPECT_EQ(Look(*sheet, {1, 1}).lines.at(0).text, "link1");
  EXPECT_EQ(Look(*sheet, {3, 1}).lines.at(0).text, "y");  // no link: its own text
}

class TextLayoutTest : public SheetFixture {};

TEST_F(TextLayoutTest, LinesArePlacedByTheAlignmentAndScale) {
  // Characters 8 wide, lines 16 high; cells 100 x 40.
  struct Case {
    const char* flags;
    const char* text;
    std::vector<std::pair<int, int>> starts;
  };
  const Case cases[] = {
      {"<~", "ab", {{4, 1}}},
      {"^-", "ab", {{42, 12}}},
      {">_", "ab", {{80, 22}}},
      {">_B", "ab", {{80, 21}}},  // one pixel higher over a bottom line
      {"<-", "ab\\ncdef", {{4, 4}, {4, 20}}},
      {">~", "abcdefghijklmn", {{0, 1}}},  // never left of the cell
  };
  for (const Case& c : cases) {
    UseSheet("", {std::string("{") + c.flags + "}" + c.text});
    std::unique_ptr<cuiSheet> sheet = Built();
    const std::optional<CellLook> look = ComputeCellLook(*sheet, {0, 0}, CellRect{0, 0, 99, 39}, {}, measurer_);
    ASSERT_TRUE(look) << c.flags;
    std::vector<std::pair<int, int>> starts;
    for (const CellLook::Line& line : look->lines) starts.emplace_back(line.x, line.y);
    EXPECT_EQ(starts, c.starts) << c.flags << " " << c.text;
  }
}

TEST_F(TextLayoutTest, PrintedOffsetsScale) {
  UseSheet("", {"{<~}ab|{>_}cd"});
  std::unique_ptr<cuiSheet> sheet = Make();
  sheet->SetPrintTarget(PrintTarget{});  // 600 over 96: 6.25
  ASSERT_TRUE(sheet->Build());
  const CellRect rect{0, 0, 999, 399};
  EXPECT_EQ(ComputeCellLook(*sheet, {0, 0}, rect, {}, measurer_)->lines.at(0).x, 25);
  EXPECT_EQ(ComputeCellLook(*sheet, {0, 0}, rect, {}, measurer_)->lines.at(0).y, 6);
  const CellLook right = *ComputeCellLook(*sheet, {1, 0}, rect, {}, measurer_);
  EXPECT_EQ(right.lines.at(0).x, 1000 - 16 - 25);
  EXPECT_EQ(right.lines.at(0).y, 399 - 16 - 6);
  EXPECT_EQ(ComputeCellLook(*sheet, {0, 0}, CellRect{0, 0, -1, 399}, {}, measurer_), std::nullopt);
  EXPECT_EQ(ComputeCellLook(*sheet, {5, 0}, rect, {}, measurer_), std::nullopt);
}

TEST_F(CellLookTest, MarksAreACrossOrATriangleWhereTheLinkAsks) {
  std::unique_ptr<cuiSheet> sheet = Sheet();
  // Cell (1,1): left-aligned "link1" (40 wide) from x 104; the cell spans 100 to 199, 40 to 79.
  struct Case {
    int marks;
    CellLook::Mark mark;
    int x;
  };
  const Case cases[] = {
      {0, CellLook::Mark::kNone, 0},
      {cellmark::kWarning, CellLook::Mark::kWarning, 144},                   // after the text
      {cellmark::kError | cellmark::kWarning, CellLook::Mark::kCross, 144},  // the error wins
      {cellmark::kError | markplace::kLeft, CellLook::Mark::kCross, 102},    // left + 16 / 8
      {cellmark::kError | markplace::kRight, CellLook::Mark::kCross, 199 - 16 - 1},
      {cellmark::kError | markplace::kAfterText, CellLook::Mark::kCross, 144},
  };
  for (const Case& c : cases) {
    marks = c.marks;
    const CellLook look = Look(*sheet, {1, 1});
    EXPECT_EQ(look.mark, c.mark) << c.marks;
    if (c.mark == CellLook::Mark::kNone) continue;
    EXPECT_EQ(look.markRect, (CellRect{c.x, 79 - 16, c.x + 15, 78})) << c.marks;
  }
}

TEST_F(TextLayoutTest, AMarkAfterALongTextStopsAtTheRightEdgeAndRightAlignedCellsPutItLeft) {
  UseSheet("", {"{(%CL_Mch_Dup[1])}|{>(%CL_Mch_Dup[2])}"});
  std::unique_ptr<cuiSheet> sheet = Built();
  sheet->SetCallback([](cmcCellCapsule& request, bool) {
    request.displayText = "a long text over the edge";
    request.marks = cellmark::kWarning;
    return 0;
  });
  const CellRect rect{0, 0, 99, 39};
  EXPECT_EQ(ComputeCellLook(*sheet, {0, 0}, rect, {}, measurer_)->markRect.left, 99 - 16 - 1);
  EXPECT_EQ(ComputeCellLook(*sheet, {1, 0}, rect, {}, measurer_)->markRect.left, 2);
  sheet->SetPrintTarget(PrintTarget{});
  ASSERT_TRUE(sheet->Build());
  // Printed marks are half the cell's height.
  EXPECT_EQ(ComputeCellLook(*sheet, {1, 0}, rect, {}, measurer_)->markRect.Height(), 20);
}

TEST_F(TextLayoutTest, AutoFitTakesTheWidestTextOfTheColumn) {
  UseSheet("(FixedRows=2)", {"{W}head|x", "wide heading|{+}joined", "{(%CL_Mch_Dup[1])}|x", "{(%CL_Mch_Dup[2])}|x"});
  std::unique_ptr<cuiSheet> sheet = Built();
  std::map<int, std::string> texts = {{1, "abc"}, {2, "a\nabcdefg"}};
  sheet->SetCallback([&](cmcCellCapsule& request, bool) {
    request.displayText = texts[request.cell->parameter];
    return 0;
  });
  // "head" (32); "wide heading" is joined by the next cell and left out; the
  // linked texts: 24 and the line "abcdefg" (56).
  EXPECT_EQ(AutoFitWidth(*sheet, 0, measurer_), 56 + 8);
  texts[2] = "";
  EXPECT_EQ(AutoFitWidth(*sheet, 0, measurer_), 32 + 8);
  EXPECT_EQ(AutoFitWidth(*sheet, 1, measurer_), 48 + 8);  // "joined" has no cell joined to it
}

}  // namespace

TEST_F(TextLayoutTest, GlyphCellsBecomeTrianglesOfTheirLitSegmentsOrTextWithoutShapes) {
  // Two segments filling a 10 x 10 square; the first is the pattern's top bit.
  const Segchar shapes = Segchar::Parse("1|(0,0)(10,0)(0,10)|\n1|(10,0)(10,10)(0,10)|\n");
  UseSheet("", {"{(%CL_Mch_Dup[1])}x"});
  const auto lookWith = [&](const Segchar* segchar) {
    segchar_ = segchar;
    std::unique_ptr<cuiSheet> sheet = Built();
    sheet->SetCallback([](cmcCellCapsule& request, bool) {
      request.displayText = "AB";
      if (request.painting) request.glyphs = std::vector<std::uint16_t>{2, 3};
      return 0;
    });
    return ComputeCellLook(*sheet, {0, 0}, CellRect{0, 0, 99, 39}, {}, measurer_);
  };
  const std::optional<CellLook> drawn = lookWith(&shapes);
  ASSERT_TRUE(drawn);
  EXPECT_TRUE(drawn->lines.empty());
  // 34 pixels high (3 spare above and below), a quarter of that between characters.
  ASSERT_EQ(drawn->glyphs.size(), 3u);
  const auto corner = [&](std::size_t triangle, std::size_t i) {
    const CellLook::Point p = drawn->glyphs[triangle][i];
    return std::make_pair(p.x, p.y);
  };
  EXPECT_EQ(corner(0, 0), std::make_pair(4.0, 3.0));
  EXPECT_EQ(corner(0, 2), std::make_pair(4.0, 37.0));
  EXPECT_EQ(corner(1, 0), std::make_pair(4.0 + 42.5, 3.0));
  EXPECT_EQ(corner(2, 1), std::make_pair(4.0 + 42.5 + 34, 37.0));

  // A cell too narrow for the row at full height gets smaller glyphs that all fit.
  segchar_ = &shapes;
  std::unique_ptr<cuiSheet> narrowSheet = Built();
  narrowSheet->SetCallback([](cmcCellCapsule& request, bool) {
    request.displayText = "AB";
    if (request.painting) request.glyphs = std::vector<std::uint16_t>{2, 3};
    return 0;
  });
  const std::optional<CellLook> narrow = ComputeCellLook(*narrowSheet, {0, 0}, CellRect{0, 0, 39, 39}, {}, measurer_);
  ASSERT_TRUE(narrow);
  ASSERT_EQ(narrow->glyphs.size(), 3u);
  for (const CellLook::Triangle& triangle : narrow->glyphs) {
    for (const CellLook::Point& p : triangle) {
      EXPECT_GE(p.x, 4.0);
      EXPECT_LE(p.x, 36.0);
    }
  }

  const std::optional<CellLook> plain = lookWith(nullptr);
  ASSERT_TRUE(plain);
  EXPECT_TRUE(plain->glyphs.empty());
  ASSERT_EQ(plain->lines.size(), 1u);
  EXPECT_EQ(plain->lines[0].text, "AB");
}

TEST_F(TextLayoutTest, AColumnOfGlyphNamesIsWideEnoughForThemAtTheRowsHeight) {
  // A square glyph: each character is as wide as the row's glyph height.
  const Segchar shapes = Segchar::Parse("1|(0,0)(10,0)(0,10)|\n1|(10,0)(10,10)(0,10)|\n");
  UseSheet("", {"{(%CL_Mch_Dup[1])}x|{($Sel)}plain"});
  const auto widths = [&](const Segchar* segchar) {
    segchar_ = segchar;
    std::unique_ptr<cuiSheet> sheet = Make();
    sheet->SetCallback([](cmcCellCapsule& request, bool) {
      request.displayText = "ABCDEFGH";
      if (request.painting) request.glyphs = std::vector<std::uint16_t>(8, 3);
      return 0;
    });
    EXPECT_TRUE(sheet->Build());
    const int rowHeight = sheet->Geometry().RowHeight(0);
    return std::make_tuple(sheet->Geometry().ColumnWidth(0), sheet->Geometry().ColumnWidth(1), rowHeight);
  };
  const auto [glyphColumn, plainColumn, rowHeight] = widths(&shapes);
  const double height = GlyphHeight(rowHeight, 1);
  EXPECT_EQ(GlyphCellWidth(shapes, 8, rowHeight, 1), static_cast<int>(std::ceil(8 * height + 7 * height / 4)) + 8);
  EXPECT_GE(glyphColumn, GlyphCellWidth(shapes, 8, rowHeight, 1));
  const auto [withoutShapes, plainWithout, rowWithout] = widths(nullptr);
  EXPECT_LT(withoutShapes, glyphColumn);
  EXPECT_EQ(plainColumn, plainWithout);  // a column without glyphs keeps its width
  (void)rowWithout;
}
