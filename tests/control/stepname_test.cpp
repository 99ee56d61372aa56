#include "control/stepname.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "links/cellcapsule.h"
#include "markup/ids.h"

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
  EXPECT_EQ(StepName(overlay, request, nullptr), "Move down");
  request.menuCommand = cl::CL_PMenu_Delete;
  EXPECT_EQ(StepName(overlay, request, nullptr), "Delete");
  cell.popupMenu = "GI_PMenu_NoSuchMenu";
  EXPECT_EQ(StepName(overlay, request, nullptr), general);
  request.menuCommand = 0;  // a typed value on no sheet
  EXPECT_EQ(StepName(overlay, request, nullptr), general);
  unsetenv("RWQ_DATA_DIR");
}

}  // namespace
