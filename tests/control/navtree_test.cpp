#include "control/navtree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "control/itemlist.h"
#include "core/gtex.h"
#include "markup/cellparser.h"
#include "model/ch.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "support/fatal_trap.h"

namespace {

CellParser PlainParser() {
  return CellParser([](const std::string&) -> std::optional<std::string> { return std::nullopt; });
}

std::string Captions(NavTree& tree) {
  std::string text;
  for (TreeNode* node : tree.Nodes()) text += (text.empty() ? "" : ",") + node->caption;
  return text;
}

// A tree with one node per filter class, the bank branch's anchor and the
// digital-timer anchor.
constexpr char kTreeOverlay[] =
    "#GI_Tree_Branch_Mch_BankOperation\n%s\n#\n"
    "#GI_Tree_Branch_Mch_Bank\n+{(%%CallSheet:[St_ChBank]GI_Sheet_Mch_%%s,Bank %%d)(ImageIndex=4)}Bank\n#\n"
    "#T_BasicCell\n{(%%CT_Null.CallSheet)(ImageIndex=2)}\n#\n"
    "#T_Body\n"
    "+Top\t{(%%CallSheet:GI_Sheet_TopPage)(ImageIndex=0)}\n"
    " +Maker\t{(Flag0=1)}\n"
    " +Lmr\t{(Flag1=1)}\n"
    " +Pmr\t{(Flag2=1)}\n"
    " +Vexl\t{(Flag3=1)}\n"
    " +NotDpmr\t{(Flag4=1)}\n"
    " +Timers\t{(Flag5=1)}\n"
    " +Adjust\t{(Flag6=1)}\n"
    "  +Under\n"
    " +Never\t{(Flag7=1)}\n"
    " +Memory\t{(%%CallSheet:GI_Sheet_Memory_CH_Top)}\n"
    " +Digital\t{(%%CallSheet:GI_Sheet_Dig)}\n"
    "  +Before\t{(%%CallSheet:GI_Sheet_Dig_Before)}\n"
    "  +Messages\t{(%%CallSheet:GI_Sheet_Dig_ProgMes)}\n"
    "+Timer\t{(%%CallSheet:GI_Sheet_Dig_Tim)(Flag7=1)}\n"
    "#\n#End_Of_Ovl\n";

class NavTreeTest : public testing::Test {
 protected:
  void Open(const char* bankOperation = "+Banks\t{(%CT_Null.CL_Null)(ImageIndex=3)}") {
    std::string text(sizeof kTreeOverlay + 200, '\0');
    text.resize(static_cast<std::size_t>(std::snprintf(text.data(), text.size(), kTreeOverlay, bankOperation)));
    overlay_.OpenText(text);
    tree_.Rebuild();
  }

  std::string FilteredNodes(const TreeFacts& facts) {
    tree_.Rebuild();
    tree_.Refresh(facts);
    std::string text;
    for (auto& child : tree_.Root().children.front()->children) text += (text.empty() ? "" : ",") + child->caption;
    return text;
  }

  FatalTrap trap_;
  cmcGTex overlay_;
  CellParser parser_ = PlainParser();
  NavTree tree_{overlay_, parser_, "T"};
};

TEST_F(NavTreeTest, BuildsNodesWithCaptionImageAndTheFirstNodeOpen) {
  Open();
  ASSERT_EQ(tree_.Root().children.size(), 2u);
  TreeNode& top = *tree_.Root().children.front();
  EXPECT_EQ(top.caption, "Top");
  EXPECT_EQ(top.image, 0);
  EXPECT_EQ(top.selectedImage, 0);
  EXPECT_TRUE(top.expanded);
  EXPECT_EQ(top.children.size(), 10u);
  EXPECT_EQ(top.children[1]->image, 2);  // from the basic cell
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Dig_ProgMes")->caption, "Messages");
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Nothing"), nullptr);
}

TEST_F(NavTreeTest, EveryFilterClassPerModelTypeAndMode) {
  Open();
  struct Case {
    ModelType type;
    bool maker;
    bool adjust;
    bool timers;
    const char* nodes;  // the sub-nodes of the top node that stay, banks aside
  };
  const Case cases[] = {
      {ModelType::kLandMobile, false, false, false, "Lmr,NotDpmr,Memory,Digital"},
      {ModelType::kPmr, false, false, false, "Pmr,NotDpmr,Memory,Digital"},
      {ModelType::kPmrVexl, false, false, false, "Pmr,Vexl,NotDpmr,Memory,Digital"},
      {ModelType::kDpmr446, false, false, false, "Memory,Digital"},
      {ModelType::kLandMobile, true, false, false, "Maker,Lmr,NotDpmr,Memory,Digital"},
      {ModelType::kDpmr446, true, true, false, "Maker,Adjust,Memory,Digital"},
      {ModelType::kPmr, false, false, true, "Pmr,NotDpmr,Timers,Memory,Digital"},
  };
  for (const Case& c : cases) {
    TreeFacts facts;
    facts.modelType = c.type;
    facts.makerMode = c.maker;
    facts.adjustmentData = c.adjust;
    facts.digitalTimers = c.timers;
    EXPECT_EQ(FilteredNodes(facts), c.nodes) << ModelNumber(c.type) << c.maker << c.adjust << c.timers;
  }
  // A removed node takes its sub-nodes with it.
  EXPECT_EQ(Captions(tree_).find("Under"), std::string::npos);
}

TEST_F(NavTreeTest, TheDigitalTimerNodeJoinsTheNodeBeforeTheMessagesWhenItsBitIsSet) {
  Open();
  TreeFacts facts;
  facts.digitalTimers = true;
  tree_.Refresh(facts);
  TreeNode* timer = tree_.FindByArgument("GI_Sheet_Dig_Tim");
  ASSERT_NE(timer, nullptr);  // the body's own line was removed as class 7, then added back
  EXPECT_EQ(timer->parent, tree_.FindByArgument("GI_Sheet_Dig_Before"));
  tree_.Refresh(facts);  // added once only
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Dig_Before")->children.size(), 1u);

  facts.digitalTimers = false;
  tree_.Rebuild();
  tree_.Refresh(facts);
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Dig_Tim"), nullptr);
}

TEST_F(NavTreeTest, WithoutTheMessagesNodeTheTimerNodeIsSkipped) {
  Open();
  TreeNode* messages = tree_.FindByArgument("GI_Sheet_Dig_ProgMes");
  std::erase_if(messages->parent->children, [messages](const auto& node) { return node.get() == messages; });
  TreeFacts facts;
  facts.digitalTimers = true;
  tree_.Refresh(facts);
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Dig_Tim"), nullptr);
}

TEST_F(NavTreeTest, TheBankBranchHoldsTheOperationNodeAndOneNodePerBank) {
  Open();
  struct Case {
    ModelType type;
    bool extended;
    int banks;
  };
  for (const Case& c : {Case{ModelType::kLandMobile, false, 8}, Case{ModelType::kPmrVexl, false, 8},
                        Case{ModelType::kDpmr446, false, 7}, Case{ModelType::kDpmr446, true, 8}}) {
    TreeFacts facts;
    facts.modelType = c.type;
    facts.extendedMode = c.extended;
    tree_.Rebuild();
    const std::vector<int> added = tree_.Refresh(facts);
    EXPECT_EQ(added.size(), static_cast<std::size_t>(c.banks));
    TreeNode* memory = tree_.FindByArgument("GI_Sheet_Memory_CH_Top");
    ASSERT_EQ(memory->children.size(), static_cast<std::size_t>(c.banks) + 1);
    EXPECT_EQ(memory->children[0]->caption, "Banks");
    const std::string last =
        "[St_ChBank]GI_Sheet_Mch_" + std::string(ModelWord(c.type)) + ",Bank " + std::to_string(c.banks - 1);
    EXPECT_EQ(memory->children.back()->Argument(), last);
  }
  // Refreshing again replaces the branch rather than adding to it.
  tree_.Refresh(TreeFacts{});
  EXPECT_EQ(tree_.FindByArgument("GI_Sheet_Memory_CH_Top")->children.size(), 9u);
}

TEST_F(NavTreeTest, WithoutBanksTheBranchHoldsBankZeroOnly) {
  Open("None");
  EXPECT_EQ(tree_.Refresh(TreeFacts{}), std::vector<int>{0});
  TreeNode* memory = tree_.FindByArgument("GI_Sheet_Memory_CH_Top");
  ASSERT_EQ(memory->children.size(), 1u);
  EXPECT_EQ(memory->children[0]->Argument(), "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
}

TEST_F(NavTreeTest, WithoutTheAnchorNodeThereIsNoBankBranch) {
  Open();
  TreeNode* memory = tree_.FindByArgument("GI_Sheet_Memory_CH_Top");
  memory->cell.argument = "Elsewhere";
  EXPECT_TRUE(tree_.Refresh(TreeFacts{}).empty());
  EXPECT_EQ(tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"), nullptr);
}

TEST_F(NavTreeTest, BankLabelsComeFromTheImageAndReachTheirNodes) {
  Open();
  tree_.Refresh(TreeFacts{});
  cmcEeprom image(cmcEeprom::kImageSize);
  const char name[] = "Site B\x01 ";  // a control code is no text
  image.WriteBlock(memmap::addr::kBankNames + 8 * 2, reinterpret_cast<const std::uint8_t*>(name), 8);
  EXPECT_EQ(NavTree::BankLabel(image, 2), "3: Site B  ");
  EXPECT_EQ(NavTree::BankLabel(image, 9), "10: " + std::string(8, ' '));  // no such bank: no read outside the names

  TreeNode* bank2 = tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 2");
  bank2->selectedImage = 9;
  tree_.ApplyBankLabel(2, "3: Site B");
  EXPECT_EQ(bank2->caption, "3: Site B");
  EXPECT_EQ(bank2->selectedImage, bank2->image);
  EXPECT_EQ(tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 3")->caption, "Bank");
}

TEST_F(NavTreeTest, AKindShorterThanTheNumberNeverTakesALabel) {
  Open();
  TreeNode& shortKind = tree_.AddNode(nullptr, "+{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank)}Short");
  TreeNode& otherStyle = tree_.AddNode(nullptr, "+{(%CallSheet:GI_Sheet_Mch_Lmr,Bank 0)}Plain");
  tree_.ApplyBankLabel(0, "1: A");
  EXPECT_EQ(shortKind.caption, "Short");
  EXPECT_EQ(otherStyle.caption, "Plain");
}

TEST_F(NavTreeTest, BankImagesFollowTheFlagAndTheContents) {
  Open();
  tree_.Refresh(TreeFacts{});
  cmcEeprom image(cmcEeprom::kImageSize);
  datCh::SetBankSize(image, 1, 3);
  datCh::SetBankFlag(image, 2, true);
  datCh::SetBankSize(image, 3, 1);
  datCh::SetBankFlag(image, 3, true);
  tree_.ApplyBankImages(image);
  const int expected[] = {4, 5, 6, 7};
  for (int bank = 0; bank < 4; ++bank) {
    TreeNode* node = tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank " + std::to_string(bank));
    EXPECT_EQ(node->image, expected[bank]) << bank;
    EXPECT_EQ(node->selectedImage, expected[bank]) << bank;
  }
}

TEST_F(NavTreeTest, MarksShowOnACollapsedParentAndErrorsWin) {
  Open();
  tree_.Refresh(TreeFacts{});
  TreeNode* memory = tree_.FindByArgument("GI_Sheet_Memory_CH_Top");
  TreeNode* bank1 = tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 1");
  TreeNode* bank2 = tree_.FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 2");
  TreeNode* top = tree_.Root().children.front().get();

  memory->expanded = false;
  tree_.MarkAll({bank1->Argument()}, {});
  EXPECT_EQ(bank1->mark, TreeNode::kWarningMark);
  EXPECT_EQ(memory->mark, TreeNode::kWarningMark);  // the closed branch shows it
  EXPECT_EQ(top->mark, std::nullopt);               // the top node is open

  memory->expanded = true;  // opening the branch moves the mark to the child
  tree_.MarkAll({bank1->Argument()}, {});
  EXPECT_EQ(memory->mark, std::nullopt);
  EXPECT_EQ(bank1->mark, TreeNode::kWarningMark);

  memory->expanded = false;
  tree_.MarkAll({bank1->Argument(), bank2->Argument()}, {bank2->Argument()});
  EXPECT_EQ(bank1->mark, TreeNode::kWarningMark);
  EXPECT_EQ(bank2->mark, TreeNode::kErrorMark);
  EXPECT_EQ(memory->mark, TreeNode::kErrorMark);

  NavTree::ClearMarks(*memory);
  EXPECT_EQ(memory->mark, std::nullopt);
  EXPECT_EQ(bank2->mark, std::nullopt);
}

}  // namespace
