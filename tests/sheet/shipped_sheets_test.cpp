// The shipped channel sheets over the evaluator, on the initial images.

#include <gtest/gtest.h>

#include <cstdlib>

#include "links/celllinks.h"
#include "links/link_host.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "sheet/mchwin.h"
#include "sheet/sheettext.h"
#include "sheet_fixture.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

const std::string kData = std::string(RWQ_SOURCE_DATA_DIR) + "/";

class ShippedSheetTest : public SheetFixture {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", kData.c_str(), 1);
    // The shipped overlay, and a list of every channel as the land-mobile sheet shows a bank.
    std::string text = ReadWholeFile(kData + "QZ5071KE.OVL");
    const std::string header = "#GI_Sheet_Mch_Lmr_Style\n";
    const std::size_t from = text.find(header);
    std::string list = text.substr(from, text.find("#GI_Sheet_Mch_Pmr_Style") - from);
    for (std::size_t at; (at = list.find("GI_Sheet_Mch_Lmr_")) != std::string::npos;)
      list.replace(at, 16, "GI_Sheet_Mch_All");
    list.replace(list.find("C(TitleString"), 1, "R");
    text.insert(text.find("#End_Of_Ovl"), list);
    shipped_.Open(dir_.Write("QZ5071KE.OVL", text));
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  void Load(ModelType type) {
    cloneio::LoadInitialImage(shipped_, type, image_);
    environment_.modelType = type;
    modes_.modelType = type;
  }
  std::unique_ptr<cuiSheet> Open(const std::string& ref) {
    SheetServices services{shipped_, shipped_, image_, measurer_};
    services.links = &links_;
    services.events = &events_;
    services.view = &view_;
    services.modes = modes_;
    std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse(ref), services);
    EXPECT_TRUE(sheet->Build()) << ref;
    return sheet;
  }
  // The column of the cell with the link in the sheet's template row.
  static int ColumnOf(const cuiSheet& sheet, int link) {
    for (int column = 0; column < sheet.Columns(); ++column) {
      if (sheet.CellAt(column, sheet.Rows() - 1)->cell.link == link) return column;
    }
    return -1;
  }

  TempDir dir_;
  cmcGTex shipped_;
  cmcFCache choices_{shipped_};
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, shipped_, choices_, host_, nullptr, ModelType::kLandMobile, 0, {}, &events_};
  CellLinks links_{environment_};
};

TEST_F(ShippedSheetTest, ThePmrBankSheetListsItsChannelsRowByRow) {
  Load(ModelType::kPmr);
  std::unique_ptr<cuiSheet> sheet = Open("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  ASSERT_EQ(sheet->Rows(), 17);
  EXPECT_EQ(sheet->Geometry().FixedRows(), 1);
  EXPECT_EQ(sheet->Geometry().FixedColumns(), 1);
  const int frequency = ColumnOf(*sheet, cl::CL_Mch_FreqR_Pmr446);
  ASSERT_GE(frequency, 0);
  for (int row = 1; row < sheet->Rows(); ++row) {
    EXPECT_EQ(sheet->CellAt(frequency, row)->cell.parameter, row - 1);
    EXPECT_EQ(sheet->CellAt(frequency, row)->cell.type, ct::CT_Mch_Pmr446);
  }
  const std::vector<std::string> first = RowTexts(*sheet, 1);
  EXPECT_EQ(first[0], "1-  1");
  EXPECT_EQ(first[frequency], "446.006250");
  EXPECT_EQ(RowTexts(*sheet, 16)[frequency], "446.193750");
  // Every column is at least as wide as its title.
  for (int column = 0; column < sheet->Columns(); ++column) {
    EXPECT_GE(sheet->Geometry().ColumnWidth(column), static_cast<int>(8 * RowTexts(*sheet, 0)[column].size()));
  }
}

TEST_F(ShippedSheetTest, TypingOnABlankBankRowCreatesTheChannelThere) {
  Load(ModelType::kLandMobile);
  datCh::SetBankSize(image_, 0, 2);
  std::unique_ptr<cuiSheet> sheet = Open("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  ASSERT_EQ(sheet->Rows(), 3);
  const int receive = ColumnOf(*sheet, cl::CL_Mch_Operating_Freq);
  EXPECT_EQ(sheet->CellText(0, 1), "New");
  sheet->CellAction(receive, 1, 0, kNoCellLink, std::string("146.52"));
  EXPECT_EQ(sheet->CellText(receive, 1), "146.520000");
  EXPECT_EQ(sheet->CellText(0, 1), "1-  1");
  EXPECT_EQ(sheet->CellText(0, 2), "New");
}

TEST_F(ShippedSheetTest, AWidthChangeRebuildsTheSheetAtTheNextPumpNotInsideTheAction) {
  Load(ModelType::kLandMobile);
  datCh::SetBankSize(image_, 0, 1);
  std::unique_ptr<cuiSheet> sheet = Open("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  const int receive = ColumnOf(*sheet, cl::CL_Mch_Operating_Freq);
  sheet->CellAction(receive, 1, 0, kNoCellLink, std::string("146.52"));
  Pump();
  const int bandwidth = ColumnOf(*sheet, cl::CL_Mch_WNM);
  const int repaints = view_.wholeRepaints;
  sheet->CellAction(bandwidth, 1, cellkey::kSpace);
  EXPECT_EQ(sheet->CellText(bandwidth, 1), "Narrow");
  EXPECT_TRUE(sheet->RebuildPending());
  EXPECT_EQ(view_.wholeRepaints, repaints);
  Pump();
  EXPECT_FALSE(sheet->RebuildPending());
  EXPECT_EQ(view_.wholeRepaints, repaints + 1);
  EXPECT_EQ(sheet->CellText(bandwidth, 1), "Narrow");
}

// The row after the last of 128 channels is blank: nothing is read or written
// for it, and creating a channel there answers with the overflow message.
TEST_F(ShippedSheetTest, TheNewChannelRowOfAFullListIsInert) {
  Load(ModelType::kLandMobile);
  datCh::SetBankSize(image_, 0, memmap::kMaxChannels);
  datCh channel(image_);
  for (int number = 0; number < memmap::kMaxChannels; ++number) {
    channel.load(datCh::kFirstChannelKind, number);
    channel.initialise();
    channel.freqR = 146000000;
    channel.store();
  }
  std::unique_ptr<cuiSheet> sheet = Open("GI_Sheet_Mch_All,Mch");
  ASSERT_EQ(sheet->Rows(), 1 + memmap::kMaxChannels + 1);
  const int last = sheet->Rows() - 1;
  const int receive = ColumnOf(*sheet, cl::CL_Mch_Operating_Freq);
  EXPECT_EQ(sheet->CellAt(receive, last)->cell.parameter, memmap::kMaxChannels);
  EXPECT_EQ(sheet->CellText(0, last), "New");
  EXPECT_EQ(sheet->CellText(receive, last), "");
  const cmcEeprom before = image_;
  RecordingMessageBox box;
  sheet->CellAction(receive, last, 0, kNoCellLink, std::string("146.52"));
  sheet->CellAction(ColumnOf(*sheet, cl::CL_Mch_Dup), last, cellkey::kSpace);
  EXPECT_TRUE(image_ == before);
  ASSERT_EQ(box.shown.size(), 1u);  // a key alone only begins the entry
  EXPECT_EQ(box.shown[0].text, shipped_.GetBlockText("GI_AppMess_ChErr_Overflow"));
  // Printed, the list has the channels in use only.
  std::unique_ptr<cuiSheet> printed = CreateSheet(SheetRef::Parse("GI_Sheet_Mch_All,Mch"),
                                                  SheetServices{shipped_, shipped_, image_, measurer_, &links_});
  printed->SetPrintTarget(PrintTarget{});
  ASSERT_TRUE(printed->Build());
  EXPECT_EQ(printed->Rows(), 1 + memmap::kMaxChannels);
}

// With 128 channels in use the window's position after the last channel
// shows no channel's data and takes nothing typed there.
TEST_F(ShippedSheetTest, TheWindowsPositionAfterAFullListIsInert) {
  Load(ModelType::kLandMobile);
  datCh::SetBankSize(image_, 0, memmap::kMaxChannels);
  datCh channel(image_);
  for (int number = 0; number < memmap::kMaxChannels; ++number) {
    channel.load(datCh::kFirstChannelKind, number);
    channel.initialise();
    channel.freqR = 146000000;
    channel.store();
  }
  SheetServices services{shipped_, shipped_, image_, measurer_, &links_, &events_, &view_};
  iuiMchWin window(services, &environment_);
  ASSERT_TRUE(window.Open(0, 127));
  ASSERT_TRUE(window.Next());
  EXPECT_EQ(window.Channel(), memmap::kMaxChannels);
  EXPECT_FALSE(window.Next());
  cuiSheet& sheet = *window.Sheet();
  int receiveRow = -1;
  for (int row = 0; row < sheet.Rows(); ++row) {
    if (sheet.CellAt(1, row)->cell.link == cl::CL_Mch_Operating_Freq) receiveRow = row;
  }
  ASSERT_GE(receiveRow, 0);
  EXPECT_EQ(sheet.CellText(1, receiveRow), "");
  const cmcEeprom before = image_;
  RecordingMessageBox box;
  sheet.CellAction(1, receiveRow, 0, kNoCellLink, std::string("146.52"));
  EXPECT_TRUE(image_ == before);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, shipped_.GetBlockText("GI_AppMess_ChErr_Overflow"));
  // One step back, the last channel shows its frequency.
  ASSERT_TRUE(window.Previous());
  EXPECT_EQ(sheet.CellText(1, receiveRow), "146.000000");
}

TEST_F(ShippedSheetTest, TheBankOperationSheetSizesTheBanks) {
  Load(ModelType::kLandMobile);
  cmcEeprom initial = image_;
  environment_.initialImage = &initial;
  const int before = datCh::BankSize(image_, 0);
  std::unique_ptr<cuiSheet> sheet = Open("GI_Sheet_Mch_BankOp");
  ASSERT_EQ(sheet->Rows(), 1 + memmap::kBankCount + 2);
  EXPECT_EQ(RowTexts(*sheet, 0), (std::vector<std::string>{"Bank", "Name", "Channels", "Trunking"}));
  EXPECT_EQ(sheet->CellText(2, 1), std::to_string(before));
  sheet->CellAction(2, 1, 0, kNoCellLink, std::to_string(before + 2));
  EXPECT_EQ(datCh::BankSize(image_, 0), before + 2);
  EXPECT_EQ(sheet->CellText(2, 1), std::to_string(before + 2));
  EXPECT_EQ(sheet->CellText(2, 1 + memmap::kBankCount), std::to_string(datCh::ChannelsInUse(image_)));

  // The name in the radio's character set, a code the set lacks as a space.
  const Charset charset = Charset::LoadShipped();
  environment_.charset = &charset;
  ASSERT_FALSE(charset.DisplayOf(0xFF));
  const std::uint8_t name[8] = {'W', 0xFF, 'S', 'T', 0xFF, 0xFF, 0xFF, 0xFF};
  image_.WriteBlock(memmap::addr::kBankNames + 8, name, 8);
  EXPECT_EQ(sheet->CellText(1, 2), "W ST    ");
}

}  // namespace
