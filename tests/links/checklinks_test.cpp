// The check links sum the marks of fixture rows: a stored value no row could
// have written is a warning, or an error for a check that counts them so;
// a field the model type does not store reads no mark.

#include "links/checklinks.h"

#include <gtest/gtest.h>

#include "core/gtex.h"
#include "link_host.h"
#include "links/celllinks.h"
#include "links/imagelinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"

namespace {

constexpr int kEveryType = 0x8BB0;       // block 15, stored for every model type
constexpr int kVexlOnly = 0x8C30;        // block 27, stored for the VEXL PMR type only
constexpr int kDtmfCount = 0xACAE + 20;  // byte 20 of DTMF entry 0, entries 21 bytes apart

constexpr int kRow = cl::CL_Comm_Tot;
const ImageChoiceRow kChoices[] = {
    {kRow, BitField{kEveryType, 1, 0, 8}, {"GI_Sheet_Sel_OnOff", cl::Flex0}},
    {kRow + 1, BitField{kVexlOnly, 1, 0, 8}, {"GI_Sheet_Sel_OnOff", cl::Flex0}},
};
const ImageNumericRow kCounts[] = {
    {kRow + 2, RowField(EntryTable::kDtmf, BitField{20, 1, 0, 8}), {0, 24, 0, 1, false}}};

const CheckedRow kCommonRows[] = {{kRow}, {kRow + 1}};
const CheckedRow kDtmfRows[] = {{kRow + 2, 0, 7}};
const CheckLinkRow kChecks[] = {
    {cl::CL_Check_Common, kCommonRows},
    {cl::CL_Check_SetMode, kDtmfRows, CheckLevel::kError},
};

class CheckLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    overlay_.OpenLines({"#GI_Sheet_Sel_OnOff_Cells", "{(%Flex0[0])}Off|{(%Flex0[1])}On", "#", "#End_Of_Ovl"});
    image_.Resize(cmcEeprom::kImageSize);
    image_.Fill(0);
    AddImageRows(table_, kChoices);
    AddImageRows(table_, kCounts);
    AddCheckLinks(table_, kChecks);
  }
  // The check cell as the warning check evaluates it: marks, and no text of its own.
  int Check(int link) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cell.argument = "[St_Common]GI_Sheet_Common";
    cmcCellCapsule request;
    request.cell = &cell;
    links_.Evaluate(request, false);
    EXPECT_EQ(request.displayText, "");
    return request.marks & (cellmark::kWarning | cellmark::kError);
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom image_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
};

TEST_F(CheckLinksTest, SumTheMarksOfTheirRowsOnlyWhereTheModelTypeStoresTheField) {
  struct Case {
    int address;
    std::uint8_t value;
    ModelType type;
    int common;   // the marks of the common check
    int entries;  // and of the DTMF check, which counts any mark as an error
  };
  constexpr int W = cellmark::kWarning;
  constexpr int E = cellmark::kError;
  const Case cases[] = {
      {kEveryType, 1, ModelType::kLandMobile, 0, 0},
      {kEveryType, 2, ModelType::kLandMobile, W, 0},
      {kEveryType, 2, ModelType::kDpmr446, W, 0},
      {kVexlOnly, 2, ModelType::kLandMobile, 0, 0},  // not written for this type: no mark
      {kVexlOnly, 2, ModelType::kPmrVexl, W, 0},
      {kDtmfCount + 7 * 21, 24, ModelType::kLandMobile, 0, 0},
      {kDtmfCount + 7 * 21, 25, ModelType::kLandMobile, 0, E},  // the last entry is summed
      {kDtmfCount + 8 * 21, 25, ModelType::kLandMobile, 0, 0},  // past the entries: another table's byte
      {kDtmfCount, 0xFF, ModelType::kPmr, 0, E},
  };
  for (const Case& c : cases) {
    image_.Fill(0);
    image_.SetByte(c.address, c.value);
    environment_.modelType = c.type;
    EXPECT_EQ(Check(cl::CL_Check_Common), c.common) << std::hex << c.address << " " << int{c.value};
    EXPECT_EQ(Check(cl::CL_Check_SetMode), c.entries) << std::hex << c.address << " " << int{c.value};
  }
}

TEST_F(CheckLinksTest, ARowShowsItsStrangeValueEvenWhereItsMarkIsDropped) {
  image_.SetByte(kVexlOnly, 2);
  cmcCellObj cell;
  cell.type = ct::CT_Null;
  cell.link = kRow + 1;
  cmcCellCapsule request;
  request.cell = &cell;
  links_.Evaluate(request, false);
  EXPECT_EQ(request.displayText, "error");
  EXPECT_EQ(request.marks & cellmark::kWarning, 0);
}

}  // namespace
