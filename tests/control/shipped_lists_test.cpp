#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/itemlist.h"
#include "control/navtree.h"
#include "core/gtex.h"
#include "markup/cellparser.h"
#include "markup/ids.h"
#include "sheet/sheetfactory.h"
#include "support/fatal_trap.h"

namespace {

class ShippedListsTest : public testing::Test {
 protected:
  void SetUp() override { overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL"); }

  FatalTrap trap_;
  cmcGTex overlay_;
  CellParser parser_{overlay_};
};

TEST_F(ShippedListsTest, TheMainMenuHasItsEightMenus) {
  const ItemList menu = itemlist::Read(overlay_, parser_, "GI_Menu_Main");
  std::vector<std::string> captions;
  for (const ItemNode& item : menu.items) captions.push_back(DisplayTextOf(item.cell));
  EXPECT_EQ(captions,
            (std::vector<std::string>{"&File", "&Edit", "&View", "&Port", "&Clone", "&Model", "&Help", "&Language"}));
  // The File menu offers the ten recent files, each naming its place.
  int recent = 0;
  for (const ItemNode& item : menu.items[0].children) {
    if (item.cell.link == cl::CL_Menu_File_Recent) {
      EXPECT_EQ(item.cell.parameter, recent++);
    }
  }
  EXPECT_EQ(recent, 10);
}

TEST_F(ShippedListsTest, TheToolBarIsOneRowOfButtonsWithImages) {
  const ToolBarLayout bar = ToolBarLayout::Read(overlay_, parser_, "GI_ToolBar_Main");
  ASSERT_EQ(bar.rows.size(), 1u);
  for (const ToolBarLayout::Entry& entry : bar.rows[0]) {
    if (!entry.separator) {
      EXPECT_GE(entry.cell.imageIndex, 0) << DisplayTextOf(entry.cell);
    }
  }
}

TEST_F(ShippedListsTest, EveryTreeNodeOfEveryModelOpensASheetThatExists) {
  NavTree tree(overlay_, parser_, "GI_Tree_Main");
  for (ModelType type : kAllModelTypes) {
    for (bool extended : {false, true}) {
      TreeFacts facts;
      facts.modelType = type;
      facts.extendedMode = extended;
      tree.Rebuild();
      const std::size_t banks = tree.Refresh(facts).size();
      EXPECT_EQ(banks, IsDpmr446(type) && !extended ? 7u : 8u);
      for (TreeNode* node : tree.Nodes()) {
        if (node->cell.link != cl::CallSheet || !node->cell.argument) continue;
        EXPECT_EQ(SheetRefProblem(SheetRef::Parse(*node->cell.argument), overlay_), std::nullopt)
            << *node->cell.argument;
      }
    }
  }
}

}  // namespace
