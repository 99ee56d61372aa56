// A later family of links is a table of rows; the evaluator runs them like the
// channel links. Here a small table of fixed-place fields on a small overlay.

#include "links/imagelinks.h"

#include <gtest/gtest.h>

#include "core/gtex.h"
#include "link_host.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"

namespace {

const ImageChoiceRow kChoices[] = {{cl::CL_Comm_Tot, BitField{0x10, 1, 7, 1}, {"GI_Sheet_Sel_OnOff", cl::Flex0}}};
const ImageNumericRow kNumbers[] = {{cl::CL_Comm_Tot + 1, BitField{0x11, 2, 4, 8}, {1, 99, 0, 1, false}}};
const ImageMinSecRow kTimers[] = {{cl::CL_Comm_Tot + 2, BitField{0x13, 1, 0, 8}, {10, 0, 60, true}}};
const ImageDecimalRow kDecimals[] = {{cl::CL_Comm_Tot + 3, BitField{0x14, 1, 0, 8}, {10, 1, 200, std::nullopt}}};

// A small overlay, a whole image and the evaluator over a table of rows.
class ImageLinksBench : public ::testing::Test {
 protected:
  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom image_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
};

class ImageLinksTest : public ImageLinksBench {
 protected:
  void SetUp() override {
    overlay_.OpenLines({"#GI_Sheet_Sel_OnOff_Cells", "{(%Flex0[0])}Off|{(%Flex0[1])}On", "#", "#GI_AppInd_TimerOff",
                        "Off", "#", "#End_Of_Ovl"});
    image_.Resize(cmcEeprom::kImageSize);
    image_.Fill(0xFF);
    AddImageRows(table_, kChoices);
    AddImageRows(table_, kNumbers);
    AddImageRows(table_, kTimers);
    AddImageRows(table_, kDecimals);
  }
  std::string Run(int link, int key, const char* typed = nullptr) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = key;
    if (typed) {
      request.editResult = kTextCommitted;
      request.editedText = typed;
    }
    links_.Evaluate(request, false);
    return request.displayText;
  }
};

TEST_F(ImageLinksTest, EachRowRunsItsFamilyOnItsFieldAndKeepsTheOtherBits) {
  EXPECT_EQ(Run(cl::CL_Comm_Tot, cellkey::kEvaluate), "On");
  EXPECT_EQ(Run(cl::CL_Comm_Tot, cellkey::kSpace), "Off");
  EXPECT_EQ(image_.GetByte(0x10), 0x7F);
  EXPECT_EQ(links_.LastChangeBits(), changebit::kEvaluated | changebit::kRecordModified);

  EXPECT_EQ(Run(cl::CL_Comm_Tot + 1, 0, "42"), "42");
  EXPECT_EQ(image_.GetByte(0x11), 0xF2);  // 42 = 0x2A across the two bytes' middle bits
  EXPECT_EQ(image_.GetByte(0x12), 0xAF);

  EXPECT_EQ(Run(cl::CL_Comm_Tot + 2, 0, "1:05"), " 1:10");
  EXPECT_EQ(image_.GetByte(0x13), 7);
  EXPECT_EQ(Run(cl::CL_Comm_Tot + 3, 0, "off"), "  0.100");  // no off value: clamped to the minimum
  EXPECT_EQ(Run(cl::CL_Comm_Tot + 4, 0), std::to_string(cl::CL_Comm_Tot + 4) + " *Yet*");
}

// Rows of the other kinds on one list of four values and a beep list of levels
// and levels + 100.
constexpr int kFirst = cl::CL_Comm_Tot + 10;
constexpr RowPart kPair[] = {{{0x20, 1, 7, 1}, 2}, {{0x21, 1, 0, 1}, 1}};
constexpr RowPart kLevel[] = {{{0x23, 1, 2, 1}, 100}, {{0x22, 1, 0, 4}, 1}};
void CopyToByte30(LinkCall& call, std::int64_t stored) {
  call.environment.image.SetByte(0x30, static_cast<std::uint8_t>(stored));
}
const ImageChoiceRow kKinds[] = {
    {kFirst, RowField(BitField{}).Of(kPair), {"GI_Sheet_Sel_Four", cl::Flex0}},
    {kFirst + 1, RowField(BitField{}).Of(kLevel), {"GI_Sheet_Sel_Beep", cl::Flex0}},
    {kFirst + 2, RowField(BitField{0x24, 1, 4, 1}).As(StoredAs::kInverted), {"GI_Sheet_Sel_OnOff", cl::Flex0}},
    {kFirst + 3, RowField(BitField{0x25, 1, 0, 8}).As(StoredAs::kOnIsFF), {"GI_Sheet_Sel_OnOff", cl::Flex0}},
    {kFirst + 4, RowField(BitField{0x26, 1, 0, 8}).While(BitField{0x27, 1, 0, 1}), {"GI_Sheet_Sel_Four", cl::Flex0}},
    {kFirst + 5, RowField(BitField{0x28, 1, 0, 8}).Then(CopyToByte30), {"GI_Sheet_Sel_Four", cl::Flex0}},
};
// The digit count of a DTMF entry (byte 20 of 21).
const ImageNumericRow kEntryRows[] = {
    {kFirst + 6, RowField(EntryTable::kDtmf, BitField{20, 1, 0, 8}), {0, 24, 0, 1, false}}};
const ImageFixedTextRow kTexts[] = {{kFirst + 7, "----"}};
// The same count with a dash for entry 0, and labels from the overlay.
constexpr ParameterText kDashForEntry0[] = {{0, "----"}};
const ImageNumericRow kDashedRows[] = {
    {kFirst + 8, RowField(EntryTable::kDtmf, BitField{20, 1, 0, 8}).Showing(kDashForEntry0), {0, 24, 0, 1, false}}};
const ImageLabelRow kLabels[] = {{kFirst + 9, "GI_Labels", 1}, {kFirst + 10, "GI_Labels"}};
// Digit strings: DTMF digits of an entry with their count (byte 20), a
// five-tone receive code with its plus mask (byte 12) and a dash for entry 0,
// a five-tone transmit code, both with the group digit of byte 0xA967, and
// four packed digits.
constexpr int kGroupDigit = 0xA967;
const ImageDigitCodeRow kDigitRows[] = {
    {kFirst + 11,
     RowField(EntryTable::kDtmf, BitField{8, 1, 0, 8}),
     {DigitCodeKind::kDtmf},
     20,
     std::nullopt,
     std::nullopt},
    {kFirst + 12,
     RowField(EntryTable::kReceiveCode, BitField{0, 1, 0, 8}).Showing(kDashForEntry0),
     {DigitCodeKind::kFiveToneWithPlus},
     std::nullopt,
     12,
     kGroupDigit},
    {kFirst + 13,
     RowField(EntryTable::kTransmitDigits, BitField{0, 1, 0, 8}),
     {DigitCodeKind::kFiveTone},
     std::nullopt,
     std::nullopt,
     kGroupDigit},
};
const ImagePackedDigitsRow kPackedRows[] = {{kFirst + 14, BitField{0x40, 1, 0, 8}, {4}}};

class ImageRowKindsTest : public ImageLinksBench {
 protected:
  void SetUp() override {
    overlay_.OpenLines(
        {"#GI_Sheet_Sel_OnOff_Cells", "{(%Flex0[0])}Off|{(%Flex0[1])}On", "#", "#GI_Sheet_Sel_Four_Cells",
         "{(%Flex0[0])}zero|{(%Flex0[1])}one|{(%Flex0[2])}two|{(%Flex0[3])}three", "#", "#GI_Sheet_Sel_Beep_Cells",
         "{(%Flex0[0])}L0|{(%Flex0[15])}L15|{(%Flex0[16])}L16|{(%Flex0[100])}+L0|{(%Flex0[116])}+L16", "#",
         "#GI_Labels", "Entry 0", "Entry 1", "#", "#End_Of_Ovl"});
    image_.Resize(cmcEeprom::kImageSize);
    image_.Fill(0x5A);
    AddImageRows(table_, kKinds);
    AddImageRows(table_, kEntryRows);
    AddImageRows(table_, kTexts);
    AddImageRows(table_, kDashedRows);
    AddImageRows(table_, kLabels);
    AddImageRows(table_, kDigitRows);
    AddImageRows(table_, kPackedRows);
  }
  cmcCellCapsule Request(int link, std::int32_t parameter = 0) {
    cell_.type = ct::CT_Null;
    cell_.link = link;
    cell_.parameter = parameter;
    cmcCellCapsule request;
    request.cell = &cell_;
    return request;
  }
  cmcCellCapsule Run(int link, int key, std::int32_t parameter = 0) {
    cmcCellCapsule request = Request(link, parameter);
    request.key = key;
    links_.Evaluate(request, false);
    return request;
  }
  cmcCellCapsule Commit(int link, const std::string& text, std::int32_t parameter = 0) {
    cmcCellCapsule request = Request(link, parameter);
    request.editResult = kTextCommitted;
    request.editedText = text;
    links_.Evaluate(request, false);
    return request;
  }
  cmcCellCapsule Choose(int link, std::int32_t value) {
    cmcCellObj chosen;
    chosen.link = cl::Flex0;
    chosen.parameter = value;
    cmcCellCapsule reply;
    reply.cell = &chosen;
    cmcCellCapsule request = Request(link);
    request.editResult = kPopupChoice;
    request.reply = &reply;
    links_.Evaluate(request, false);
    request.reply = nullptr;
    return request;
  }

  cmcCellObj cell_;
};

TEST_F(ImageRowKindsTest, CompositeAndLevelChoicesWriteEachBitBackAndKeepTheRestOfTheByte) {
  image_.SetByte(0x20, 0x00);
  image_.SetByte(0x21, 0xFE);
  EXPECT_EQ(Choose(kFirst, 3).displayText, "three");
  EXPECT_EQ(image_.GetByte(0x20), 0x80);
  EXPECT_EQ(image_.GetByte(0x21), 0xFF);
  EXPECT_EQ(Choose(kFirst, 2).displayText, "two");
  EXPECT_EQ(image_.GetByte(0x21), 0xFE);

  image_.SetByte(0x22, 0xA0);
  image_.SetByte(0x23, 0x00);
  EXPECT_EQ(Choose(kFirst + 1, 115).displayText, "L0");  // not in the list: refused
  EXPECT_EQ(Choose(kFirst + 1, 100).displayText, "+L0");
  EXPECT_EQ(image_.GetByte(0x22), 0xA0);
  EXPECT_EQ(image_.GetByte(0x23), 0x04);
  EXPECT_EQ(Choose(kFirst + 1, 15).displayText, "L15");
  EXPECT_EQ(image_.GetByte(0x22), 0xAF);
  EXPECT_EQ(image_.GetByte(0x23), 0x00);
}

TEST_F(ImageRowKindsTest, ALevelTheFieldCannotHoldIsRefusedAndSkippedWhenStepping) {
  image_.SetByte(0x22, 0x0F);
  image_.SetByte(0x23, 0x00);
  EXPECT_EQ(Choose(kFirst + 1, 16).displayText, "L15");  // a four-bit level holds no 16
  EXPECT_EQ(Choose(kFirst + 1, 116).displayText, "L15");
  EXPECT_EQ(Run(kFirst + 1, cellkey::kSpace).displayText, "+L0");  // past L16
  EXPECT_EQ(Run(kFirst + 1, cellkey::kSpace).displayText, "L0");   // past +L16, round to the first
  EXPECT_EQ(image_.GetByte(0x22), 0x00);
  EXPECT_EQ(image_.GetByte(0x23), 0x00);
}

TEST_F(ImageRowKindsTest, InvertedAndFFFlags) {
  image_.SetByte(0x24, 0xEF);  // bit 4 clear: on
  EXPECT_EQ(Run(kFirst + 2, cellkey::kEvaluate).displayText, "On");
  EXPECT_EQ(Run(kFirst + 2, cellkey::kSpace).displayText, "Off");
  EXPECT_EQ(image_.GetByte(0x24), 0xFF);

  image_.SetByte(0x25, 0x00);
  EXPECT_EQ(Run(kFirst + 3, cellkey::kSpace).displayText, "On");
  EXPECT_EQ(image_.GetByte(0x25), 0xFF);
  EXPECT_EQ(Run(kFirst + 3, cellkey::kSpace).displayText, "Off");
  EXPECT_EQ(image_.GetByte(0x25), 0x00);
  image_.SetByte(0x25, 0x01);  // neither 0 nor 0xFF
  cmcCellCapsule strange = Run(kFirst + 3, cellkey::kEvaluate);
  EXPECT_EQ(strange.displayText, "error");
  EXPECT_EQ(strange.marks & cellmark::kWarning, cellmark::kWarning);
}

TEST_F(ImageRowKindsTest, ACellActsOnlyWhileItsBitIsSet) {
  image_.SetByte(0x26, 1);
  image_.SetByte(0x27, 0xFE);
  cmcCellCapsule idle = Run(kFirst + 4, cellkey::kSpace);
  EXPECT_EQ(idle.displayText, "");
  EXPECT_EQ(image_.GetByte(0x26), 1);
  image_.SetByte(0x27, 0x01);
  EXPECT_EQ(Run(kFirst + 4, cellkey::kSpace).displayText, "two");
  EXPECT_EQ(image_.GetByte(0x26), 2);
}

TEST_F(ImageRowKindsTest, TheStoreHookRunsAfterEachStore) {
  image_.SetByte(0x28, 0);
  Run(kFirst + 5, cellkey::kSpace);
  EXPECT_EQ(image_.GetByte(0x30), 1);
}

TEST_F(ImageRowKindsTest, AParameterPastItsPlaceLeavesTheWholeImageUnchanged) {
  image_.SetByte(0xACAE + 7 * 21 + 20, 3);
  EXPECT_EQ(Run(kFirst + 6, cellkey::kSpace, 7).displayText, "4");
  EXPECT_EQ(image_.GetByte(0xACAE + 7 * 21 + 20), 4);
  const cmcEeprom before = image_;
  for (const std::int32_t parameter : {8, -1, 1000}) {
    cmcCellCapsule request = Request(kFirst + 6, parameter);
    request.editResult = kTextCommitted;
    request.editedText = "9";
    links_.Evaluate(request, false);
    EXPECT_EQ(request.displayText, "") << parameter;
    EXPECT_EQ(Run(kFirst + 6, cellkey::kSpace, parameter).displayText, "") << parameter;
  }
  EXPECT_TRUE(image_ == before);
}

TEST_F(ImageRowKindsTest, AStoredValueTheRowCouldNeverWriteCarriesTheWarningMark) {
  image_.SetByte(0x28, 7);
  cmcCellCapsule strange = Run(kFirst + 5, cellkey::kEvaluate);
  EXPECT_EQ(strange.displayText, "error");
  EXPECT_EQ(strange.marks & cellmark::kWarning, cellmark::kWarning);
  image_.SetByte(0xACAE + 20, 30);
  EXPECT_EQ(Run(kFirst + 6, cellkey::kEvaluate, 0).marks & cellmark::kWarning, cellmark::kWarning);
  image_.SetByte(0xACAE + 20, 24);
  EXPECT_EQ(Run(kFirst + 6, cellkey::kEvaluate, 0).marks & cellmark::kWarning, 0);
  EXPECT_EQ(Run(kFirst + 7, cellkey::kSpace).displayText, "----");
}

TEST_F(ImageRowKindsTest, AParameterWithAFixedTextShowsItAndIgnoresKeys) {
  image_.SetByte(0xACAE + 20, 3);
  image_.SetByte(0xACAE + 21 + 20, 3);
  const cmcEeprom before = image_;
  for (const int key : {cellkey::kSpace, cellkey::kBackspace, cellkey::kEnter, int{'5'}}) {
    EXPECT_EQ(Run(kFirst + 8, key, 0).displayText, "----") << key;
  }
  EXPECT_TRUE(image_ == before);
  EXPECT_EQ(Run(kFirst + 8, cellkey::kSpace, 1).displayText, "4");  // the other entries keep their value
  EXPECT_EQ(image_.GetByte(0xACAE + 21 + 20), 4);
}

TEST_F(ImageRowKindsTest, ALabelComesFromItsOverlayLineOrTheLineOfTheParameter) {
  const cmcEeprom before = image_;
  EXPECT_EQ(Run(kFirst + 9, cellkey::kSpace, 0).displayText, "Entry 1");
  EXPECT_EQ(Run(kFirst + 10, cellkey::kSpace, 0).displayText, "Entry 0");
  EXPECT_EQ(Run(kFirst + 10, cellkey::kEnter, 1).displayText, "Entry 1");
  EXPECT_EQ(Run(kFirst + 10, cellkey::kSpace, 2).displayText, "");   // past the block
  EXPECT_EQ(Run(kFirst + 10, cellkey::kSpace, -1).displayText, "");  // no line has a negative number
  EXPECT_TRUE(image_ == before);
}

TEST_F(ImageRowKindsTest, DtmfDigitsSetTheirCountAndACountAbove24ReadsAs24) {
  const int entry = 0xACAE + 2 * 21;
  EXPECT_EQ(Commit(kFirst + 11, "12*#", 2).displayText, "12*#");
  EXPECT_EQ(image_.GetByte(entry + 8), 0x12);
  EXPECT_EQ(image_.GetByte(entry + 9), 0xEF);
  EXPECT_EQ(image_.GetByte(entry + 10), 0x5A);  // past the digits: left alone
  EXPECT_EQ(image_.GetByte(entry + 20), 4);
  EXPECT_EQ(Run(kFirst + 11, cellkey::kEvaluate, 2).marks & cellmark::kWarning, 0);

  image_.SetByte(entry + 20, 30);
  const cmcCellCapsule over = Run(kFirst + 11, cellkey::kEvaluate, 2);
  EXPECT_EQ(over.displayText.size(), 24u);
  EXPECT_EQ(over.marks & cellmark::kWarning, cellmark::kWarning);
  EXPECT_EQ(Commit(kFirst + 11, "x", 2).displayText.size(), 24u);  // no digit: nothing changes
  EXPECT_EQ(image_.GetByte(entry + 20), 30);
}

TEST_F(ImageRowKindsTest, FiveToneCodesUseTheGroupDigitAndKeepTheirEighthNibble) {
  image_.SetByte(kGroupDigit, 0xA5);  // group digit 5
  const int code = 0xAE96 + 18;       // receive code 1
  image_.SetByte(code + 12, 0);
  EXPECT_EQ(Commit(kFirst + 12, "12+4*", 1).displayText, "12+4*");
  EXPECT_EQ(image_.GetByte(code), 0x12);
  EXPECT_EQ(image_.GetByte(code + 1), 0x04);
  EXPECT_EQ(image_.GetByte(code + 2), 0x5F);
  EXPECT_EQ(image_.GetByte(code + 3), 0xFA);  // the eighth nibble stays
  EXPECT_EQ(image_.GetByte(code + 12), 0x20);
  const cmcEeprom before = image_;
  EXPECT_EQ(Commit(kFirst + 12, "987", 0).displayText, "----");  // entry 0 has no code
  EXPECT_TRUE(image_ == before);

  const int transmit = 0x8BB0 + 4 * 3;
  EXPECT_EQ(Commit(kFirst + 13, "3G+1", 3).displayText, "3*1");  // no "+" in a transmit code
  EXPECT_EQ(image_.GetByte(transmit), 0x35);
  EXPECT_EQ(image_.GetByte(transmit + 1), 0x1F);
  EXPECT_EQ(image_.GetByte(transmit + 3), 0xFA);
}

TEST_F(ImageRowKindsTest, PackedDigitsKeepTheFirstDigitsOfALongText) {
  EXPECT_EQ(Commit(kFirst + 14, "123456").displayText, "1234");
  EXPECT_EQ(image_.GetByte(0x40), 0x12);
  EXPECT_EQ(image_.GetByte(0x41), 0x34);
  EXPECT_EQ(image_.GetByte(0x42), 0x5A);
  image_.SetByte(0x41, 0x3C);
  EXPECT_EQ(Run(kFirst + 14, cellkey::kEvaluate).marks & cellmark::kWarning, cellmark::kWarning);
}

}  // namespace
