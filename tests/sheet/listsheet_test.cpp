#include "sheet/listsheet.h"

#include <gtest/gtest.h>

#include "links/cellschanged.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "sheet_fixture.h"

namespace {

class ListSheetTest : public SheetFixture {
 protected:
  // A list of kind `kind`: a title row and one template row for every record.
  void UseList(const std::string& kind) {
    UseOverlay(SheetBlocks("GI_L", kind + "(FixedRows=1)", "{($Basic)(%CT_Mch.)}",
                           {"{}No.", ":(LoopFrom)", "{($Sel)(%CL_Mch_No[@ch0])}", ":(LoopTo)"}));
  }
  void SetBankSizes(std::initializer_list<int> sizes) {
    int bank = 0;
    for (int size : sizes) image_.SetWord(memmap::addr::kBankSizes + 2 * bank++, static_cast<std::uint16_t>(size));
  }
  // A bank list that may be multi-selected by lines, with the texts of its title.
  void UseBankList(const std::string& bankOperation = "Banks") {
    std::vector<std::string> blocks =
        SheetBlocks("GI_L", "C(TitleString=Channels)(FixedRows=1)(MultiSelect=Line)", "{($Basic)(%CT_Mch.)}",
                    {"{}No.", ":(LoopFrom)", "{($Sel)(%CL_Mch_No[@ch0])}", ":(LoopTo)"});
    for (const char* line : {"#GI_Tree_Branch_Mch_BankOperation", bankOperation.c_str(), "#",
                             "#GI_AppInd_MchSheet_Printer_SmarTrunk", "[Trunk]", "#", "#GI_AppInd_Sheet_Title_LeftCH",
                             "left", "#", "#GI_AppInd_MchSheet_Printer_Head", "Bank", "#"}) {
      blocks.emplace_back(line);
    }
    UseOverlay(blocks);
  }
  void SetBankName(int bank, std::string_view codes) {
    for (std::size_t i = 0; i < 8; ++i) {
      image_.SetByte(memmap::addr::kBankNames + 8 * bank + static_cast<int>(i),
                     static_cast<std::uint8_t>(i < codes.size() ? codes[i] : ' '));
    }
  }
  std::vector<std::int32_t> ListedChannels(const cuiSheet& sheet) {
    std::vector<std::int32_t> channels;
    for (int row = 1; row < sheet.Rows(); ++row) channels.push_back(sheet.CellAt(0, row)->cell.parameter);
    return channels;
  }
};

TEST_F(ListSheetTest, TheKindLetterDecidesHowManyRowsTheListTakes) {
  SetBankSizes({3, 0, 5});
  image_.SetWord(memmap::addr::kAliasCount, 7);
  struct Case {
    std::string kind, ref;
    bool printing;
    int languages;
    int listRows;
  };
  const Case cases[] = {
      {"R", "GI_L,Mch", false, 0, 9},             // channels in use and the new-channel row
      {"R", "GI_L,Mch", true, 0, 8},              // printed: those in use
      {"M", "GI_L,Mdc", false, 0, 8},             // aliases in use and a blank row
      {"M", "GI_L,Mdc", true, 0, 7},              //
      {"Y", "[St_Common]GI_L", false, 3, 3},      // the languages
      {"Y", "[St_Common]GI_L", false, 300, 255},  // at most 255
      {"C", "[St_ChBank]GI_L,Bank 2", false, 0, 5},
      {"C", "[St_ChBank]GI_L,Bank 2", true, 0, 5},
      {"C", "[St_ChBank]GI_L,Bank 1", false, 0, 0},  // an empty bank: the title alone
      {"X", "GI_L,Mch", false, 0, 1},                // no list: once
  };
  for (const Case& c : cases) {
    UseList(c.kind);
    modes_.languageCount = c.languages;
    std::unique_ptr<cuiSheet> sheet = Make(c.ref);
    if (c.printing) sheet->SetPrintTarget(PrintTarget{});
    ASSERT_TRUE(sheet->Build()) << c.kind << ' ' << c.ref;
    EXPECT_EQ(sheet->Rows(), 1 + c.listRows) << c.kind << ' ' << c.ref << (c.printing ? " printing" : "");
  }
}

TEST_F(ListSheetTest, ABankSheetAddressesItsBanksChannelsAndCarriesTheBank) {
  SetBankSizes({3, 0, 5});
  UseList("C");
  std::unique_ptr<cuiSheet> sheet = Built("[St_ChBank]GI_L,Bank 2");
  std::vector<std::pair<std::int32_t, std::int32_t>> asked;  // channel, context number
  sheet->SetCallback([&](cmcCellCapsule& request, bool) {
    asked.emplace_back(request.cell->parameter, request.contextNumber);
    return 0;
  });
  for (int row = 1; row < sheet->Rows(); ++row) sheet->CellText(0, row);
  EXPECT_EQ(asked, (std::vector<std::pair<std::int32_t, std::int32_t>>{{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}}));

  // A damaged bank size never reaches past the last channel.
  SetBankSizes({3, 0, 0xFFFF});
  std::unique_ptr<cuiSheet> damaged = Built("[St_ChBank]GI_L,Bank 2");
  EXPECT_EQ(damaged->Rows(), 1 + memmap::kMaxChannels - 3);
  EXPECT_EQ(damaged->CellAt(0, damaged->Rows() - 1)->cell.parameter, memmap::kMaxChannels - 1);

  // A bank sheet whose kind names no bank does not build.
  std::unique_ptr<cuiSheet> nameless = Make("[St_ChBank]GI_L,Bank 8");
  EXPECT_FALSE(nameless->Build());
  EXPECT_EQ(faults_.back(),
            "The sheet '[St_ChBank]GI_L,Bank 8' names no bank: its kind must be \"Bank 0\" to \"Bank 7\".");
}

TEST_F(ListSheetTest, RecordListsKeepLinesForThePrinter) {
  const std::vector<std::string> cells = {"No.", ":(Only_Print 1)", "Printed only", "a"};
  UseOverlay(SheetBlocks("GI_L", "R", "{($Basic)}", cells));
  struct Case {
    std::string ref;
    bool printing;
    std::vector<std::size_t> rows;
  };
  const Case cases[] = {{"GI_L,Mch", false, {0, 3}}, {"GI_L,Mch", true, {0, 2, 3}}, {"GI_L", false, {0, 2, 3}}};
  for (const Case& c : cases) {
    std::unique_ptr<cuiSheet> sheet = Make(c.ref);
    if (c.printing) sheet->SetPrintTarget(PrintTarget{});
    ASSERT_TRUE(sheet->Build());
    EXPECT_EQ(RowLines(*sheet), c.rows) << c.ref << (c.printing ? " printing" : "");
  }
}

TEST_F(ListSheetTest, CommonSheetsFilterTheirLinesByModelAndMode) {
  struct Case {
    std::string tag;
    ModelType model;
    bool maker;
    std::uint8_t accessories;
    bool kept;
  };
  const Case cases[] = {
      {"Only_Pmr", ModelType::kLandMobile, false, 0, false},
      {"Only_Pmr", ModelType::kPmr, false, 0, true},
      {"Only_Pmr", ModelType::kPmrVexl, false, 0, true},
      {"Only_Pmr", ModelType::kDpmr446, false, 0, false},
      {"Only_Lmr", ModelType::kLandMobile, false, 0, true},
      {"Only_Lmr", ModelType::kPmr, false, 0, false},
      {"Only_VEXL", ModelType::kPmrVexl, false, 0, true},
      {"Only_VEXL", ModelType::kPmr, false, 0, false},
      {"Only_notVEXL", ModelType::kPmrVexl, false, 0, false},
      {"Only_notVEXL", ModelType::kDpmr446, false, 0, true},
      {"Only_notDPmr446", ModelType::kDpmr446, false, 0, false},
      {"Only_notDPmr446", ModelType::kLandMobile, false, 0, true},
      {"Only_DPmr446", ModelType::kDpmr446, false, 0, true},
      {"Only_Dealer", ModelType::kLandMobile, true, 0xFF, false},
      {"Only_User", ModelType::kLandMobile, false, 0, true},
      {"Never", ModelType::kPmr, true, 0xFF, false},
      {"Only_Maker", ModelType::kLandMobile, false, 0, false},
      {"Only_Maker", ModelType::kLandMobile, true, 0, true},
      {"Only_SACC", ModelType::kLandMobile, false, 0x08, true},
      {"Only_SACC", ModelType::kLandMobile, false, 0x10, false},
      {"Only_EACC", ModelType::kLandMobile, false, 0x10, true},
      {"Only_EACC", ModelType::kLandMobile, false, 0x08, false},
  };
  for (const Case& c : cases) {
    modes_.modelType = c.model;
    modes_.makerMode = c.maker;
    image_.SetByte(memmap::addr::kAccessoryFlags, c.accessories);
    UseOverlay(SheetBlocks("GI_C", "", "{($Basic)}", {":(" + c.tag + " 1)", "a", "b"}));
    std::unique_ptr<cuiSheet> sheet = Built("[St_Common]GI_C");
    EXPECT_EQ(RowLines(*sheet), c.kept ? (std::vector<std::size_t>{1, 2}) : (std::vector<std::size_t>{2}))
        << c.tag << " model " << ModelNumber(c.model);
  }
  // "Only_Lmr 2" on a PMR sheet skips the two lines after it.
  modes_.modelType = ModelType::kPmr;
  UseOverlay(SheetBlocks("GI_C", "", "{($Basic)}", {":(Only_Lmr 2)", "a", ":(Only_Pmr 1)", "b", "c"}));
  EXPECT_EQ(RowLines(*Built("[St_Common]GI_C")), (std::vector<std::size_t>{3, 4}));
  EXPECT_EQ(RowLines(*Built("GI_C")), (std::vector<std::size_t>{1, 3, 4}));  // a plain sheet knows no such tags
}

TEST_F(ListSheetTest, TheReferenceChoosesTheSheetClass) {
  UseList("R");
  EXPECT_NE(dynamic_cast<iuiSh_ChBank*>(Make("[St_ChBank]GI_L,Bank 0").get()), nullptr);
  EXPECT_NE(dynamic_cast<iuiSh_Common*>(Make("[St_Common]GI_L,Mch").get()), nullptr);
  EXPECT_NE(dynamic_cast<iuiSh_Mch*>(Make("GI_L,Mch").get()), nullptr);
  EXPECT_EQ(dynamic_cast<iuiSheet*>(Make("GI_L,Bank 0").get()), nullptr);
  EXPECT_EQ(dynamic_cast<iuiSheet*>(Make("[St_Other]GI_L").get()), nullptr);

  EXPECT_EQ(ChannelBankSheet(ModelType::kPmrVexl, 5).Text(), "[St_ChBank]GI_Sheet_Mch_PmrB,Bank 5");
  EXPECT_EQ(ChannelBankSheet(ModelType::kLandMobile, 0).Text(), "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");

  EXPECT_EQ(SheetRefProblem(SheetRef::Parse("GI_L,Mch"), *overlay_), std::nullopt);
  EXPECT_EQ(SheetRefProblem(SheetRef::Parse("[St_ChBank]GI_L,Bank 7"), *overlay_), std::nullopt);
  EXPECT_EQ(SheetRefProblem(SheetRef::Parse("GI_Nope"), *overlay_),
            "the overlay has no block 'GI_Nope_Style' of the sheet 'GI_Nope'");
  EXPECT_EQ(SheetRefProblem(SheetRef::Parse("[St_ChBank]GI_L,Bank 9"), *overlay_),
            "the bank sheet '[St_ChBank]GI_L,Bank 9' names no bank (its kind must be \"Bank 0\" to \"Bank 7\")");
  EXPECT_EQ(SheetRefProblem(SheetRef::Parse("[St_ChBank"), *overlay_), "the reference names no sheet");
}

TEST_F(ListSheetTest, TheBankTitleNamesTheBankAndTheRoomLeft) {
  SetBankSizes({3, 0, 5});
  SetBankName(2, "  WEST  ");
  UseBankList();
  const int left = datCh::ChannelsThatFit(image_, modes_.modelType);
  ASSERT_GT(left, 0);
  struct Case {
    bool flagged;
    std::string title;
    CellColour colour;
    std::string head;
  };
  const Case cases[] = {
      {false, "Channels 3: WEST  (" + std::to_string(left) + " left)", iuiSh_ChBank::kTitleColour, "Bank 3: WEST "},
      {true, "Channels 3: WEST [Trunk] (" + std::to_string(left) + " left)", iuiSh_ChBank::kFlaggedTitleColour,
       "Bank 3: WEST [Trunk]"},
  };
  for (const Case& c : cases) {
    datCh::SetBankFlag(image_, 2, c.flagged);
    std::unique_ptr<cuiSheet> sheet = Built("[St_ChBank]GI_L,Bank 2");
    EXPECT_EQ(sheet->TitleText(), c.title);
    EXPECT_EQ(sheet->TitleFontColour(), c.colour);
    EXPECT_EQ(sheet->PrintHead(), c.head);
  }
  // Cyan is red 0, green 255, blue 255; yellow is red 255, green 255, blue 0.
  EXPECT_EQ(iuiSh_ChBank::kFlaggedTitleColour, 0xFFFF00u);
  EXPECT_EQ(iuiSh_ChBank::kTitleColour, 0x00FFFFu);

  // Without banks the sheet keeps its own title.
  UseBankList("None");
  std::unique_ptr<cuiSheet> plain = Built("[St_ChBank]GI_L,Bank 2");
  EXPECT_EQ(plain->TitleText(), "Channels");
  EXPECT_EQ(plain->TitleFontColour(), std::nullopt);
  EXPECT_EQ(plain->PrintHead(), "Channels");
}

TEST_F(ListSheetTest, TheBankNameIsReadInTheRadiosCharacterSetWithAMissingCodeAsASpace) {
  std::string why;
  const std::optional<Charset> charset = Charset::Parse("20\tU+0020\n41\tA\n42\tB\n80\t\xC3\x84\n", why);
  ASSERT_TRUE(charset) << why;
  SetBankSizes({2});
  SetBankName(0,
              "A\x80\x7F"
              "B");
  UseBankList();
  SheetServices services = Services();
  services.charset = &*charset;
  std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse("[St_ChBank]GI_L,Bank 0"), services);
  ASSERT_TRUE(sheet->Build());
  EXPECT_EQ(sheet->PrintHead(), "Bank 1: A\xC3\x84 B ");
  // Without the set, codes outside printable ASCII show as spaces.
  EXPECT_EQ(Built("[St_ChBank]GI_L,Bank 0")->PrintHead(), "Bank 1: A  B ");
}

TEST_F(ListSheetTest, ABankSheetFollowsInsertAndDeleteWithoutARebuild) {
  SetBankSizes({2, 3, 4});
  UseBankList();
  std::unique_ptr<cuiSheet> sheet = Built("[St_ChBank]GI_L,Bank 1");
  ASSERT_EQ(ListedChannels(*sheet), (std::vector<std::int32_t>{2, 3, 4}));
  sheet->CellAt(0, 3)->cell.displayText = "kept";  // a rebuild would parse the row again
  ASSERT_TRUE(sheet->MakeCurrent(0, 3));
  const int rowHeight = sheet->Geometry().RowHeight(3);

  // Two channels join the bank.
  SetBankSizes({2, 5, 4});
  events_.Post(ev::kRecordInserted, nullptr, 2);
  Pump();
  EXPECT_EQ(ListedChannels(*sheet), (std::vector<std::int32_t>{2, 3, 4, 5, 6}));
  EXPECT_EQ(sheet->Geometry().RowHeight(5), rowHeight);
  EXPECT_EQ(sheet->CellAt(0, 3)->cell.displayText, "kept");
  EXPECT_EQ(sheet->Current().row, 3);
  EXPECT_EQ(sheet->Geometry().Rows(), 6);

  // Three leave it: the current row, now past the end, moves to the last row.
  ASSERT_TRUE(sheet->MakeCurrent(0, 5));
  SetBankSizes({2, 2, 4});
  events_.Post(ev::kRecordDeleted, nullptr, 3);
  Pump();
  EXPECT_EQ(ListedChannels(*sheet), (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(sheet->Current().row, 2);
  EXPECT_EQ(sheet->CellAt(0, 3), nullptr);

  // Emptied, the bank shows its title row; refilled, its rows are read again.
  SetBankSizes({2, 0, 4});
  events_.Post(ev::kRecordDeleted, nullptr, 2);
  Pump();
  EXPECT_EQ(sheet->Rows(), 1);
  SetBankSizes({2, 1, 4});
  events_.Post(ev::kRecordInserted, nullptr, 1);
  Pump();
  EXPECT_EQ(ListedChannels(*sheet), (std::vector<std::int32_t>{2}));
}

TEST_F(ListSheetTest, AMultiSelectionSurvivesTheListGrowing) {
  SetBankSizes({4});
  UseBankList();
  std::unique_ptr<cuiSheet> sheet = Built("[St_ChBank]GI_L,Bank 0");
  ASSERT_TRUE(sheet->MakeCurrent(0, 1));
  ASSERT_TRUE(sheet->MakeCurrent(0, 3, true));
  ASSERT_TRUE(sheet->Selection().Active());
  SetBankSizes({5});
  events_.Post(ev::kRecordInserted, nullptr, 1);
  Pump();
  EXPECT_EQ(sheet->Rows(), 6);
  EXPECT_TRUE(sheet->Selection().Active());
  EXPECT_TRUE(sheet->CellAt(0, 2)->selected);
  EXPECT_FALSE(sheet->CellAt(0, 5)->selected);
}

TEST_F(ListSheetTest, OnlyListsOfRecordsFollowInsertAndDelete) {
  SetBankSizes({2});
  modes_.languageCount = 2;
  struct Case {
    std::string kind, ref;
    int rowsAfter;
  };
  const Case cases[] = {
      {"C", "[St_ChBank]GI_L,Bank 0", 1 + 3},
      {"R", "GI_L,Mch", 1 + 3 + 1},
      {"Y", "[St_Common]GI_L", 1 + 2},  // the languages stay
  };
  for (const Case& c : cases) {
    SetBankSizes({2});
    UseList(c.kind);
    std::unique_ptr<cuiSheet> sheet = Built(c.ref);
    SetBankSizes({3});
    events_.Post(ev::kRecordInserted, nullptr, 1);
    Pump();
    EXPECT_EQ(sheet->Rows(), c.rowsAfter) << c.kind;
  }
  // A loop with its own count is no list: a plain sheet keeps its rows.
  UseSheet("R", {":(LoopFrom 2)", "{($Sel)(%CL_Mch_No[@ch0])}"});
  std::unique_ptr<cuiSheet> counted = Built();
  SetBankSizes({9});
  events_.Post(ev::kRecordInserted, nullptr, 1);
  Pump();
  EXPECT_EQ(counted->Rows(), 2);
}

TEST_F(ListSheetTest, ListSheetsRefreshTheirTitleSelectACellAndRepaintAChannelsRow) {
  SetBankSizes({4});
  UseBankList();
  std::unique_ptr<cuiSheet> sheet = Built("[St_ChBank]GI_L,Bank 0");
  events_.Post(ev::kTitleRefresh, nullptr, 0);
  Pump();
  EXPECT_EQ(view_.titleChanges, 1);

  PostCellsChanged(events_, ev::kSelectCell, {ct::CT_Mch, cl::CL_Mch_No, 2});
  Pump();
  EXPECT_EQ(sheet->Current().row, 3);
  PostCellsChanged(events_, ev::kSelectCell, {ct::CT_Mch, cl::CL_Mch_No, 40});  // no such row: stays
  Pump();
  EXPECT_EQ(sheet->Current().row, 3);

  view_.invalidated.clear();
  events_.Post(ev::kChannelRowChanged, nullptr, 1);
  Pump();
  EXPECT_EQ(view_.invalidated, (std::vector<std::pair<int, int>>{{0, 2}}));
}

}  // namespace
