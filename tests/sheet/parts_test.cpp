// The small parts a sheet is made of: references, style lines, groups, the
// row list with its loops, the geometry, the width rules and repaint criteria.

#include <gtest/gtest.h>

#include "markup/ids.h"
#include "runtime/events.h"
#include "sheet/columnwidths.h"
#include "sheet/groups.h"
#include "sheet/repaint.h"
#include "sheet/rowlist.h"
#include "sheet/sheetcontext.h"
#include "sheet/sheetgeometry.h"
#include "sheet/sheetref.h"
#include "sheet/sheetstyle.h"
#include "sheet_support.h"

namespace {

TEST(SheetRef, StyleNameAndKind) {
  struct Case {
    std::string text;
    std::string style, name, kind;
    std::optional<int> bank;
  };
  const Case cases[] = {
      {"[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3", "St_ChBank", "GI_Sheet_Mch_Lmr", "Bank 3", 3},
      {"[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0", "St_ChBank", "GI_Sheet_Mch_Pmr", "Bank 0", 0},
      {"GI_Sheet_TopPage", "", "GI_Sheet_TopPage", "", std::nullopt},
      {"[St_Common]GI_Sheet_Com", "St_Common", "GI_Sheet_Com", "", std::nullopt},
      {"GI_Sheet_Alias,MDC,x", "", "GI_Sheet_Alias", "MDC,x", std::nullopt},
      {"[St_ChBank]GI_S,Bank 7", "St_ChBank", "GI_S", "Bank 7", 7},
      {"[St_ChBank]GI_S,Bank 8", "St_ChBank", "GI_S", "Bank 8", std::nullopt},
      {"[St_ChBank]GI_S,Bank -1", "St_ChBank", "GI_S", "Bank -1", std::nullopt},
      {"[St_ChBank]GI_S,Bank 3x", "St_ChBank", "GI_S", "Bank 3x", std::nullopt},
      {"[St_ChBank]GI_S,Bank", "St_ChBank", "GI_S", "Bank", std::nullopt},
      {"[St_ChBank]GI_S,Bank 99999999999", "St_ChBank", "GI_S", "Bank 99999999999", std::nullopt},
      {"[St_ChBank", "", "", "", std::nullopt},  // an unclosed style names no sheet
      {"", "", "", "", std::nullopt},
  };
  for (const Case& c : cases) {
    const SheetRef ref = SheetRef::Parse(c.text);
    EXPECT_EQ(ref.style, c.style) << c.text;
    EXPECT_EQ(ref.name, c.name) << c.text;
    EXPECT_EQ(ref.kind, c.kind) << c.text;
    EXPECT_EQ(ref.Bank(), c.bank) << c.text;
    if (!ref.name.empty()) {
      EXPECT_EQ(SheetRef::Parse(ref.Text()), ref) << c.text;
    }
  }
  EXPECT_EQ(StyleBlock("GI_A"), "GI_A_Style");
  EXPECT_EQ(BasicCellBlock("GI_A"), "GI_A_BasicCell");
  EXPECT_EQ(CellsBlock("GI_A"), "GI_A_Cells");
}

TEST(SheetStyle, KeysTakeEffectAndOthersAreIgnored) {
  struct Case {
    std::string line;
    std::function<bool(const SheetStyle&)> holds;
  };
  using M = SheetStyle::MultiSelect;
  const Case cases[] = {
      {"(TitleString=Memory channels)", [](const SheetStyle& s) { return s.title == "Memory channels"; }},
      {"(TitleString=)", [](const SheetStyle& s) { return !s.title; }},
      {"(TitleColor=clRed)", [](const SheetStyle& s) { return s.titleColour == 0x000000FFu; }},
      {"(TitleColor=clred)", [](const SheetStyle& s) { return s.titleColour == clGrayText; }},
      {"(TitleFont=,Arial,clRed,,12,fsBold,)",
       [](const SheetStyle& s) { return s.titleFont && s.titleFont->face == "Arial" && s.titleFont->size == 12; }},
      {"(FixedCols=2)(FixedRows=3)", [](const SheetStyle& s) { return s.fixedColumns == 2 && s.fixedRows == 3; }},
      {"(FixedRows=-4)", [](const SheetStyle& s) { return s.fixedRows == 0; }},
      {"(NoPrint)", [](const SheetStyle& s) { return !s.printable; }},
      {"(NoPrintPlease)", [](const SheetStyle& s) { return s.printable; }},
      {"(PrintFontRatio=80)", [](const SheetStyle& s) { return s.printFontRatio == 80; }},
      {"(MultiSelect=Cell)", [](const SheetStyle& s) { return s.multiSelect == M::kCell; }},
      {"(MultiSelect=Line)", [](const SheetStyle& s) { return s.multiSelect == M::kLine; }},
      {"(MultiSelect=Cells)", [](const SheetStyle& s) { return s.multiSelect == M::kNone; }},
      {"(ColSizing)(ColorSelectLine)", [](const SheetStyle& s) { return s.columnsSizable && s.colourSelectLine; }},
      {"(Unknown=1)FixedRows=2(FixedRows", [](const SheetStyle& s) { return s.fixedRows == 0 && s.printable; }},
      {"C(FixedRows=1)", [](const SheetStyle& s) { return s.listKind == 'C' && s.fixedRows == 1; }},
      {"(FixedRows=1)", [](const SheetStyle& s) { return s.listKind == '('; }},
      {"", [](const SheetStyle& s) { return s.listKind == '\0' && s.printable && !s.title; }},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.holds(SheetStyle::Read(c.line))) << c.line;
}

TEST(ControlGroups, WordAndCount) {
  struct Case {
    std::string group;
    std::string word;
    std::optional<int> count;
  };
  const Case cases[] = {{"Only_Pmr 2", "Only_Pmr", 2}, {"LoopFrom", "LoopFrom", std::nullopt},
                        {"LoopFrom 3", "LoopFrom", 3}, {"Only_Lmr x", "Only_Lmr", std::nullopt},
                        {"Never -5", "Never", 0},      {"Only_Print  7 lines", "Only_Print", 7}};
  for (const Case& c : cases) {
    const ControlGroup group = ParseControlGroup(c.group);
    EXPECT_EQ(group.word, c.word) << c.group;
    EXPECT_EQ(group.count, c.count) << c.group;
  }
  std::vector<std::string> seen;
  ForEachGroup(":(a 1)x(b)(c", [&](std::string_view g) { seen.emplace_back(g); });
  EXPECT_EQ(seen, (std::vector<std::string>{"a 1", "b"}));
}

std::vector<std::size_t> Lines(const RowList& list) {
  std::vector<std::size_t> lines;
  for (const RowEntry& row : list.Rows()) lines.push_back(row.line);
  return lines;
}

TEST(RowList, LoopsRepeatTheirBodyRowsWithTheirOwnLines) {
  RowList list(100);
  list.Add({0, true});
  list.OpenLoop(3);
  list.Add({2, true});
  list.Add({4, false});  // line 3 was a control line inside the body
  list.CloseLoop();
  list.Add({6, true});
  EXPECT_EQ(Lines(list), (std::vector<std::size_t>{0, 2, 4, 2, 4, 2, 4, 6}));
  EXPECT_FALSE(list.Rows()[4].multiSelect);
  EXPECT_FALSE(list.Overflowed());

  RowList none(100);
  none.Add({0, true});
  none.OpenLoop(0);
  none.Add({2, true});
  none.CloseLoop();
  none.CloseLoop();  // no open loop: nothing
  EXPECT_EQ(Lines(none), (std::vector<std::size_t>{0}));

  RowList restarted(100);
  restarted.OpenLoop(2);
  restarted.Add({1, true});
  restarted.OpenLoop(2);  // abandons the first loop: its row stays once
  restarted.Add({3, true});
  restarted.CloseLoop();
  EXPECT_EQ(Lines(restarted), (std::vector<std::size_t>{1, 3, 3}));
}

TEST(RowList, NeverGrowsPastItsLimit) {
  RowList list(10);
  list.OpenLoop(2147483647);
  list.Add({1, true});
  list.CloseLoop();
  EXPECT_TRUE(list.Overflowed());
  EXPECT_EQ(list.Rows().size(), 1u);
  RowList full(2);
  for (std::size_t line = 0; line < 3; ++line) full.Add({line, true});
  EXPECT_EQ(full.Rows().size(), 2u);
  EXPECT_TRUE(full.Overflowed());
}

TEST(SheetGeometry, SizesFixedPartsAndTheVisibleRange) {
  SheetGeometry geometry;
  geometry.Reset(4, 5, 1, 1);
  EXPECT_EQ(geometry.TotalWidth(), 4);
  geometry.SetFixed(9, 2);
  EXPECT_EQ(geometry.FixedColumns(), 3);  // never all of them
  EXPECT_EQ(geometry.FixedRows(), 2);
  geometry.SetFixed(1, 1);
  for (int c = 0; c < 4; ++c) geometry.SetColumnWidth(c, 100);
  geometry.WidenColumn(0, 50);  // never narrows
  geometry.WidenColumn(1, 150);
  geometry.SetColumnWidth(2, -7);
  geometry.SetColumnWidth(9, 3);  // outside: ignored
  EXPECT_EQ(geometry.ColumnWidth(0), 100);
  EXPECT_EQ(geometry.ColumnWidth(1), 150);
  EXPECT_EQ(geometry.ColumnWidth(2), 0);
  EXPECT_EQ(geometry.ColumnWidth(9), 0);
  EXPECT_EQ(geometry.FixedWidth(), 100);
  for (int r = 0; r < 5; ++r) geometry.SetRowHeight(r, 20);
  // Fixed first, then from the first scrolled one while the area lasts.
  EXPECT_EQ(geometry.VisibleColumns(2, 250), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(geometry.VisibleColumns(0, 101), (std::vector<int>{0, 1}));
  EXPECT_EQ(geometry.VisibleRows(3, 50), (std::vector<int>{0, 3, 4}));
  EXPECT_EQ(geometry.VisibleRows(0, 0), (std::vector<int>{}));
}

TEST(ColumnWidths, ScreenLimitsRestoredWidthsAndThePrinter) {
  struct Case {
    int width, client, fixed, limited;
  };
  const Case cases[] = {
      {5, 1000, 100, 10},   {300, 1000, 100, 300}, {900, 1000, 100, 650},
      {800, 500, 100, 400}, {300, 100, 95, 10},  // a narrow window: the upper limit stays at the minimum
      {900, 0, 0, 650},                          // not laid out yet
  };
  for (const Case& c : cases) EXPECT_EQ(colwidth::Limit(c.width, c.client, c.fixed), c.limited) << c.width;
  EXPECT_EQ(colwidth::LimitRestored(900), 650);
  EXPECT_EQ(colwidth::LimitRestored(5), 5);

  PrintTarget target;
  target.fontSizePoints = 10;
  target.fontPixelsPerInch = 600;
  target.screenPixelsPerInch = 96;
  // f = 10 x (600 / 96 x 16 / 16) x 0.1 = 6.25 at 100 %; T = 20 at 125 %.
  EXPECT_DOUBLE_EQ(colwidth::PrintFactor(target, 100), 6.25);
  EXPECT_DOUBLE_EQ(colwidth::PrintFactor(target, 125), 5.0);
  EXPECT_EQ(colwidth::Printed(10, 6.25), 63);  // 62.5 rounds up
  EXPECT_EQ(colwidth::Printed(3, 5.0), 15);
  EXPECT_GT(colwidth::PrintFactor(target, 1), 0);  // a tiny font size never divides by zero
  EXPECT_EQ(colwidth::SubKey("Mch_Lmr"), "Display\\Mch_Lmr\\colwidth");
}

TEST(ColumnWidthList, KeysOfTheListedSheets) {
  auto overlay = MemoryOverlay({"#GI_CellWidthRegList", "GI_Sheet_A:KeyA", "GI_Sheet_B:", "GI_Sheet_A:Second",
                                "GI_Sheet_C:KeyC", "", "GI_Sheet_D:KeyD", "#"});
  const ColumnWidthList list(*overlay);
  EXPECT_EQ(list.SubKeyOf("GI_Sheet_A"), "Display\\KeyA\\colwidth");
  EXPECT_EQ(list.SubKeyOf("GI_Sheet_B"), std::nullopt);  // an empty key keeps nothing
  EXPECT_EQ(list.SubKeyOf("GI_Sheet_C"), "Display\\KeyC\\colwidth");
  EXPECT_EQ(list.SubKeyOf("GI_Sheet_D"), std::nullopt);  // after the empty line
  EXPECT_EQ(list.SubKeyOf("GI_Sheet"), std::nullopt);
  EXPECT_EQ(list.AllSubKeys(), (std::vector<std::string>{"Display\\KeyA\\colwidth", "Display\\Second\\colwidth",
                                                         "Display\\KeyC\\colwidth"}));
  auto without = MemoryOverlay({"#GI_Other", "x", "#"});
  EXPECT_TRUE(ColumnWidthList(*without).AllSubKeys().empty());
}

TEST(RepaintCriteria, WhichCellsAChangeMatches) {
  cmcCellObj linked;
  linked.type = ct::CT_Mch;
  linked.link = cl::CL_Mch_Dup;
  linked.parameter = 5;
  cmcCellObj unlinked;
  unlinked.type = ct::CT_Mch;
  unlinked.parameter = 5;
  struct Case {
    std::uint32_t code;
    CellReference reference;
    bool linkedMatches, unlinkedMatches;
  };
  const Case cases[] = {
      {ev::kCellsChangedAll, {}, true, false},
      {ev::kCellsChangedByType, {ct::CT_Mch, 0, 0}, true, true},
      {ev::kCellsChangedByType, {ct::CT_Null, 0, 0}, false, false},
      {ev::kCellsChangedByLink, {0, cl::CL_Mch_Dup, 0}, true, false},
      {ev::kCellsChangedByLink, {0, cl::CL_Mch_Tone, 0}, false, false},
      {ev::kCellsChangedByParameter, {0, 0, 5}, true, false},
      {ev::kCellsChangedByParameter, {0, 0, 4}, false, false},
      {ev::kCellsChangedUpToParameter, {0, 0, 5}, true, false},
      {ev::kCellsChangedUpToParameter, {0, 0, 4}, false, false},
      {ev::kCellsChangedFromParameter, {0, 0, 5}, true, false},
      {ev::kCellsChangedFromParameter, {0, 0, 6}, false, false},
  };
  for (const Case& c : cases) {
    const std::optional<RepaintCriterion> criterion = RepaintCriterionOf(c.code);
    ASSERT_TRUE(criterion) << c.code;
    EXPECT_EQ(NeedsRepaint(*criterion, c.reference, linked), c.linkedMatches) << c.code;
    EXPECT_EQ(NeedsRepaint(*criterion, c.reference, unlinked), c.unlinkedMatches) << c.code;
  }
  EXPECT_EQ(RepaintCriterionOf(ev::kRefresh), std::nullopt);
}

}  // namespace
