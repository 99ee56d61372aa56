#include "grid/flector.h"

#include <gtest/gtest.h>

#include "grid/cellplacement.h"
#include "grid/gridlinkhost.h"
#include "grid_fixture.h"
#include "markup/ids.h"
#include "sheet/sheet.h"

namespace {

using Pos = CellPosition;

TEST(CellPlacementTest, BelowTheCellElseAboveElseAgainstTheWorkArea) {
  const QRect work(0, 0, 1000, 800);
  const QSize window(200, 300);
  struct Case {
    const char* what;
    QRect cell;
    QPoint at;
  };
  const Case cases[] = {
      {"below, 8 in", QRect(100, 100, 80, 20), QPoint(108, 120)},
      {"above near the bottom", QRect(100, 700, 80, 20), QPoint(108, 400)},
      {"against the right", QRect(900, 100, 80, 20), QPoint(800, 120)},
      {"fits neither above nor below: against the bottom", QRect(100, 290, 80, 300), QPoint(108, 500)},
      {"against the bottom and the right: left of the cell", QRect(900, 290, 80, 300), QPoint(700, 500)},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceAtCell(c.cell, window, work), c.at) << c.what;
}

class FlectorTest : public GridFixture {
 protected:
  cuiSheet& ShowWithChoices() {
    std::vector<std::string> blocks = SheetBlocks("GI_T", "(FixedRows=1)", "{($Basic)}", {"a|b", "{($Sel)}e|f"});
    const std::vector<std::string> choices = SheetBlocks(
        "GI_Sel", "", "{($Basic)}", {"{($Sel)(%Flex0[1])}one", "{($Sel)(%Flex0[2])}two", "{($Sel)(%Flex0[3])}three"});
    blocks.insert(blocks.end(), choices.begin(), choices.end());
    UseOverlay(blocks);
    SheetServices services{*overlay_, *overlay_, image_, measurer_};
    services.onFault = [this](const std::string& text) { faults_.push_back(text); };
    host_.SetSheetServices(services);
    reply = [this](cmcCellCapsule& request) {
      if (request.editResult == kPopupChoice) {
        chosen.emplace_back(request.ReplyColumn(), request.ReplyValue());
        return 0;
      }
      if (request.key == 13 && host_.OpenChoiceList(request, "GI_Sel", cl::Flex0, 2))
        return static_cast<int>(kPopupEditor);
      return 0;
    };
    return Show();
  }
  cuiFlector& OpenChoices() {
    QTest::keyClick(grid_, Qt::Key_Return);
    EXPECT_NE(cuiFlector::Open(), nullptr);
    return *cuiFlector::Open();
  }
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  GridLinkHost host_;
  std::vector<std::pair<int, int>> chosen;
};

TEST_F(FlectorTest, TheDropDownStartsOnThePresentChoiceAndEnterHandsTheChosenCellBack) {
  ShowWithChoices();
  cuiFlector& flector = OpenChoices();
  ASSERT_NE(flector.Grid().Sheet(), nullptr) << (faults_.empty() ? "" : faults_.back());
  cuiSheet& list = *flector.Grid().Sheet();
  EXPECT_TRUE(list.DropDown());
  EXPECT_EQ(list.Current(), (Pos{0, 1}));  // parameter 2
  QTest::keyClick(&flector.Grid(), Qt::Key_Down);
  QTest::keyClick(&flector.Grid(), Qt::Key_Down);  // wraps to the first
  EXPECT_EQ(list.Current(), (Pos{0, 0}));
  QTest::keyClick(&flector.Grid(), Qt::Key_Return);
  EXPECT_TRUE(chosen.empty());  // after the drop-down's own action has returned
  Settle();
  EXPECT_EQ(chosen, (std::vector<std::pair<int, int>>{{cl::Flex0, 1}}));
  EXPECT_EQ(cuiFlector::Open(), nullptr);
}

TEST_F(FlectorTest, EscapeClosesWithoutAChoiceAndAClosedSheetGetsNone) {
  ShowWithChoices();
  cuiFlector& flector = OpenChoices();
  QTest::keyClick(&flector.Grid(), Qt::Key_Escape);
  Settle();
  EXPECT_EQ(cuiFlector::Open(), nullptr);
  EXPECT_TRUE(chosen.empty());

  cuiFlector& again = OpenChoices();
  QTest::keyClick(&again.Grid(), Qt::Key_Return);
  grid_->Detach();  // the opening sheet closes before the choice arrives
  Settle();
  EXPECT_TRUE(chosen.empty());
}

TEST_F(FlectorTest, ACellNoGridShowsOpensNothing) {
  ShowWithChoices();
  cmcCellObj loose;
  cmcCellCapsule request;
  request.cell = &loose;
  EXPECT_FALSE(host_.OpenChoiceList(request, "GI_Sel", cl::Flex0, 1));
  EXPECT_EQ(cuiFlector::Open(), nullptr);
}

}  // namespace
