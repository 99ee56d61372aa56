// The save-and-reopen check of the sheet issues, proven on a shipped sheet and
// on a fixture sheet with one row whose field the encode leaves out.

#include "support/sheet_roundtrip.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/imagelinks.h"
#include "links/linktable.h"
#include "markup/ids.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

// Rows in block 15 (stored for every model type), and one in block 27, which
// only the VEXL PMR type stores: on another type its change is never saved.
const ImageChoiceRow kChoices[] = {
    {cl::CL_Comm_Tot, BitField{0x8BB0, 1, 0, 1}, {gi::GI_Sheet_Sel_Misc_OnOff2, cl::Flex0}},
    {cl::CL_Comm_Tot_Beep, BitField{0x8C30, 1, 0, 1}, {gi::GI_Sheet_Sel_Misc_OnOff2, cl::Flex0}},
};
const ImageNumericRow kNumbers[] = {{cl::CL_Comm_Tot_Timer, BitField{0x8BB1, 1, 0, 8}, {0, 99, 0, 1, false}}};
const ImageSyncWordRow kSyncWords[] = {{cl::CL_Comm_Tot_Reset, BitField{0x8BB2, 2, 0, 16}}};

class SheetRoundTripTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    std::string text = ReadWholeFile(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    text.insert(text.find("#End_Of_Ovl"),
                "#GI_Sheet_RoundTrip_Style\nC(TitleString=Round trip)\n#\n"
                "#GI_Sheet_RoundTrip_BasicCell\n{($Basic)(%CT_Null.)}\n#\n"
                "#GI_Sheet_RoundTrip_Cells\n"
                "{($MchTitle)}Flag|{($Choice)(%CL_Comm_Tot)}\n"
                "{($MchTitle)}Number|{($Choice)(%CL_Comm_Tot_Timer)}\n"
                "{($MchTitle)}Sync word|{($Choice)(%CL_Comm_Tot_Reset)}\n"
                "{($MchTitle)}Other type's flag|{($Choice)(%CL_Comm_Tot_Beep)}\n#\n");
    overlay_.Open(dir_.Write("QZ5071KE.OVL", text));
    AddImageRows(table_, kChoices);
    AddImageRows(table_, kNumbers);
    AddImageRows(table_, kSyncWords);
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  TempDir dir_;
  cmcGTex overlay_;
  LinkTable table_;
  RecordingMessageBox box_;
};

TEST_F(SheetRoundTripTest, FindsTheRowWhoseFieldTheModelTypeDoesNotStore) {
  const SheetRoundTripResult result =
      ChangeSaveAndReopen({overlay_, table_, ModelType::kLandMobile}, "GI_Sheet_RoundTrip", dir_.File(""));
  EXPECT_EQ(result.changed, 4);
  EXPECT_EQ(result.unchanged, std::vector<std::string>{});
  ASSERT_EQ(result.lost.size(), 1u);
  EXPECT_EQ(result.lost[0].rfind("row 3 column 1: ", 0), 0u) << result.lost[0];
}

TEST_F(SheetRoundTripTest, TheSameRowsKeepEveryChangeOnTheTypeThatStoresThem) {
  const SheetRoundTripResult result =
      ChangeSaveAndReopen({overlay_, table_, ModelType::kPmrVexl}, "GI_Sheet_RoundTrip", dir_.File(""));
  EXPECT_GE(result.changed, 4);
  EXPECT_EQ(result.lost, std::vector<std::string>{});
}

TEST_F(SheetRoundTripTest, AShippedChannelSheetKeepsEveryChange) {
  const SheetRoundTripResult result =
      ChangeSaveAndReopen({overlay_, LinkTable::Instance(), ModelType::kPmr, {"446.10625", "100.0", "NAME"}},
                          "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0", dir_.File(""));
  EXPECT_EQ(result.changed, 16 * 11);  // all but the number, the flags and the scan lists of 16 channels
  EXPECT_EQ(result.lost, std::vector<std::string>{});
}

}  // namespace
