// Every radio settings sheet keeps each change through save and reopen on
// every model type: a row whose field the model type does not store must not
// be on that type's sheet.

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "links/linktable.h"
#include "support/recording_message_box.h"
#include "support/sheet_roundtrip.h"
#include "support/temp_dir.h"

namespace {

class SettingsSheetsTest : public testing::TestWithParam<ModelType> {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    ASSERT_TRUE(overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL"));
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  TempDir dir_;
  cmcGTex overlay_;
  RecordingMessageBox box_;
};

TEST_P(SettingsSheetsTest, EverySheetKeepsEveryChange) {
  for (const char* sheet :
       {"[St_Common]GI_Sheet_SetMode", "[St_Common]GI_Sheet_SetMode_Labels", "[St_Common]GI_Sheet_Common",
        "[St_Common]GI_Sheet_Emergency", "[St_Common]GI_Sheet_Expansion", "[St_Common]GI_Sheet_ExtPort"}) {
    const SheetRoundTripResult result =
        ChangeSaveAndReopen({overlay_, LinkTable::Instance(), GetParam(), {"12", "1.5", "NAME"}}, sheet, dir_.File(""));
    EXPECT_EQ(result.lost, std::vector<std::string>{}) << sheet;
    // The labels live in the accessory block: its sheet is empty while no accessory is fitted.
    if (std::string(sheet) != "[St_Common]GI_Sheet_SetMode_Labels") {
      EXPECT_GT(result.changed, 0) << sheet;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EachModelType, SettingsSheetsTest,
                         testing::Values(ModelType::kLandMobile, ModelType::kPmr, ModelType::kPmrVexl,
                                         ModelType::kDpmr446));

}  // namespace
