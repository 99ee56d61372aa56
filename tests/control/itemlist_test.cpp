#include "control/itemlist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/itemdispatch.h"
#include "core/gtex.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/cellparser.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "sheet/headless.h"
#include "support/fatal_trap.h"

namespace {

// Cell models are not needed by these lists.
CellParser PlainParser() {
  return CellParser([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
}

// "A(B,C),D": captions with their sub-items in parentheses.
std::string Shape(const std::vector<ItemNode>& items) {
  std::string text;
  for (const ItemNode& item : items) {
    if (!text.empty()) text += ",";
    text += DisplayTextOf(item.cell);
    if (!item.children.empty()) text += "(" + Shape(item.children) + ")";
  }
  return text;
}

TEST(ItemLines, DepthIsWhatPrecedesThePlus) {
  EXPECT_EQ(itemlist::Depth("+A"), 0u);
  EXPECT_EQ(itemlist::Depth("  +A"), 2u);
  EXPECT_EQ(itemlist::Depth("ab+A+B"), 2u);
  EXPECT_EQ(itemlist::Depth("abc"), 3u);  // no '+': as deep as the line is long
  EXPECT_EQ(itemlist::Markup(" +A+B"), "A+B");
  EXPECT_EQ(itemlist::Markup("abc"), "");
}

TEST(ItemLines, NestByDepthAndEndOnAShallowerLine) {
  struct Case {
    std::vector<std::string> lines;
    std::string shape;
  };
  const Case cases[] = {
      {{"+A", "+B", "+C"}, "A,B,C"},
      {{"+A", " +B", "+C"}, "A(B),C"},                      // a deeper line is a sub-item; back to A's level
      {{"+A", " +B", "  +C", " +D", "+E"}, "A(B(C),D),E"},  // two levels down and back
      {{" +A", " +B", "+C", " +D"}, "A,B"},                 // a line shallower than the list ends it
      {{"+A", "   +B", " +C", "+D"}, "A(B,C),D"},           // a deeper level in between joins the item above
      {{}, ""},
  };
  const CellParser parser = PlainParser();
  cmcCellObj basic;
  for (const Case& c : cases) {
    EXPECT_EQ(Shape(itemlist::Nest(parser, c.lines, basic)), c.shape) << c.lines.size();
  }
}

TEST(ItemLines, ItemsInheritTheBasicCellAndALineWithoutPlusIsAPlainCopy) {
  cmcGTex overlay;
  overlay.OpenText(
      "#L_BasicCell\n{(%CT_Null.CL_Menu_File_New)(ImageIndex=4)}\n#\n"
      "#L_Body\n+First\t{(%CL_Menu_File_Open:Ctrl+O)}\nxx\n+Third\n#\n#End_Of_Ovl\n");
  const CellParser parser = PlainParser();
  const ItemList list = itemlist::Read(overlay, parser, "L");
  ASSERT_EQ(list.items.size(), 2u);  // "xx" is deeper: the first item's sub-item; "+Third" its sibling
  const ItemNode& first = list.items[0];
  EXPECT_EQ(DisplayTextOf(first.cell), "First");
  EXPECT_EQ(first.cell.link, cl::CL_Menu_File_Open);
  EXPECT_EQ(first.cell.argument, "Ctrl+O");
  EXPECT_EQ(first.cell.imageIndex, 4);
  EXPECT_EQ(first.cell.parent, list.basic.get());
  ASSERT_EQ(first.children.size(), 1u);
  const cmcCellObj& plain = first.children[0].cell;
  EXPECT_EQ(plain.link, cl::CL_Menu_File_New);
  EXPECT_EQ(plain.imageIndex, 4);
  EXPECT_EQ(DisplayTextOf(plain), "");
  EXPECT_EQ(DisplayTextOf(list.items[1].cell), "Third");
}

TEST(ToolBarRows, GapsAndLineBreaksFollowTheDisplayText) {
  const CellParser parser = PlainParser();
  const ToolBarLayout layout = ToolBarLayout::FromLines(
      parser, {"{(%CL_Menu_File_New)}A", "-", "{(ImageIndex=2)}B", "/", "C"}, "{(%CT_Null.)(ImageIndex=7)}");
  ASSERT_EQ(layout.rows.size(), 2u);
  ASSERT_EQ(layout.rows[0].size(), 3u);
  EXPECT_FALSE(layout.rows[0][0].separator);
  EXPECT_EQ(layout.rows[0][0].cell.link, cl::CL_Menu_File_New);
  EXPECT_EQ(layout.rows[0][0].cell.imageIndex, 7);  // from the basic cell
  EXPECT_TRUE(layout.rows[0][1].separator);
  EXPECT_EQ(DisplayTextOf(layout.rows[0][2].cell), "B");
  EXPECT_EQ(layout.rows[0][2].cell.imageIndex, 2);
  ASSERT_EQ(layout.rows[1].size(), 1u);
  EXPECT_EQ(DisplayTextOf(layout.rows[1][0].cell), "C");
}

// A small family of command links standing in for the controller's.
class ItemDispatchTest : public testing::Test {
 protected:
  ItemDispatchTest() {
    overlay_.OpenText("#End_Of_Ovl\n");
    table_.Add(cl::CL_Menu_File_New, [this](LinkCall& call) {
      cmcCellObj& cell = *call.request.cell;
      cell.SetStateFlag(0, ticked_);
      cell.SetStateFlag(1, hidden_);
      cell.SetStateFlag(2, disabled_);
      cell.SetStateFlag(3, !caption_.empty());
      call.request.displayText = caption_;
      if (call.request.key == cellkey::kEnter) ++runs_;
      return LinkOutcome{};
    });
  }

  cmcCellObj Item(int link) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cell.imageIndex = 3;
    return cell;
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  LinkEnvironment environment_{image_, overlay_, choices_, editors_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
  LinkItemDispatch dispatch_{links_};
  bool ticked_ = false, hidden_ = false, disabled_ = false;
  std::string caption_;
  int runs_ = 0;
};

TEST_F(ItemDispatchTest, StatesComeFromTheLinksStateRule) {
  cmcCellObj item = Item(cl::CL_Menu_File_New);
  ItemState state = dispatch_.Refresh(item);
  EXPECT_FALSE(state.ticked || state.hidden || state.disabled);
  EXPECT_EQ(state.caption, std::nullopt);
  EXPECT_EQ(state.imageIndex, 3);

  ticked_ = hidden_ = disabled_ = true;
  caption_ = "&1 radio.rwc";
  state = dispatch_.Refresh(item);
  EXPECT_TRUE(state.ticked && state.hidden && state.disabled);
  EXPECT_EQ(state.caption, "&1 radio.rwc");

  // Flags set by an earlier rule or by the mark-up do not linger.
  ticked_ = hidden_ = disabled_ = false;
  caption_.clear();
  state = dispatch_.Refresh(item);
  EXPECT_FALSE(state.ticked || state.hidden || state.disabled);
}

TEST_F(ItemDispatchTest, ALinkWithoutBehaviourIsDisabledAndDoesNothing) {
  cmcCellObj item = Item(cl::CL_Menu_File_Open);
  EXPECT_TRUE(dispatch_.Refresh(item).disabled);
  dispatch_.Activate(item);
  EXPECT_EQ(runs_, 0);
  cmcCellObj submenu = Item(kNoCellLink);  // no command at all: a submenu stays usable
  EXPECT_FALSE(dispatch_.Refresh(submenu).disabled);
}

TEST_F(ItemDispatchTest, ActivationGivesTheCellEnter) {
  cmcCellObj item = Item(cl::CL_Menu_File_New);
  dispatch_.Activate(item);
  dispatch_.Activate(item);
  EXPECT_EQ(runs_, 2);
}

}  // namespace
