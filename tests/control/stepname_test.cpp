#include "control/stepname.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "links/cellcapsule.h"
#include "markup/ids.h"
#include "sheet/sheet_fixture.h"

namespace {

TEST(StepName, AMenuItemIsNamedByItsTextWithoutDotsOrAccelerators) {
  struct Case {
    const char* line;
    const char* link;
    const char* text;
  };
  const Case cases[] = {
      {"+Paste\t{(%CT_PopupMenu.CL_PMenu_Paste:Ctrl+V)}", "CL_PMenu_Paste", "Paste"},
      {"+Delete...\t{(%CT_PopupMenu.CL_PMenu_Delete:Ctrl+Del)}", "CL_PMenu_Delete", "Delete"},
      {" +&Move  up\t{(%CT_PopupMenu.CL_PMenu_CarryUp)}", "CL_PMenu_CarryUp", "Move up"},
      {"+Paste\t{(%CT_PopupMenu.CL_PMenu_Paste:Ctrl+V)}", "CL_PMenu_Past", ""},  // a name only in part
      {"+Copy\t{(%CT_PopupMenu.CL_PMenu_Copy)}", "CL_PMenu_Paste", ""},
      {"CL_PMenu_Paste without an item mark", "CL_PMenu_Paste", ""},
      {"+Paste\t{(%CT_PopupMenu.CL_PMenu_Paste)}", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MenuItemText(c.line, c.link), c.text) << c.line;
}

TEST(StepName, ACommandTakesItsShippedMenuTextAndAnythingElseTheGeneralWord) {
  setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
  cmcGTex overlay;
  overlay.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
  const std::string general = overlay.GetLine("GI_AppInd_UndoStep", 0);
  ASSERT_FALSE(general.empty());

  cmcCellObj cell;
  cell.type = ct::CT_Mch;
  cell.link = cl::CL_Mch_Text_Pmr;
  cell.popupMenu = "GI_PMenu_Mch";
  cmcCellCapsule request;
  request.cell = &cell;
  request.menuCommand = cl::CL_PMenu_CarryDown;
  EXPECT_EQ(StepName(overlay, request, {}), "Move down");
  request.menuCommand = cl::CL_PMenu_Delete;
  EXPECT_EQ(StepName(overlay, request, {}), "Delete");
  cell.popupMenu = "GI_PMenu_NoSuchMenu";
  EXPECT_EQ(StepName(overlay, request, {}), general);
  request.menuCommand = 0;  // a typed value on no sheet
  EXPECT_EQ(StepName(overlay, request, {}), general);
  unsetenv("RWQ_DATA_DIR");
}

class StepNameOnASheet : public SheetFixture {
 protected:
  // The words for a value typed into the cell at (column, row) of `sheet`.
  std::string Typed(cuiSheet& sheet, int column, int row, std::span<cuiSheet* const> more = {}) {
    cmcCellCapsule request;
    request.cell = &sheet.CellAt(column, row)->cell;
    request.editResult = kTextCommitted;
    std::vector<cuiSheet*> sheets(more.begin(), more.end());
    sheets.push_back(&sheet);
    return StepName(*overlay_, request, sheets);
  }
};

TEST_F(StepNameOnASheet, AnEditIsNamedByItsColumnTitleOrItsRowLabel) {
  std::vector<std::string> blocks = {"#GI_AppInd_UndoStep", "Edit", "#"};
  const std::vector<std::string> titled = SheetBlocks(
      "GI_Columns", "(FixedRows=2)(FixedCols=1)", "{($Basic)}",
      {"{WH}No.|{WH}Receive  frequency|{WH}Name|{WH}", "{WH}|{WH}|{WH}&Short|{WH}",
       "{WH}1|{($Sel)(%CT_Mch.CL_Mch_FreqR[0])}|{($Sel)(%CT_Mch.CL_Mch_Text[0])}|{($Sel)(%CT_Mch.CL_Mch_Dup[0])}"});
  blocks.insert(blocks.end(), titled.begin(), titled.end());
  const std::vector<std::string> rows =
      SheetBlocks("GI_Rows", "(FixedCols=1)", "{($Basic)}",
                  {"{WH}Squelch level|{($Sel)(%CT_Null.CL_SetM_SqlLev)}", "{WH}|{($Sel)(%CT_Null.CL_SetM_BeepLev)}"});
  blocks.insert(blocks.end(), rows.begin(), rows.end());
  UseOverlay(blocks);
  std::unique_ptr<cuiSheet> columns = Built("GI_Columns");
  std::unique_ptr<cuiSheet> labelled = Built("GI_Rows");
  EXPECT_EQ(Typed(*columns, 1, 2), "Receive frequency");
  EXPECT_EQ(Typed(*columns, 2, 2), "Short");  // the title row nearest the cell
  EXPECT_EQ(Typed(*labelled, 1, 0), "Squelch level");
  EXPECT_EQ(Typed(*labelled, 1, 1), "Edit");  // no label, no title
  // The sheet that holds the cell names it, whichever comes first.
  cuiSheet* other[] = {columns.get()};
  EXPECT_EQ(Typed(*labelled, 1, 0, other), "Squelch level");
  EXPECT_EQ(Typed(*columns, 3, 2), "Edit");  // an empty title
}

}  // namespace
