#include "sheet/mchwin.h"

#include <gtest/gtest.h>

#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "sheet/headless.h"
#include "sheet/listsheet.h"
#include "sheet_fixture.h"

namespace {

// The window over two small window sheets and a land-mobile bank sheet.
class MchWinTest : public SheetFixture {
 protected:
  void SetUp() override {
    std::vector<std::string> blocks;
    for (const char* name : {"GI_Sheet_Mch_Win_CONV_LMR", "GI_Sheet_Mch_Win_CONV_PMR"}) {
      for (const std::string& line :
           SheetBlocks(name, "(FixedCols=1)", "{($Basic)(%CT_Mch_Win.)}",
                       {"{}Channel|{($Sel)(%CL_MchWin_No[0])}", "{}Flags|{($Sel)(%CL_Mch_Atr[0])}",
                        "{}Plain|{($Sel)(%CT_Null.)(%CL_Mch_Atr[9])}"})) {
        blocks.push_back(line);
      }
    }
    for (const std::string& line : SheetBlocks("GI_Sheet_Mch_Lmr", "C(FixedRows=1)", "{($Basic)(%CT_Mch.)}",
                                               {"{}No.", ":(LoopFrom)", "{($Sel)(%CL_Mch_No[@ch0])}", ":(LoopTo)"})) {
      blocks.push_back(line);
    }
    UseOverlay(blocks);
    SetBankSizes({3, 4});
  }
  void SetBankSizes(std::initializer_list<int> sizes) {
    int bank = 0;
    for (int size : sizes) datCh::SetBankSize(image_, bank++, size);
  }
  std::unique_ptr<cuiSheet> BankSheet(int bank) {
    std::unique_ptr<cuiSheet> sheet = Make("[St_ChBank]GI_Sheet_Mch_Lmr,Bank " + std::to_string(bank));
    EXPECT_TRUE(sheet->Show());
    return sheet;
  }
  // The parameters of the window sheet's value column, row by row.
  static std::vector<std::int32_t> Numbers(iuiMchWin& window) {
    std::vector<std::int32_t> numbers;
    for (int row = 0; row < window.Sheet()->Rows(); ++row)
      numbers.push_back(window.Sheet()->CellAt(1, row)->cell.parameter);
    return numbers;
  }

  // Made after the overlay.
  LinkEnvironment& Environment() {
    if (!environment_) {
      choices_ = std::make_unique<cmcFCache>(*overlay_);
      environment_ = std::make_unique<LinkEnvironment>(LinkEnvironment{image_, *overlay_, *choices_, host_});
    }
    return *environment_;
  }

  NoEditors host_;
  std::unique_ptr<cmcFCache> choices_;
  std::unique_ptr<LinkEnvironment> environment_;
};

TEST_F(MchWinTest, StepsWithinTheBankAndStopsAtItsEnds) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 0));  // bank 1 holds channels 3 to 6
  EXPECT_EQ(window.Channel(), 3);
  EXPECT_FALSE(window.Previous());
  EXPECT_EQ(window.Channel(), 3);
  for (int expected : {4, 5, 6, 7}) {  // 7: the position after the bank's last channel
    EXPECT_TRUE(window.Next());
    EXPECT_EQ(window.Channel(), expected);
  }
  EXPECT_FALSE(window.Next());
  EXPECT_EQ(window.Channel(), 7);
  EXPECT_TRUE(window.Previous());
  EXPECT_EQ(window.Channel(), 6);
  // Opened beyond the bank, the window shows the position after its last channel.
  ASSERT_TRUE(window.Open(0, 40));
  EXPECT_EQ(window.Channel(), 3);
  EXPECT_EQ(window.Bank(), 0);
}

TEST_F(MchWinTest, TheWindowsChannelGoesToItsCellsAndTheLinks) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 5));
  // The number cell and the cells of the window's type take the channel; a cell of another type keeps its own.
  EXPECT_EQ(Numbers(window), (std::vector<std::int32_t>{5, 5, 9}));
  EXPECT_EQ(Environment().windowChannel, 5);
  const int repaints = view_.wholeRepaints;
  window.Next();
  EXPECT_EQ(Numbers(window), (std::vector<std::int32_t>{6, 6, 9}));
  EXPECT_EQ(Environment().windowChannel, 6);
  EXPECT_GT(view_.wholeRepaints, repaints);
}

TEST_F(MchWinTest, ThePmrRadioHasItsOwnSheetAndAModelChangeReplacesIt) {
  const std::pair<ModelType, std::string> cases[] = {
      {ModelType::kLandMobile, "GI_Sheet_Mch_Win_CONV_LMR"},
      {ModelType::kPmr, "GI_Sheet_Mch_Win_CONV_PMR"},
      {ModelType::kPmrVexl, "GI_Sheet_Mch_Win_CONV_LMR"},
      {ModelType::kDpmr446, "GI_Sheet_Mch_Win_CONV_LMR"},
  };
  for (const auto& [type, name] : cases) EXPECT_EQ(iuiMchWin::SheetFor(type).name, name);

  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 4));
  EXPECT_EQ(window.Sheet()->Name(), "GI_Sheet_Mch_Win_CONV_LMR");
  Environment().modelType = ModelType::kPmr;
  events_.Send(ev::kModelChanged, nullptr, 0);
  EXPECT_EQ(window.Sheet()->Name(), "GI_Sheet_Mch_Win_CONV_PMR");
  EXPECT_EQ(Numbers(window), (std::vector<std::int32_t>{4, 4, 9}));
}

TEST_F(MchWinTest, FollowsTheChannelSheetsSelectionAndTheBanksFirstChannel) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(0, 1));
  std::unique_ptr<cuiSheet> sheet = BankSheet(1);  // opening another bank: its first channel
  EXPECT_EQ(window.Bank(), 1);
  EXPECT_EQ(window.Channel(), 3);
  ASSERT_TRUE(sheet->MakeCurrent(0, 3));  // channel 5
  EXPECT_EQ(window.Channel(), 5);

  window.SetFollow(false);
  ASSERT_TRUE(sheet->MakeCurrent(0, 1));
  EXPECT_EQ(window.Channel(), 5);
  sheet.reset();
  sheet = BankSheet(0);  // another bank still makes its first channel current
  EXPECT_EQ(window.Bank(), 0);
  EXPECT_EQ(window.Channel(), 0);
}

TEST_F(MchWinTest, TheChannelSheetFollowsTheWindowsMoves) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 3));
  std::unique_ptr<cuiSheet> sheet = BankSheet(1);
  auto* bankSheet = dynamic_cast<iuiSh_ChBank*>(sheet.get());
  ASSERT_NE(bankSheet, nullptr);
  ASSERT_EQ(bankSheet->CurrentChannel(), 3);

  window.Next();
  window.Next();  // two moves before the pump
  Pump();
  EXPECT_EQ(bankSheet->CurrentChannel(), 5);
  EXPECT_EQ(window.Channel(), 5);
  window.Next();
  window.Next();  // past the last row: the sheet stays on it
  Pump();
  EXPECT_EQ(window.Channel(), 7);
  EXPECT_EQ(bankSheet->CurrentChannel(), 6);
  window.Previous();
  Pump();
  EXPECT_EQ(bankSheet->CurrentChannel(), 6);
  EXPECT_EQ(window.Channel(), 6);
  window.Previous();
  Pump();
  EXPECT_EQ(bankSheet->CurrentChannel(), 5);
  EXPECT_EQ(window.Channel(), 5);
}

TEST_F(MchWinTest, MovesMadeWhileTheSheetIsAwayAreFollowedWhenItReturns) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 3));
  std::unique_ptr<cuiSheet> sheet = BankSheet(1);
  sheet.reset();
  window.Next();
  window.Next();
  EXPECT_EQ(window.PendingMoves(), 2);
  sheet = BankSheet(1);  // shows its first row, then follows the window
  EXPECT_EQ(window.Channel(), 5);
  EXPECT_EQ(window.PendingMoves(), 0);
  Pump();
  EXPECT_EQ(dynamic_cast<iuiSh_ChBank*>(sheet.get())->CurrentChannel(), 5);
}

TEST_F(MchWinTest, AShrinkingBankKeepsTheWindowInsideIt) {
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.Open(1, 7));
  SetBankSizes({3, 2});
  events_.Post(ev::kRecordDeleted, nullptr, 2);
  Pump();
  EXPECT_EQ(window.Channel(), 5);
  EXPECT_EQ(Environment().windowChannel, 5);
  // A bank of size 0 has only the position after its end.
  SetBankSizes({3, 0});
  events_.Post(ev::kRecordDeleted, nullptr, 2);
  Pump();
  EXPECT_EQ(window.Channel(), 3);
  EXPECT_FALSE(window.Next());
  EXPECT_FALSE(window.Previous());
}

TEST_F(MchWinTest, AHostTakesEachSheetOverAndHearsWhenItIsGone) {
  std::vector<std::unique_ptr<cuiSheet>> shown;
  iuiMchWin window(Services(), &Environment());
  window.SetSheetHost([&](std::unique_ptr<cuiSheet> sheet) { shown.push_back(std::move(sheet)); });
  ASSERT_TRUE(window.Open(1, 4));
  ASSERT_FALSE(shown.empty());
  ASSERT_NE(shown.back(), nullptr);
  EXPECT_EQ(shown.back().get(), window.Sheet());
  EXPECT_EQ(Numbers(window), (std::vector<std::int32_t>{4, 4, 9}));
  window.Close();
  EXPECT_EQ(shown.back(), nullptr);
  EXPECT_EQ(window.Sheet(), nullptr);
  EXPECT_FALSE(window.Next() && window.Sheet());
}

TEST_F(MchWinTest, OpensOnTheMainSheetsCurrentChannel) {
  std::unique_ptr<cuiSheet> sheet = BankSheet(1);
  ASSERT_TRUE(sheet->MakeCurrent(0, 2));  // channel 4
  iuiMchWin window(Services(), &Environment());
  ASSERT_TRUE(window.OpenFor(sheet.get()));
  EXPECT_EQ(window.Bank(), 1);
  EXPECT_EQ(window.Channel(), 4);
  window.Next();
  Pump();
  EXPECT_EQ(dynamic_cast<iuiSh_ChBank*>(sheet.get())->CurrentChannel(), 5);

  // Any other sheet: the first channel of the first bank.
  std::unique_ptr<cuiSheet> plain = Built("GI_Sheet_Mch_Win_CONV_LMR");
  iuiMchWin other(Services(), &Environment());
  ASSERT_TRUE(other.OpenFor(plain.get()));
  EXPECT_EQ(other.Bank(), 0);
  EXPECT_EQ(other.Channel(), 0);
}

}  // namespace
