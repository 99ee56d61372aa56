#include "control/warningcheck.h"

#include <gtest/gtest.h>

#include "control/document.h"
#include "control/prepareimage.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "links/checklinks.h"
#include "links/imagelinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/memorymap.h"
#include "sheet/headless.h"
#include "support/temp_dir.h"

namespace {

// Check links whose marks the test chooses: the common check by its
// parameter, the channel check by the bank.
class WarningCheckTest : public testing::Test {
 protected:
  void SetUp() override {
    table_.Add(cl::CL_Check_Common, [this](LinkCall& call) { return Mark(call, commonMarks_); });
    table_.Add(cl::CL_Check_SetMode, [this](LinkCall& call) { return Mark(call, setModeMarks_); });
    table_.Add(cl::CL_Check_Mch, [this](LinkCall& call) {
      checkedBanks_.push_back(call.number);
      return Mark(call, call.number == 2 ? cellmark::kError : call.number == 5 ? cellmark::kWarning : 0);
    });
  }
  static LinkOutcome Mark(LinkCall& call, int marks) {
    call.request.marks |= marks;
    return {};
  }
  WarningMarks Run(std::vector<std::string> list, ModelType type = ModelType::kLandMobile) {
    list.insert(list.begin(), "#GI_WarningCheckList");
    list.push_back("#");
    list.push_back("#GI_Other");
    list.push_back("{(%CL_Check_Common)}Not in the list");
    list.push_back("#");
    overlay_.OpenLines(list);
    return RunWarningCheck(overlay_, links_, type);
  }

  cmcGTex overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  LinkEnvironment environment_{image_, overlay_, choices_, editors_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
  int commonMarks_ = 0;
  int setModeMarks_ = 0;
  std::vector<std::int32_t> checkedBanks_;
};

TEST_F(WarningCheckTest, CollectsDisplayTextsOrArgumentsOfMarkedCellsAndBankSheets) {
  commonMarks_ = cellmark::kWarning;
  setModeMarks_ = cellmark::kError | cellmark::kWarning;
  const WarningMarks marks =
      Run({"{(%CL_Check_Common)}Common settings", "{(%CL_Check_SetMode:GI_Sheet_SetMode)}"}, ModelType::kPmrVexl);
  EXPECT_EQ(marks.warnings,
            (std::vector<std::string>{"Common settings", "GI_Sheet_SetMode", "[St_ChBank]GI_Sheet_Mch_PmrB,Bank 5"}));
  EXPECT_EQ(marks.errors, (std::vector<std::string>{"GI_Sheet_SetMode", "[St_ChBank]GI_Sheet_Mch_PmrB,Bank 2"}));
  EXPECT_EQ(checkedBanks_, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(WarningCheckTest, AnEmptyListStillChecksTheBanksAndCleanCellsGiveNoMarks) {
  const WarningMarks marks = Run({});
  EXPECT_EQ(marks.errors, (std::vector<std::string>{"[St_ChBank]GI_Sheet_Mch_Lmr,Bank 2"}));
  EXPECT_EQ(Run({"{(%CL_Check_Common)}Common"}).warnings.size(), 1u);
}

TEST_F(WarningCheckTest, BankCheckCellsNameTheModelsSheets) {
  EXPECT_EQ(BankCheckCell(ModelType::kLandMobile, 0), "{(%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0)}");
  EXPECT_EQ(BankCheckCell(ModelType::kDpmr446, 7), "{(%CL_Check_Mch:[St_ChBank]GI_Sheet_Mch_DPmr446,Bank 7)}");
}

TEST(PrepareImageTest, SetsTheFormatMarkerAndConvertsOldEmergencyKeys) {
  using namespace memmap::addr;
  struct Case {
    std::vector<std::uint8_t> keys;  // from position 0
    bool silent;
    bool repeat;
  };
  const Case cases[] = {
      {{27}, false, true},      {{28}, false, false},       {{37}, true, true},     {{38}, true, false},
      {{37, 28}, false, false}, {{37, 38, 27}, true, true}, {{5, 6}, false, false},
  };
  for (const Case& c : cases) {
    cmcEeprom image(cmcEeprom::kImageSize);
    image.SetByte(kDataFormatMarker, 3);
    for (std::size_t p = 0; p < c.keys.size(); ++p) image.SetByte(kKeyFunctions + static_cast<int>(p), c.keys[p]);
    PrepareImage(image);
    EXPECT_EQ(image.GetByte(kDataFormatMarker), 1);
    for (std::size_t p = 0; p < c.keys.size(); ++p) {
      const bool old = c.keys[p] == 27 || c.keys[p] == 28 || c.keys[p] == 37 || c.keys[p] == 38;
      EXPECT_EQ(image.GetByte(kKeyFunctions + static_cast<int>(p)), old ? 67 : c.keys[p]);
    }
    EXPECT_EQ((image.GetByte(kEmergencySettings) & 0x20) != 0, c.silent) << int(c.keys[0]);
    EXPECT_EQ(image.GetByte(kEmergencyRepeatCycle) == 1, c.repeat) << int(c.keys[0]);
  }
  cmcEeprom tiny(16);
  PrepareImage(tiny);  // too small for any of it: left alone
  EXPECT_EQ(tiny, cmcEeprom(16));
}

// A document checked without a window, on the shipped overlay with two check
// lines: a common-settings row stored for every type, and a row of a block
// that only the VEXL PMR type stores, whose check counts errors.
constexpr int kEveryType = 0x8BB0;
constexpr int kVexlOnly = 0x8C30;
const ImageChoiceRow kCheckedRows[] = {
    {cl::CL_Comm_Tot, BitField{kEveryType, 1, 0, 8}, {gi::GI_Sheet_Sel_Misc_OnOff2, cl::Flex0}},
    {cl::CL_Comm_Tot + 1, BitField{kVexlOnly, 1, 0, 8}, {gi::GI_Sheet_Sel_Misc_OnOff2, cl::Flex0}},
};
const CheckedRow kCommonRows[] = {{cl::CL_Comm_Tot}};
const CheckedRow kVexlRows[] = {{cl::CL_Comm_Tot + 1}};
const CheckLinkRow kDocumentChecks[] = {
    {cl::CL_Check_Common, kCommonRows},
    {cl::CL_Check_SetMode, kVexlRows, CheckLevel::kError},
};

class DocumentCheckTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    std::string text = ReadWholeFile(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    // This fixture's check lines replace the shipped ones.
    const std::string list = "#GI_WarningCheckList\n";
    const std::size_t first = text.find(list) + list.size();
    text.replace(first, text.find("\n#", first - 1) + 1 - first,
                 "{(%CL_Check_Common:[St_Common]GI_Sheet_Common)}\n{(%CL_Check_SetMode:[St_Set]GI_Sheet_SetMode)}\n");
    overlay_.Open(dir_.Write("QZ5071KE.OVL", text));
    AddImageRows(table_, kCheckedRows);
    AddCheckLinks(table_, kDocumentChecks);
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  TempDir dir_;
  cmcGTex overlay_;
  LinkTable table_;
};

TEST_F(DocumentCheckTest, NamesTheNodesByTheirSheetReferenceAndCountsOnlyStoredFields) {
  Document document(overlay_);
  document.LoadModel(ModelType::kLandMobile);
  document.Edit().SetByte(kEveryType, 0);
  document.Edit().SetByte(kVexlOnly, 0);
  EXPECT_EQ(CheckDocument(document, overlay_, table_), WarningMarks{});

  document.Edit().SetByte(kEveryType, 7);
  document.Edit().SetByte(kVexlOnly, 7);  // the land-mobile type never writes it
  EXPECT_EQ(CheckDocument(document, overlay_, table_), (WarningMarks{{"[St_Common]GI_Sheet_Common"}, {}}));

  document.LoadModel(ModelType::kPmrVexl);
  document.Edit().SetByte(kEveryType, 1);
  document.Edit().SetByte(kVexlOnly, 7);
  EXPECT_EQ(CheckDocument(document, overlay_, table_), (WarningMarks{{}, {"[St_Set]GI_Sheet_SetMode"}}));
}

// The shipped check list: a system with MDC on and no own ID warns on the general sheet's node.
TEST(ShippedWarningCheckTest, AnMdcSystemWithoutItsIdWarnsOnTheGeneralSheet) {
  setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
  cmcGTex overlay;
  overlay.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
  constexpr int kSystem3MdcByte = 0xBA2C + 29 * 3 + 10;
  constexpr int kSystem3Id = 0xBA2C + 29 * 3 + 3;
  for (const ModelType type : kAllModelTypes) {
    Document document(overlay);
    document.LoadModel(type);
    EXPECT_EQ(CheckDocument(document, overlay), WarningMarks{});
    document.Edit().SetByte(kSystem3MdcByte, 0x80);
    EXPECT_EQ(CheckDocument(document, overlay), (WarningMarks{{"GI_Sheet_Mdc_General"}, {}}));
    document.Edit().SetWord(kSystem3Id, 0x0123);
    EXPECT_EQ(CheckDocument(document, overlay), WarningMarks{});
  }
  unsetenv("RWQ_DATA_DIR");
}

}  // namespace
