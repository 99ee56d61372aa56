// The choice lists and value tables of the shipped English overlay, read the
// way the channel cells read them: through the selection cache.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/cellnames.h"
#include "markup/fcache.h"
#include "support/fatal_trap.h"

namespace {

const std::vector<std::string> kCtcss = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",  "97.4",  "100.0",
    "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7",
    "159.8", "162.2", "165.5", "167.9", "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6",
    "199.5", "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

const std::vector<std::string> kDcs = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071", "072", "073",
    "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145", "152", "155", "156", "162",
    "165", "172", "174", "205", "212", "223", "225", "226", "243", "244", "245", "246", "251", "252", "255",
    "261", "263", "265", "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446", "452", "454", "455",
    "462", "464", "465", "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624",
    "627", "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};

class ChoiceListsTest : public ::testing::Test {
 protected:
  void SetUp() override { overlay_.Open(std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071KE.OVL"); }

  // The values of a list in stepping order, from its first cell until the
  // step wraps back to it (bounded, so a list that never wraps fails).
  std::vector<std::int32_t> ValuesOf(std::string_view sheet, int link) {
    cache_.TextOf(sheet, link, 0);  // builds the entry
    std::optional<std::int32_t> first = cache_.Step(sheet, link, kNoValue, 1);
    if (!first) return {};
    std::vector<std::int32_t> values{*first};
    for (std::optional<std::int32_t> v = cache_.Step(sheet, link, *first, 1); v && *v != *first && values.size() < 1000;
         v = cache_.Step(sheet, link, *v, 1)) {
      values.push_back(*v);
    }
    return values;
  }

  std::vector<std::string> LinesOf(std::string_view block) {
    std::vector<std::string> lines;
    for (std::size_t n = 0;; ++n) {
      std::string line = overlay_.GetLine(block, n);
      if (line.starts_with('#')) return lines;
      lines.push_back(std::move(line));
    }
  }

  static constexpr std::int32_t kNoValue = -12345;
  // A DCS code in a tone-setting list: the code plus the base of its polarity.
  static constexpr std::int32_t kNormalCode = 0x1000;
  static constexpr std::int32_t kInvertedCode = 0x2000;
  const int flex0_ = ResolveLink("Flex0");
  const int flex2_ = ResolveLink("Flex2");
  FatalTrap trap_;
  cmcGTex overlay_;
  cmcFCache cache_{overlay_};
};

TEST_F(ChoiceListsTest, EveryChannelListHasDistinctValuesWithTextsAndWraps) {
  std::size_t sheets = 0;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (!block.name.ends_with("_Cells") || !block.name.starts_with("GI_Sheet_Sel_")) continue;
    ++sheets;
    const std::string_view sheet = block.name.substr(0, block.name.size() - std::string_view("_Cells").size());
    // Code lists carry their values in column 2.
    const int column = ValuesOf(sheet, flex0_).empty() ? flex2_ : flex0_;
    const std::vector<std::int32_t> values = ValuesOf(sheet, column);
    // The horn port has no field: its list is the one text it always shows.
    ASSERT_GE(values.size(), sheet == gi::GI_Sheet_Sel_PortMode_HORN ? 1u : 2u) << sheet;
    EXPECT_EQ(std::set<std::int32_t>(values.begin(), values.end()).size(), values.size()) << sheet;
    for (std::int32_t v : values) EXPECT_NE(cache_.TextOf(sheet, column, v), "error") << sheet << " " << v;
    EXPECT_EQ(cache_.Step(sheet, column, values.back(), 1), values.front()) << sheet;
    EXPECT_EQ(cache_.Step(sheet, column, values.front(), -1), values.back()) << sheet;
  }
  EXPECT_GE(sheets, 20u);
}

TEST_F(ChoiceListsTest, ToneFrequenciesAreTheFiftyStandardCtcssTones) {
  EXPECT_EQ(LinesOf(gi::GI_AppItem_Ctcss), kCtcss);
  const std::vector<std::int32_t> values = ValuesOf(gi::GI_Sheet_Sel_Mch_TFreq, flex0_);
  ASSERT_EQ(values.size(), kCtcss.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i], static_cast<std::int32_t>(i));  // stepping goes up the tones
    EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_TFreq, flex0_, values[i]), kCtcss[i]);
  }
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_TFreq, flex0_, 8), "88.5");
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_TFreq, flex0_, 50), "error");
}

TEST_F(ChoiceListsTest, DigitalCodesAreTheStandard104DcsCodes) {
  EXPECT_EQ(LinesOf(gi::GI_AppItem_Dtcs), kDcs);
  ASSERT_EQ(ValuesOf(gi::GI_Sheet_Sel_Mch_DTCS, flex0_).size(), kDcs.size());
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_DTCS, flex0_, 0), "023");
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_DTCS, flex0_, 103), "754");
  EXPECT_EQ(cache_.Step(gi::GI_Sheet_Sel_Mch_DTCS, flex0_, 103, 1), 0);

  // The tone-setting lists carry the code (three octal digits) above a base for each polarity.
  const std::vector<std::int32_t> normal = ValuesOf(gi::GI_Sheet_Sel_Mch_Dtcs, flex0_);
  const std::vector<std::int32_t> inverted = ValuesOf(gi::GI_Sheet_Sel_Mch_DtcsInv, flex0_);
  ASSERT_EQ(normal.size(), kDcs.size());
  ASSERT_EQ(inverted.size(), kDcs.size());
  for (std::size_t i = 0; i < kDcs.size(); ++i) {
    const std::int32_t code = std::stoi(kDcs[i], nullptr, 8);
    EXPECT_EQ(normal[i], kNormalCode + code);
    EXPECT_EQ(inverted[i], kInvertedCode + code);
    EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_Dtcs, flex0_, normal[i]), kDcs[i] + "N");
    EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_DtcsInv, flex0_, inverted[i]), kDcs[i] + "I");
  }
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_Dtcs, flex0_, kNormalCode + 023), "023N");  // octal, as stored
}

// One list holds every tone setting in order: off, the tones, the normal codes, the inverted codes.
TEST_F(ChoiceListsTest, ToneSettingListsOfferOffTheTonesAndBothPolaritiesOfEveryCode) {
  for (std::string_view sheet : {gi::GI_Sheet_Sel_Mch_CTone, gi::GI_Sheet_Sel_Mch_CTone_ExUser}) {
    std::vector<std::int32_t> expected = {0};
    for (std::size_t i = 0; i < kCtcss.size(); ++i) expected.push_back(static_cast<std::int32_t>(i + 1));
    for (std::int32_t base : {kNormalCode, kInvertedCode}) {
      for (const std::string& code : kDcs) expected.push_back(base + std::stoi(code, nullptr, 8));
    }
    EXPECT_EQ(ValuesOf(sheet, flex0_), expected) << sheet;
    EXPECT_EQ(cache_.TextOf(sheet, flex0_, 0), "Off");
    EXPECT_EQ(cache_.TextOf(sheet, flex0_, 9), "88.5");  // tone index 8
    EXPECT_EQ(cache_.TextOf(sheet, flex0_, 50), "254.1");
    EXPECT_EQ(cache_.TextOf(sheet, flex0_, kNormalCode + 0754), "754N");
    EXPECT_EQ(cache_.TextOf(sheet, flex0_, kInvertedCode + 023), "023I");
    EXPECT_EQ(cache_.Step(sheet, flex0_, kInvertedCode + 0754, 1), 0);  // the last wraps to off
  }
}

TEST_F(ChoiceListsTest, SmallListsShowTheirValues) {
  struct Case {
    std::string_view sheet;
    std::int32_t value;
    const char* text;
  };
  const Case cases[] = {
      {gi::GI_Sheet_Sel_Misc_OnOff2, 0, "Off"},
      {gi::GI_Sheet_Sel_Misc_OnOff2, 1, "On"},
      {gi::GI_Sheet_Sel_Mch_Dup, 2, "Minus"},
      {gi::GI_Sheet_Sel_Mch_CH_TS, 0, "5 kHz"},
      {gi::GI_Sheet_Sel_Mch_CH_TS, 1, "6.25 kHz"},
      {gi::GI_Sheet_Sel_Mch_CH_TS, 3, "12.5 kHz"},
      {gi::GI_Sheet_Sel_Mch_CH_TS, 6, "25 kHz"},
      {gi::GI_Sheet_Sel_Mch_RfPwr, 0, "High (5 W)"},
      {gi::GI_Sheet_Sel_Mch_RfPwr, 3, "Very low (0.5 W)"},
      {gi::GI_Sheet_Sel_Mch_Tone, 2, "Tone squelch"},
      {gi::GI_Sheet_Sel_Mch_Freq, 0, "446.006250"},
      {gi::GI_Sheet_Sel_Mch_Freq, 31, "446.196875"},
      {gi::GI_Sheet_Sel_Mch_Atr, 4, "No emergency channel"},
  };
  for (const Case& c : cases) EXPECT_EQ(cache_.TextOf(c.sheet, flex0_, c.value), c.text) << c.sheet;

  EXPECT_EQ(cache_.Step(gi::GI_Sheet_Sel_Misc_OnOff2, flex0_, 1, 1), 0);
  EXPECT_EQ(ValuesOf(gi::GI_Sheet_Sel_Mch_Freq, flex0_).size(), 32u);
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_Freq, ResolveLink("FlexAdjCh"), 0), "Free entry...");
}

TEST_F(ChoiceListsTest, BandwidthShowsItsShortTextsInTheMarkColumn) {
  const int flexMark = ResolveLink("FlexMark");
  EXPECT_EQ(ValuesOf(gi::GI_Sheet_Sel_Mch_WNM, flexMark), (std::vector<std::int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_WNM, flexMark, 2), "Middle");
  EXPECT_EQ(cache_.TextOf(gi::GI_Sheet_Sel_Mch_WNM, flex0_, 2), "Middle (20 kHz)");
  EXPECT_EQ(cache_.Step(gi::GI_Sheet_Sel_Mch_WNM, flexMark, 3, 1), 0);
}

TEST_F(ChoiceListsTest, ChannelTextsAndMessagesAreThere) {
  EXPECT_EQ(LinesOf(gi::GI_AppInd_Model).size(), 4u);  // one per model type
  EXPECT_EQ(LinesOf(gi::GI_Mess_CloneInfo_Model).size(), 2u);
  EXPECT_EQ(LinesOf(gi::GI_Mess_CloneInfo_UiType).size(), 4u);
  for (std::string_view block : {gi::GI_NewChTitle, gi::GI_AddCH, gi::GI_AppInd_TimerOff, gi::GI_AppMess_ChErr_Overflow,
                                 gi::GI_AppMess_ChangeModel}) {
    EXPECT_FALSE(overlay_.GetBlockText(block).empty()) << block;
  }
  EXPECT_NE(overlay_.GetLine(gi::GI_Tree_Branch_Mch_BankOperation, 0), "None");  // channels are numbered by bank
}

}  // namespace
