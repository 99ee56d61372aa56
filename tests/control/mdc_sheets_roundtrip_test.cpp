// Every MDC sheet keeps each of its changes through save and reopen, on every
// model type (the system entries and the aliases are stored for all).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "links/linktable.h"
#include "support/recording_message_box.h"
#include "support/sheet_roundtrip.h"
#include "support/temp_dir.h"

namespace {

struct MdcSheet {
  const char* ref;
  int changed;  // per model type: every cell but the labels
};
constexpr MdcSheet kSheets[] = {
    {"GI_Sheet_Mdc_System", 5 * 6},   {"GI_Sheet_Mdc_General", 5 * 9}, {"GI_Sheet_Mdc_PttId", 5 * 8},
    {"GI_Sheet_Mdc_RadioChk", 5 * 2}, {"GI_Sheet_Mdc_Emg", 5 * 13},    {"GI_Sheet_Mdc_Stun", 5 * 4},
    {"GI_Sheet_Mdc_Alias,M", 3},  // the blank row: its name adds the alias, then its ID and beep type change
};

TEST(MdcSheetsRoundTripTest, EveryMdcSheetKeepsEveryChangeOnEveryModelType) {
  setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
  cmcGTex overlay;
  overlay.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
  RecordingMessageBox box;
  for (const ModelType type : kAllModelTypes) {
    for (const MdcSheet& sheet : kSheets) {
      SCOPED_TRACE(std::string(sheet.ref) + " on type " + std::to_string(static_cast<int>(type)));
      TempDir dir;
      const SheetRoundTripResult result =
          ChangeSaveAndReopen({overlay, LinkTable::Instance(), type, {"12", "DISPATCH"}}, sheet.ref, dir.File(""));
      EXPECT_EQ(result.changed, sheet.changed);
      EXPECT_EQ(result.lost, std::vector<std::string>{});
    }
  }
  EXPECT_TRUE(box.shown.empty());
  unsetenv("RWQ_DATA_DIR");
}

}  // namespace
