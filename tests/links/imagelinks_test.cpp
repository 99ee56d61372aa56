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

class ImageLinksTest : public ::testing::Test {
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

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom image_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
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

}  // namespace
