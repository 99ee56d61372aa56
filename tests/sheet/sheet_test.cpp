#include "sheet/sheet.h"

#include <gtest/gtest.h>

#include "links/cellschanged.h"
#include "markup/ids.h"
#include "runtime/events.h"
#include "sheet_fixture.h"
#include "support/fatal_trap.h"

namespace {

using Lines = std::vector<std::size_t>;

class SheetTest : public SheetFixture {};

TEST_F(SheetTest, ControlLinesDecideWhichLinesBecomeRows) {
  struct Case {
    const char* what;
    ModelType model;
    std::vector<std::string> cells;
    Lines rows;
    std::vector<bool> multiSelect;  // checked when given
  };
  const Case cases[] = {
      {"a loop of three over two rows",
       ModelType::kLandMobile,
       {"title", ":(LoopFrom 3)", "a", "b", ":(LoopTo)", "end"},
       {0, 2, 3, 2, 3, 2, 3, 5},
       {}},
      {"a control line inside the loop body is never a row",
       ModelType::kLandMobile,
       {":(LoopFrom 2)", "a", ":(SelectOFF)", "b", ":(LoopTo)(SelectON)", "c"},
       {1, 3, 1, 3, 5},
       {true, false, true, false, true}},
      {"nested conditions on another model skip the inner one whole",
       ModelType::kLandMobile,
       {":(Only_DPmr446 3)", ":(Only_notDPmr446 1)", "x", "y", "z"},
       {4},
       {}},
      {"nested conditions on dPMR446 skip what the inner one says",
       ModelType::kDpmr446,
       {":(Only_DPmr446 3)", ":(Only_notDPmr446 1)", "x", "y", "z"},
       {3, 4},
       {}},
      {"a condition skips control lines too",
       ModelType::kLandMobile,
       {":(Only_DPmr446 2)", ":(LoopFrom 3)", "a", ":(LoopTo)", "b"},
       {4},
       {}},
      {"the same loop on dPMR446",
       ModelType::kDpmr446,
       {":(Only_DPmr446 2)", ":(LoopFrom 3)", "a", ":(LoopTo)", "b"},
       {2, 2, 2, 4},
       {}},
      {"a condition without a count changes nothing",
       ModelType::kLandMobile,
       {":(Only_DPmr446)", "a", "b"},
       {1, 2},
       {}},
      {"the EEDIT mode is off",
       ModelType::kLandMobile,
       {":(Only_EEDIT 1)", "a", ":(Only_notEEDIT 1)", "b", "c"},
       {3, 4},
       {}},
      {"a loop count of 0 still repeats once", ModelType::kLandMobile, {":(LoopFrom 0)", "a", ":(LoopTo)"}, {1}, {}},
      {"a loop left open ends with the block", ModelType::kLandMobile, {"a", ":(LoopFrom 2)", "b"}, {0, 2, 2}, {}},
      {"groups the base sheet does not know are ignored",
       ModelType::kLandMobile,
       {":(Only_Lmr 2)(Bogus 1)", "a", "b"},
       {1, 2},
       {}},
  };
  for (const Case& c : cases) {
    modes_.modelType = c.model;
    UseSheet("(MultiSelect=Line)", c.cells);
    std::unique_ptr<cuiSheet> sheet = Built();
    EXPECT_EQ(RowLines(*sheet), c.rows) << c.what;
    for (std::size_t r = 0; r < c.multiSelect.size() && r < sheet->RowEntries().size(); ++r) {
      EXPECT_EQ(sheet->RowEntries()[r].multiSelect, c.multiSelect[r]) << c.what << " row " << r;
      EXPECT_EQ(sheet->CellAt(0, static_cast<int>(r))->mayMultiSelect, c.multiSelect[r]) << c.what << " row " << r;
    }
  }
}

TEST_F(SheetTest, ASheetWithoutRowsOrCellsIsIllegal) {
  const std::vector<std::vector<std::string>> definitions = {
      {":(LoopFrom 2)", ":(LoopTo)"},
      {},
      {":(Only_DPmr446 1)", "a"},
      {":(LoopFrom 99999999)", "a", ":(LoopTo)"},  // more rows than a sheet may have
  };
  for (const std::vector<std::string>& cells : definitions) {
    UseSheet("", cells);
    faults_.clear();
    std::unique_ptr<cuiSheet> sheet = Make();
    EXPECT_FALSE(sheet->Build());
    EXPECT_EQ(faults_, (std::vector<std::string>{"Illegal Cell assign"}));
    EXPECT_EQ(sheet->Rows(), 0);
    EXPECT_EQ(sheet->CellAt(0, 0), nullptr);
  }
  // Without a handler of its own the fault is the fatal stop.
  UseSheet("", {":(SelectON)"});
  SheetServices services = Services();
  services.onFault = nullptr;
  cuiSheet sheet(services, SheetRef::Parse("GI_T"));
  EXPECT_EQ(FatalTextOf([&] { sheet.Build(); }), "Illegal Cell assign");
}

TEST_F(SheetTest, AMissingBlockOrABadCellIsAFaultOfTheDefinition) {
  UseOverlay({"#GI_T_Style", "", "#", "#GI_T_Cells", "a", "#"});
  std::unique_ptr<cuiSheet> missing = Make();
  EXPECT_FALSE(missing->Build());
  EXPECT_EQ(faults_, (std::vector<std::string>{"GTEX Error !\nThe index 'GI_T_BasicCell' was not found."}));
  faults_.clear();
  UseSheet("", {"{(%CL_Nope)}a", "{($Nowhere)}b"});
  EXPECT_FALSE(Make()->Build());
  EXPECT_EQ(faults_, (std::vector<std::string>{"Cannot use the specified cell.\n'CL_Nope'"}));
  faults_.clear();
  UseSheet("", {"a", "{($Nowhere)}b"});
  EXPECT_FALSE(Make()->Build());
  EXPECT_EQ(faults_, (std::vector<std::string>{"GTEX Error !\nThe index 'CellModel_Nowhere' was not found."}));
}

TEST_F(SheetTest, StyleSettingsReachTheGrid) {
  UseSheet("C(FixedRows=5)(FixedCols=1)(NoPrint)", {"a|b|c", "d", "e|f"});
  std::unique_ptr<cuiSheet> sheet = Built();
  EXPECT_EQ(sheet->Rows(), 3);
  EXPECT_EQ(sheet->Columns(), 3);  // the widest row
  EXPECT_EQ(sheet->Geometry().FixedRows(), 2);
  EXPECT_EQ(sheet->Geometry().FixedColumns(), 1);
  EXPECT_FALSE(sheet->IsPrintable());
  EXPECT_EQ(DisplayTextOf(sheet->CellAt(1, 2)->cell), "f");
  EXPECT_EQ(DisplayTextOf(sheet->CellAt(2, 1)->cell), "");  // a short row's cells stay empty
}

TEST_F(SheetTest, AOneLineLoopCountsTheParameterOnAndAMultiLineLoopParsesEachPass) {
  UseSheet(
      "", {"{(@ch0++)}No.|Dup", ":(LoopFrom 4)", "{($Sel)(%CT_Mch.CL_Mch_No[@ch0])}|{($Sel)(%CT_Mch.CL_Mch_Dup[@ch0])}",
           ":(LoopTo)", ":(LoopFrom 2)", "{(%CL_Mch_Tone[@ch1])}", "{(%CL_Mch_Dtcs[@ch1])(@ch1++)}", ":(LoopTo)"});
  std::unique_ptr<cuiSheet> sheet = Built();
  ASSERT_EQ(sheet->Rows(), 9);
  for (int row = 1; row <= 4; ++row) {
    EXPECT_EQ(sheet->CellAt(0, row)->cell.link, cl::CL_Mch_No);
    EXPECT_EQ(sheet->CellAt(0, row)->cell.parameter, row) << row;  // @ch0 was 1 after the title
    EXPECT_EQ(sheet->CellAt(1, row)->cell.parameter, row) << row;
    EXPECT_EQ(sheet->Geometry().RowHeight(row), sheet->Geometry().RowHeight(1));
  }
  const int links[] = {cl::CL_Mch_Tone, cl::CL_Mch_Dtcs, cl::CL_Mch_Tone, cl::CL_Mch_Dtcs};
  const int parameters[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(sheet->CellAt(0, 5 + i)->cell.link, links[i]);
    EXPECT_EQ(sheet->CellAt(0, 5 + i)->cell.parameter, parameters[i]);
  }
  // Every build starts the loop variables at 0 again, so a rebuild binds the same records.
  ASSERT_TRUE(sheet->Build());
  EXPECT_EQ(sheet->CellAt(0, 1)->cell.parameter, 1);
  EXPECT_EQ(sheet->CellAt(0, 8)->cell.parameter, 1);
}

TEST_F(SheetTest, AutomaticSizesFollowTheMeasuredText) {
  struct Case {
    const char* what;
    std::string name;
    std::optional<PrintTarget> printer;
    std::string cell;
    int width, height;
  };
  PrintTarget twice;
  twice.pixelsPerInch = 192;
  twice.screenPixelsPerInch = 96;
  const Case cases[] = {
      {"text width + 8, text height + 2 + 2.5 truncated", "GI_T", std::nullopt, "{WH}Hello", 48, 20},
      {"several lines", "GI_T", std::nullopt, "{WH}ab\\ncdef", 40, 36},
      {"only the width", "GI_T", std::nullopt, "{W}Hello", 48, 1},
      {"no automatic size keeps the default of 1", "GI_T", std::nullopt, "{}Hello", 1, 1},
      {"the top page sets its lines closer", "GI_Sheet_TopPage", std::nullopt, "{WH}Hello", 48, 18},
      {"on the printer the margins scale", "GI_T", twice, "{WH}Hello", 56, 22},
      {"and the default size is printer pixels per screen pixel", "GI_T", twice, "{}Hello", 2, 2},
  };
  for (const Case& c : cases) {
    UseOverlay(SheetBlocks(c.name, "", "{($Basic)}", {c.cell}));
    std::unique_ptr<cuiSheet> sheet = Make(c.name);
    sheet->SetPrintTarget(c.printer);
    ASSERT_TRUE(sheet->Build()) << c.what;
    EXPECT_EQ(sheet->Geometry().ColumnWidth(0), c.width) << c.what;
    EXPECT_EQ(sheet->Geometry().RowHeight(0), c.height) << c.what;
  }
}

TEST_F(SheetTest, TheBasicCellTakesTheFontSizeAndThePrintRatio) {
  struct Case {
    int fontSizePercent;
    int fontHeight;
    bool printing;
    int expected;
  };
  const Case cases[] = {
      {100, 0, false, -16}, {125, 0, false, -20}, {125, -30, false, -30}, {100, 0, true, -8}, {150, 0, true, -12},
  };
  for (const Case& c : cases) {
    modes_.fontSizePercent = c.fontSizePercent;
    UseSheet("(PrintFontRatio=50)", {"a"}, "{($Basic)(PopupMenu=GI_PMenu_Edit)}|ignored");
    std::unique_ptr<cuiSheet> sheet = Make();
    sheet->SetFontHeight(c.fontHeight);
    if (c.printing) sheet->SetPrintTarget(PrintTarget{});
    ASSERT_TRUE(sheet->Build());
    ASSERT_TRUE(sheet->BasicCell().font);
    EXPECT_EQ(sheet->BasicCell().font->height, c.expected) << c.fontSizePercent << ' ' << c.fontHeight;
    EXPECT_EQ(PopupMenuOf(sheet->CellAt(0, 0)->cell), "GI_PMenu_Edit");
  }
}

class StartingCellTest : public SheetTest {
 protected:
  void SetUp() override {
    UseSheet("(FixedRows=1)",
             {"A|B", "{($Sel)(%CL_Mch_No[0])}|{(%CL_Mch_Dup[0])}", "{($Sel)(%CL_Mch_No[1])}|{($Sel)(%CL_Mch_Dup[1])}",
              "{($Sel)(%CL_Mch_No[2])}|{($Sel)(%CL_Mch_Dup[2])}"});
  }
};

TEST_F(StartingCellTest, FocusSavedPositionOrTheFirstSelectableCell) {
  std::unique_ptr<cuiSheet> plain = Make();
  ASSERT_TRUE(plain->Show());
  EXPECT_EQ(plain->Current(), (cuiSheet::Position{0, 1}));
  EXPECT_EQ(plain->FirstSelectable(), (cuiSheet::Position{0, 1}));
  EXPECT_EQ(view_.wholeRepaints, 1);

  std::unique_ptr<cuiSheet> focused = Make();
  focused->SetFocus(cl::CL_Mch_Dup, 2);
  ASSERT_TRUE(focused->Show());
  EXPECT_EQ(focused->Current(), (cuiSheet::Position{1, 3}));

  // A saved position wins; it scrolls only where the grid is larger than the client.
  view_.client = {1000, 10};
  std::unique_ptr<cuiSheet> saved = Make();
  saved->SetFocus(cl::CL_Mch_Dup, 2);
  saved->SetViewPosition({{1, 2}, 1, 2});
  ASSERT_TRUE(saved->Show());
  EXPECT_EQ(saved->Current(), (cuiSheet::Position{1, 2}));
  EXPECT_EQ(saved->LeftColumn(), 0);
  EXPECT_EQ(saved->TopRow(), 2);
  EXPECT_EQ(view_.scrolledTo, (std::pair<int, int>{0, 2}));

  // One outside the grid is dropped; then the focus decides.
  std::unique_ptr<cuiSheet> outside = Make();
  outside->SetFocus(cl::CL_Mch_No, 1);
  outside->SetViewPosition({{5, 9}, 0, 0});
  ASSERT_TRUE(outside->Show());
  EXPECT_EQ(outside->Current(), (cuiSheet::Position{0, 2}));
  EXPECT_FALSE(outside->MakeCurrent(1, 1));  // not selectable
  EXPECT_FALSE(outside->MakeCurrent(7, 1));
  EXPECT_TRUE(outside->MakeCurrent(1, 3));
}

TEST_F(SheetTest, StoredWidthsOfListedSheetsWithTheirLimits) {
  const std::string key = "Display\\KeyT\\colwidth";
  const std::vector<std::string> definition = {"A|B|C|D", "{($Sel)}x|{($Sel)}yy|{W}z|{($Sel)}w"};
  UseOverlay([&] {
    std::vector<std::string> lines = SheetBlocks("GI_T", "(FixedRows=1)", "{($Basic)}", definition);
    const std::vector<std::string> other = SheetBlocks("GI_U", "(FixedRows=1)", "{($Basic)}", definition);
    lines.insert(lines.end(), other.begin(), other.end());
    lines.insert(lines.end(), {"#GI_CellWidthRegList", "GI_T:KeyT", "GI_Other:KeyO", "#"});
    return lines;
  }());
  store_.keys[key] = {{0, 900}, {1, -5}, {2, 300}, {3, 0}};
  store_.keys["Display\\KeyO\\colwidth"] = {{0, 50}};
  std::unique_ptr<cuiSheet> sheet = Built();
  const SheetGeometry& geometry = sheet->Geometry();
  EXPECT_EQ(geometry.ColumnWidth(0), 650);  // restored, at most 650
  EXPECT_EQ(geometry.ColumnWidth(1), 24);   // below 1 counts as absent: the automatic width
  EXPECT_EQ(geometry.ColumnWidth(2), 16);   // not selectable: not restored
  EXPECT_EQ(geometry.ColumnWidth(3), 16);
  // A build writes nothing: only the user's widths are kept.
  EXPECT_EQ(store_.keys[key], (ColumnWidthStore::Widths{{0, 900}, {1, -5}, {2, 300}, {3, 0}}));

  // The user's width: at least 10, at most the client beside the fixed columns,
  // never below 10 in a narrow window; a column that is not selectable is free.
  view_.client = {200, 200};
  sheet->SetColumnWidth(1, 2000);
  EXPECT_EQ(geometry.ColumnWidth(1), 200);
  sheet->SetColumnWidth(1, 3);
  EXPECT_EQ(geometry.ColumnWidth(1), 10);
  sheet->SetColumnWidth(2, 3);
  EXPECT_EQ(geometry.ColumnWidth(2), 3);
  EXPECT_EQ(store_.keys[key], (ColumnWidthStore::Widths{{0, 900}, {1, 10}, {2, 300}, {3, 0}}));

  // A sheet not listed neither restores nor stores.
  const auto before = store_.keys;
  std::unique_ptr<cuiSheet> unlisted = Built("GI_U");
  EXPECT_EQ(unlisted->Geometry().ColumnWidth(0), 16);
  EXPECT_EQ(store_.keys, before);

  // A reset deletes the widths of every listed sheet.
  std::unique_ptr<cuiSheet> reset = Make();
  reset->SetResetColumnWidths();
  ASSERT_TRUE(reset->Build());
  EXPECT_EQ(reset->Geometry().ColumnWidth(0), 16);
  EXPECT_FALSE(store_.keys.contains("Display\\KeyO\\colwidth"));
  EXPECT_FALSE(store_.keys.contains(key));
}

TEST_F(SheetTest, OnThePrinterStoredWidthsScaleAndNeverWidenAColumn) {
  UseOverlay([] {
    std::vector<std::string> lines =
        SheetBlocks("GI_T", "", "{($Basic)}",
                    {"{($Sel)}abcdefghij|{($Sel)}" + std::string(100, 'w') + "|{($Sel)}x|{($Sel)}abcdefghij"});
    lines.insert(lines.end(), {"#GI_CellWidthRegList", "GI_T:KeyT", "#"});
    return lines;
  }());
  store_.keys["Display\\KeyT\\colwidth"] = {{0, 8}, {1, 200}, {2, 0}, {3, 1}};
  const auto before = store_.keys;
  PrintTarget target;  // f = 6.25 at 100 %
  std::unique_ptr<cuiSheet> sheet = Make();
  sheet->SetPrintTarget(target);
  ASSERT_TRUE(sheet->Build());
  const SheetGeometry& geometry = sheet->Geometry();
  EXPECT_EQ(geometry.ColumnWidth(0), 50);  // 8 x 6.25, narrower than the 130 of its text
  // 200 x 6.25 would widen the 800 + 8 x 6.25 of its text; the screen's 650 does not apply.
  EXPECT_EQ(geometry.ColumnWidth(1), 850);
  EXPECT_EQ(geometry.ColumnWidth(2), 58);  // none stored
  EXPECT_EQ(geometry.ColumnWidth(3), 6);   // nor does the screen's minimum of 10
  sheet.reset();
  EXPECT_EQ(store_.keys, before);  // printing never stores
}

class RepaintTest : public SheetTest {
 protected:
  void SetUp() override {
    // Columns 48 pixels wide, rows 20 pixels high.
    UseSheet("(FixedRows=1)(FixedCols=1)",
             {"{WH}Title|{WH}Title|{WH}Title", "{WH(%CT_Mch.CL_Mch_No[0])}abcde|{WH(%CT_Mch.CL_Mch_Dup[0])}|{WH}plain",
              "{WH(%CT_Mch.CL_Mch_No[1])}|{WH(%CT_Mch.CL_Mch_Dup[1])}|{WH(%CT_Null.CL_Mch_Dup[1])}",
              "{WH(%CT_Mch.CL_Mch_No[2])}|{WH(%CT_Mch.CL_Mch_Dup[2])}|{WH(%CT_Null.CL_Mch_Dup[2])}",
              "{WH(%CT_Mch.CL_Mch_No[3])}|{WH(%CT_Mch.CL_Mch_Dup[3])}|{WH(%CT_Null.CL_Mch_Dup[3])}"});
    sheet_ = Built();
    view_.client = {90, 70};  // columns 0 and 1, rows 0 to 3 when not scrolled
  }
  using Cells = std::vector<std::pair<int, int>>;
  Cells Invalidated(RepaintCriterion criterion, CellReference reference) {
    view_.invalidated.clear();
    const int count = sheet_->Repaint(criterion, reference);
    EXPECT_EQ(count, static_cast<int>(view_.invalidated.size()));
    return view_.invalidated;
  }
  std::unique_ptr<cuiSheet> sheet_;
};

TEST_F(RepaintTest, EachCriterionRepaintsTheVisibleCellsItMatches) {
  using R = RepaintCriterion;
  EXPECT_EQ(Invalidated(R::kAll, {}), (Cells{{0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  EXPECT_EQ(Invalidated(R::kByType, {ct::CT_Mch, 0, 0}), (Cells{{0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  EXPECT_EQ(Invalidated(R::kByLink, {0, cl::CL_Mch_Dup, 0}), (Cells{{1, 1}, {1, 2}, {1, 3}}));
  EXPECT_EQ(Invalidated(R::kByParameter, {0, 0, 1}), (Cells{{0, 2}, {1, 2}}));
  EXPECT_EQ(Invalidated(R::kUpToParameter, {0, 0, 1}), (Cells{{0, 1}, {1, 1}, {0, 2}, {1, 2}}));
  EXPECT_EQ(Invalidated(R::kFromParameter, {0, 0, 2}), (Cells{{0, 3}, {1, 3}}));
  // Scrolled: the fixed column stays, the others move.
  sheet_->SetTopLeft(2, 3);
  EXPECT_EQ(Invalidated(R::kByParameter, {0, 0, 1}), (Cells{}));
  EXPECT_EQ(Invalidated(R::kByLink, {0, cl::CL_Mch_Dup, 0}), (Cells{{2, 3}, {2, 4}}));
  EXPECT_EQ(Invalidated(R::kFromParameter, {0, 0, 3}), (Cells{{0, 4}, {2, 4}}));
}

TEST_F(RepaintTest, CellsChangedEventsArriveThroughTheEventManager) {
  PostCellsChanged(events_, ev::kCellsChangedByLink, {0, cl::CL_Mch_No, 0});
  events_.Post(ev::kCellsChangedByLink, nullptr, 0);  // no reference: nothing to match
  events_.Post(ev::kCellsChangedAll, nullptr, 0);
  Pump();
  EXPECT_EQ(view_.invalidated, (Cells{{0, 1}, {0, 2}, {0, 3}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  sheet_.reset();
  view_.invalidated.clear();
  events_.Post(ev::kCellsChangedAll, nullptr, 0);
  Pump();
  EXPECT_TRUE(view_.invalidated.empty());  // a destroyed sheet hears nothing
}

TEST_F(SheetTest, ACellShowsItsLinksTextAndALinkCanOpenTheEditor) {
  UseSheet("", {"{(%CT_Mch.CL_Mch_Dup[4])}Own|Plain|{(%CT_Mch.CL_Mch_Tone[1])}"});
  std::unique_ptr<cuiSheet> sheet = Built();
  EXPECT_EQ(sheet->CellText(0, 0), "Own");  // no callback yet: the cell's own text
  std::vector<int> asked;
  sheet->SetCallback([&](cmcCellCapsule& request, bool notify) {
    asked.push_back(request.cell->link);
    EXPECT_FALSE(notify);
    request.displayText = "link " + std::to_string(request.cell->parameter);
    return 0;
  });
  EXPECT_EQ(sheet->CellText(0, 0), "link 4");
  EXPECT_EQ(sheet->CellText(1, 0), "Plain");
  EXPECT_EQ(sheet->CellText(2, 0), "link 1");
  EXPECT_EQ(sheet->CellText(9, 0), "");
  EXPECT_EQ(asked, (std::vector<int>{cl::CL_Mch_Dup, cl::CL_Mch_Tone}));

  sheet->SetCallback([](cmcCellCapsule& request, bool notify) {
    EXPECT_TRUE(notify);
    EXPECT_EQ(request.key, cellkey::kEvaluate);
    EXPECT_EQ(request.editResult, kTextCommitted);
    request.displayText = request.editedText + "0";
    request.caretPosition = 2;
    request.edit(request, kInCellEditor);
    return static_cast<int>(kInCellEditor);
  });
  EXPECT_EQ(sheet->CellAction(2, 0, '1', kNoCellLink, std::string("14")).editor, kInCellEditor);
  EXPECT_EQ(view_.editor, (std::pair<int, int>{2, 0}));
  EXPECT_EQ(view_.editorText, "140");
  EXPECT_EQ(view_.editorCaret, 2);
  EXPECT_EQ(sheet->CellAction(5, 5, '1').editor, kNoEditor);
}

TEST_F(SheetTest, ARebuildAskedForByACellActionWaitsForTheNextPump) {
  UseSheet("", {"{($Sel)(%CT_Mch.CL_Mch_WNM[0])}a", "{($Sel)(%CT_Mch.CL_Mch_WNM[1])}b"});
  std::unique_ptr<cuiSheet> sheet = Built();
  std::unique_ptr<cuiSheet> other = Built();
  const cmcCellObj* cellDuringAction = nullptr;
  bool pumpInside = false;
  sheet->SetCallback([&](cmcCellCapsule& request, bool) {
    request.changed(request, changebit::kEvaluated | changebit::kRebuildSheet);
    request.changed(request, changebit::kEvaluated | changebit::kRebuildSheet);  // asked twice: one rebuild
    // A message box shown by the link runs the pump; the cell must stay.
    if (pumpInside) Pump();
    cellDuringAction = request.cell;
    EXPECT_EQ(request.cell->link, cl::CL_Mch_WNM);
    return 0;
  });
  const int repaintsBefore = view_.wholeRepaints;
  sheet->CellAction(0, 1, ' ');
  EXPECT_TRUE(sheet->RebuildPending());
  EXPECT_EQ(cellDuringAction, &sheet->CellAt(0, 1)->cell);
  EXPECT_EQ(view_.wholeRepaints, repaintsBefore);
  Pump();
  EXPECT_FALSE(sheet->RebuildPending());
  EXPECT_EQ(view_.wholeRepaints, repaintsBefore + 1);  // the sheet rebuilt and repainted, the other did not
  EXPECT_TRUE(sheet->Built());

  pumpInside = true;
  sheet->CellAction(0, 1, ' ');
  EXPECT_EQ(view_.wholeRepaints, repaintsBefore + 1);  // not inside the action
  EXPECT_TRUE(sheet->RebuildPending());
  Pump();
  EXPECT_EQ(view_.wholeRepaints, repaintsBefore + 2);
  EXPECT_FALSE(other->RebuildPending());
}

}  // namespace
