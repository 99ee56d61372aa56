#include "links/celllinks.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "link_host.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/fatal_trap.h"
#include "support/recording_message_box.h"

namespace {

// The shipped overlay and the initial image of a model type, with an evaluator over them.
class CellLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    LoadModel(ModelType::kLandMobile);
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  void LoadModel(ModelType modelType) {
    cloneio::LoadInitialImage(overlay_, modelType, image_);
    environment_.modelType = modelType;
  }

  struct Result {
    std::string text;
    int marks;
    std::optional<CellColour> colour;
    int editor;
    int changes;
    cmcCellCapsule::Redirect redirect;
    std::int32_t caret;
  };
  Result Run(int type, int link, std::int32_t number, const std::function<void(cmcCellCapsule&)>& fill) {
    cmcCellObj cell;
    cell.type = type;
    cell.link = link;
    cell.parameter = number;
    cmcCellCapsule request;
    request.cell = &cell;
    fill(request);
    int editor = links_.Evaluate(request, true);
    return {request.displayText,     request.marks,    request.fontColour,   editor,
            links_.LastChangeBits(), request.redirect, request.caretPosition};
  }
  Result Show(int link, std::int32_t number, int type = ct::CT_Mch) {
    return Run(type, link, number, [](cmcCellCapsule&) {});
  }
  Result Key(int link, std::int32_t number, int key, int type = ct::CT_Mch) {
    return Run(type, link, number, [key](cmcCellCapsule& r) { r.key = key; });
  }
  Result Type(int link, std::int32_t number, std::string text, int type = ct::CT_Mch) {
    return Run(type, link, number, [&text](cmcCellCapsule& r) {
      r.editResult = kTextCommitted;
      r.editedText = text;
    });
  }
  Result Choose(int link, std::int32_t number, int column, std::int32_t value, int type = ct::CT_Mch) {
    cmcCellObj chosen;
    chosen.link = column;
    chosen.parameter = value;
    cmcCellCapsule reply;
    reply.cell = &chosen;
    return Run(type, link, number, [&reply](cmcCellCapsule& r) {
      r.editResult = kPopupChoice;
      r.reply = &reply;
    });
  }
  datCh Channel(int number) {
    datCh record(image_);
    record.load(datCh::KindOf(environment_.modelType), number);
    return record;
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom image_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  CellLinks links_{environment_};
};

TEST_F(CellLinksTest, ABlankRowShowsItsNumberOnlyAndAKeyEntersItsFrequency) {
  ASSERT_EQ(datCh::ChannelsInUse(image_), 0);
  EXPECT_EQ(Show(cl::CL_Mch_No, 0).text, "New");
  EXPECT_EQ(Show(cl::CL_Mch_Dup, 0).text, "");
  EXPECT_EQ(Show(cl::CL_Mch_FreqT, 0).text, "");

  Result typed = Key(cl::CL_Mch_Dup, 0, '1');
  EXPECT_TRUE(typed.redirect.active);
  EXPECT_EQ(typed.redirect.link, cl::CL_Mch_Operating_Freq);
  EXPECT_EQ(typed.redirect.firstKey, '1');
  EXPECT_EQ(typed.editor, kInCellEditor);
  EXPECT_EQ(typed.text, "1");
  Result entered = Key(cl::CL_Mch_Operating_Freq, 0, cellkey::kDoubleClick);
  EXPECT_EQ(entered.editor, kInCellEditor);
  EXPECT_EQ(entered.text, "");
  EXPECT_EQ(datCh::ChannelsInUse(image_), 0);  // keys alone create nothing here
}

TEST_F(CellLinksTest, TypingAFrequencyOnTheBlankRowCreatesTheChannelOnTheGrid) {
  struct Case {
    int link;
    const char* typed;
    bool created;
    const char* shown;
  };
  // A text committed in another cell of the blank row enters its frequency too.
  const Case cases[] = {{cl::CL_Mch_Operating_Freq, "146.5213", false, ""},
                        {cl::CL_Mch_FreqR, "146.5213", false, ""},
                        {cl::CL_Mch_FreqR, "146.521", true, "146.521875"}};
  for (const Case& c : cases) {
    Result result = Type(c.link, 0, c.typed);
    EXPECT_EQ(datCh::ChannelsInUse(image_), c.created ? 1 : 0) << c.typed;
    EXPECT_TRUE(result.redirect.active || c.link == cl::CL_Mch_Operating_Freq) << c.typed;
    EXPECT_EQ(result.text, c.shown);
    if (c.created) {
      EXPECT_EQ(result.changes, changebit::kEvaluated | changebit::kRowRewritten | changebit::kRecordModified);
    }
  }
  EXPECT_EQ(Channel(0).freqR, 146521875u);
  EXPECT_EQ(Show(cl::CL_Mch_FreqT, 0).text, "146.521875<-");
  EXPECT_EQ(Show(cl::CL_Mch_No, 0).text, "1-  1");
  // The next row is the new-channel row.
  EXPECT_EQ(Type(cl::CL_Mch_Operating_Freq, 1, "146.52").text, "146.520000");
  EXPECT_EQ(Channel(1).freqR, 146520000u);
  EXPECT_EQ(Type(cl::CL_Mch_Operating_Freq, 1, "150").text, "147.000000");  // the band's limit
}

TEST_F(CellLinksTest, ANewChannelJoinsTheLastBankOrReusesARowWithoutFrequency) {
  datCh::SetBankSize(image_, 1, 2);
  datCh first = Channel(0);
  first.initialise();
  first.freqR = 145000000;
  first.store();
  // Row 1 is in bank 1 but holds no frequency: typing there reuses it.
  EXPECT_EQ(Show(cl::CL_Mch_No, 1).text, "New");
  EXPECT_EQ(Type(cl::CL_Mch_Operating_Freq, 1, "146.52").text, "146.520000");
  EXPECT_EQ(datCh::BankSize(image_, 1), 2);
  // Row 2 follows the list: the channel joins bank 1, the last bank that ends there.
  Type(cl::CL_Mch_Operating_Freq, 2, "146.54");
  EXPECT_EQ(datCh::BankSize(image_, 0), 0);
  EXPECT_EQ(datCh::BankSize(image_, 1), 3);
  EXPECT_EQ(Channel(0).freqR, 145000000u);
  EXPECT_EQ(Channel(2).freqR, 146540000u);
  EXPECT_EQ(Show(cl::CL_Mch_No, 2).text, "2-  3");
}

TEST_F(CellLinksTest, CreatingBeyondTheLastPossibleChannelShowsTheOverflowMessage) {
  datCh::SetBankSize(image_, 0, memmap::kMaxChannels);
  RecordingMessageBox box;
  Result result = Type(cl::CL_Mch_Operating_Freq, memmap::kMaxChannels, "146.52");
  EXPECT_EQ(result.editor, kNoEditor);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText("GI_AppMess_ChErr_Overflow"));
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_TRUE(box.shown[0].topmost);
  EXPECT_EQ(datCh::ChannelsInUse(image_), memmap::kMaxChannels);
}

class ChannelCellsTest : public CellLinksTest {
 protected:
  void SetUp() override {
    CellLinksTest::SetUp();
    Type(cl::CL_Mch_Operating_Freq, 0, "146.52");
    ASSERT_EQ(datCh::ChannelsInUse(image_), 1);
  }
};

TEST_F(ChannelCellsTest, ChoiceCellsShowStepAndGreyWhereTheyDoNotApply) {
  EXPECT_EQ(Show(cl::CL_Mch_Dup, 0).text, "Off");
  EXPECT_EQ(Show(cl::CL_Mch_Offset_Freq, 0).colour, kNotApplicableColour);
  EXPECT_EQ(Show(cl::CL_Mch_Dup_Reverse, 0).colour, kNotApplicableColour);
  EXPECT_EQ(Key(cl::CL_Mch_Dup, 0, cellkey::kBackspace).text, "Minus");  // wraps to the last
  EXPECT_EQ(Key(cl::CL_Mch_Dup, 0, cellkey::kSpace).text, "Off");        // and from the last to the first
  Result plus = Choose(cl::CL_Mch_Dup, 0, cl::Flex0, 1);
  EXPECT_EQ(plus.text, "Plus");
  EXPECT_EQ(plus.changes, changebit::kEvaluated | changebit::kRecordModified);
  EXPECT_EQ(Show(cl::CL_Mch_Offset_Freq, 0).colour, std::nullopt);
  EXPECT_EQ(Type(cl::CL_Mch_Offset_Freq, 0, "25").text, "20.000000");  // the offset's limit
  EXPECT_EQ(Type(cl::CL_Mch_Offset_Freq, 0, "0.6").text, "0.600000");
  EXPECT_EQ(Show(cl::CL_Mch_FreqT, 0).text, "147.120000");

  struct Grey {
    int toneMode;
    bool toneFreq, tsqlFreq, dtcs;
  };
  const Grey modes[] = {{0, true, true, true},
                        {1, false, true, true},
                        {2, true, false, true},
                        {3, true, true, false},
                        {4, true, true, false}};
  for (const Grey& g : modes) {
    Choose(cl::CL_Mch_Tone, 0, cl::Flex0, g.toneMode);
    EXPECT_EQ(Show(cl::CL_Mch_Tone_Freq, 0).colour.has_value(), g.toneFreq) << g.toneMode;
    EXPECT_EQ(Show(cl::CL_Mch_Tsql_Freq, 0).colour.has_value(), g.tsqlFreq) << g.toneMode;
    EXPECT_EQ(Show(cl::CL_Mch_Dtcs, 0).colour.has_value(), g.dtcs) << g.toneMode;
    EXPECT_EQ(Show(cl::CL_Mch_Dtcs_Polarity, 0).colour.has_value(), g.dtcs) << g.toneMode;
  }
  Result enter = Key(cl::CL_Mch_RfPo, 0, cellkey::kEnter);
  EXPECT_EQ(enter.editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_Mch_RfPwr 1 0");
}

TEST_F(ChannelCellsTest, ChoiceWritesKeepTheOtherBitsOfTheirBytes) {
  Choose(cl::CL_Mch_Dup, 0, cl::Flex0, 2);
  Choose(cl::CL_Mch_Dup_Reverse, 0, cl::Flex0, 1);
  Choose(cl::CL_Mch_TxInh, 0, cl::Flex0, 1);
  Choose(cl::CL_Mch_RfPo, 0, cl::Flex0, 2);
  Choose(cl::CL_Mch_Tone, 0, cl::Flex0, 3);
  Choose(cl::CL_Mch_Dtcs_Polarity, 0, cl::Flex0, 1);
  datCh channel = Channel(0);
  EXPECT_EQ(channel.dup, 2);
  EXPECT_EQ(channel.reverse, 1);
  EXPECT_EQ(channel.txInh, 1);
  EXPECT_EQ(channel.rfPo, 2);
  EXPECT_EQ(channel.tone, 3);
  EXPECT_EQ(channel.dtcsPolarity, 1);
}

// A reply no cell of the pop-up list carries (only a caller gone wrong sends
// one) is refused: the field keeps its value, nothing is marked modified.
TEST_F(ChannelCellsTest, AChoiceReplyOutsideItsListChangesNothing) {
  struct Hostile {
    int link;
    std::int32_t value;
  };
  const Hostile replies[] = {{cl::CL_Mch_Tone, -1},
                             {cl::CL_Mch_Tone, 5},
                             {cl::CL_Mch_Tone, 2147483647},
                             {cl::CL_Mch_Dup, 3},
                             {cl::CL_Mch_RfPo, -2147483648},
                             {cl::CL_Mch_RfPo, 100000},
                             {cl::CL_Mch_Scan_List, -2147483648},
                             {cl::CL_Mch_Scan_List, 0},
                             {cl::CL_Mch_Scan_List, 18},
                             {cl::CL_Mch_Scan_List, 2147483647}};
  for (const Hostile& reply : replies) {
    const std::string before = Show(reply.link, 0).text;
    const cmcEeprom untouched = image_;
    Result chosen = Choose(reply.link, 0, cl::Flex0, reply.value);
    EXPECT_EQ(chosen.text, before) << reply.link << ' ' << reply.value;
    EXPECT_EQ(chosen.changes & changebit::kRecordModified, 0) << reply.link << ' ' << reply.value;
    EXPECT_TRUE(image_ == untouched) << reply.link << ' ' << reply.value;
  }
}

TEST_F(ChannelCellsTest, WideNarrowMiddleWarnsWithoutTheMiddleSettingAndRebuildsTheSheet) {
  Result middle = Choose(cl::CL_Mch_WNM, 0, cl::FlexMark, 2);
  EXPECT_EQ(middle.text, "Middle");
  EXPECT_EQ(middle.marks & cellmark::kWarning, cellmark::kWarning);
  EXPECT_EQ(middle.changes & changebit::kRebuildSheet, changebit::kRebuildSheet);
  EXPECT_EQ(links_.FlagsOf(ct::CT_Mch, cl::CL_Mch_WNM, 0), cellmark::kWarning);
  EXPECT_EQ(Show(cl::CL_Check_Mch, 0, ct::CT_Null).marks, cellmark::kWarning);  // bank 0's check
  image_.SetByte(0xA9BC, image_.GetByte(0xA9BC) | 0x10);
  EXPECT_EQ(Show(cl::CL_Mch_WNM, 0).marks, 0);
  EXPECT_EQ(Show(cl::CL_Check_Mch, 0, ct::CT_Null).marks, 0);
}

TEST_F(ChannelCellsTest, AttributeLettersAndTheirFlagEditor) {
  image_.SetByte(0x0295, 9);
  image_.SetByte(0x0296, 9);
  EXPECT_EQ(Show(cl::CL_Mch_Atr, 0).text, "");
  EXPECT_EQ(Key(cl::CL_Mch_Atr, 0, cellkey::kEnter).editor, kPopupEditor);
  EXPECT_EQ(host_.opened.rfind("flags GI_Sheet_Sel_Mch_Atr", 0), 0u);
  EXPECT_EQ(Choose(cl::CL_Mch_Atr, 0, cl::Flex0, 1).text, "A");
  Result e = Choose(cl::CL_Mch_Atr, 0, cl::Flex0, 3);
  EXPECT_EQ(e.text, "AE");
  EXPECT_EQ(e.changes & changebit::kRowRewritten, changebit::kRowRewritten);
  EXPECT_EQ(Choose(cl::CL_Mch_Atr, 0, cl::Flex0, 4).text, "A");
  Choose(cl::CL_Mch_Atr, 0, cl::Flex0, 5);
  EXPECT_TRUE(datCh::BankFlag(image_, 0));
}

TEST_F(ChannelCellsTest, ReceiveAndTransmitFrequencyCells) {
  EXPECT_EQ(Show(cl::CL_Mch_FreqR, 0).text, "146.520000");
  EXPECT_EQ(Type(cl::CL_Mch_FreqT, 0, "147.12").text, "147.120000");
  datCh channel = Channel(0);
  EXPECT_EQ(channel.dup, 1);
  EXPECT_EQ(channel.offset, 600000u);
  EXPECT_EQ(Key(cl::CL_Mch_FreqT, 0, '=').text, "146.520000<-");
  EXPECT_EQ(Channel(0).dup, 0);
  EXPECT_EQ(Type(cl::CL_Mch_FreqR, 0, "146.5213").text, "146.520000");  // no grid value: unchanged
}

TEST_F(ChannelCellsTest, ToneNameAndScanCells) {
  Result tone = Type(cl::CL_Mch_CTone_R, 0, "88.5");
  EXPECT_EQ(tone.text, "88.5");
  EXPECT_EQ(Show(cl::CL_Mch_CTone_T, 0).text, "Off");
  Type(cl::CL_Mch_CTone_T, 0, "88.5");
  EXPECT_EQ(Show(cl::CL_Mch_CTone_T, 0).text, "<-");
  EXPECT_EQ(Type(cl::CL_Mch_CTone_T, 0, "754I").text, "754I");

  EXPECT_EQ(Type(cl::CL_Mch_Text, 0, "HOME").text, "HOME    ");
  EXPECT_EQ(Channel(0).name, "HOME    ");
  EXPECT_EQ(Key(cl::CL_Mch_Scan, 0, cellkey::kSpace).text, "On");
  EXPECT_TRUE(Channel(0).inList(0));

  // Options kept in the carried bits of option byte 2, each apart from the others.
  const int carried[] = {cl::CL_Mch_Scan_OnOff, cl::CL_Mch_Scan_Inc, cl::CL_Mch_AutoChScan, cl::CL_Mch_AutoReset,
                         cl::CL_Mch_CH_Mute};
  for (int link : carried) EXPECT_EQ(Key(link, 0, cellkey::kSpace).text, "On") << link;
  EXPECT_EQ(image_.GetByte(0xA24A + 2), 0xF8);
  EXPECT_EQ(Key(cl::CL_Mch_AutoChScan, 0, cellkey::kSpace).text, "Off");
  EXPECT_EQ(image_.GetByte(0xA24A + 2), 0xD8);
}

TEST_F(ChannelCellsTest, ScanListMembershipAndTheScannedList) {
  EXPECT_EQ(Show(cl::CL_Mch_Scan_List, 0).text, "None");
  EXPECT_EQ(Key(cl::CL_Mch_Scan_List, 0, cellkey::kSpace).editor, kNoEditor);  // only the editor changes it
  Key(cl::CL_Mch_Scan, 0, cellkey::kSpace);                                    // the scan cell is list 1
  struct Toggle {
    std::int32_t list;
    std::string shown;
  };
  const Toggle toggles[] = {{3, "1,3"}, {17, "1,3,17"}, {1, "3,17"}, {18, "3,17"}, {0, "3,17"}, {3, "17"}};
  for (const Toggle& t : toggles) EXPECT_EQ(Choose(cl::CL_Mch_Scan_List, 0, cl::Flex0, t.list).text, t.shown) << t.list;
  EXPECT_FALSE(Channel(0).inList(0));
  EXPECT_TRUE(Channel(0).inList(16));
  EXPECT_EQ(image_.GetByte(0x8AA0 + 16 * 16), 0x80);  // channel 0 in the last bitmap
  Choose(cl::CL_Mch_Scan_List, 0, cl::Flex0, 2);
  EXPECT_EQ(Key(cl::CL_Mch_Scan_List, 0, cellkey::kEnter).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "flags GI_Sheet_Sel_Mch_ScanList " + std::to_string((1 << 1) | (1 << 16)));

  image_.SetByte(0xA24A + 4, 0xE0);  // the bits above the list belong to others
  EXPECT_EQ(Show(cl::CL_Mch_Scan_ListSel, 0).text, "None");
  EXPECT_EQ(Key(cl::CL_Mch_Scan_ListSel, 0, cellkey::kBackspace).text, "Scan list 17");  // wraps
  EXPECT_EQ(image_.GetByte(0xA24A + 4), 0xF1);
  EXPECT_EQ(Choose(cl::CL_Mch_Scan_ListSel, 0, cl::Flex0, 5).text, "Scan list 5");
  EXPECT_EQ(Choose(cl::CL_Mch_Scan_ListSel, 0, cl::Flex0, 40).text, "Scan list 5");  // no such list
  EXPECT_EQ(image_.GetByte(0xA24A + 4), 0xE5);
  EXPECT_EQ(Show(cl::CL_Mch_Scan_ListSel, 1).text, "");  // a blank row
}

TEST_F(CellLinksTest, PmrAndPmr446CellsBehaveAsTheirCounterparts) {
  LoadModel(ModelType::kPmr);
  ASSERT_GT(datCh::ChannelsInUse(image_), 0);
  EXPECT_EQ(Show(cl::CL_Mch_FreqR_Pmr, 0).text, "446.006250");
  EXPECT_EQ(Choose(cl::CL_Mch_Lockout_Pmr, 0, cl::Flex0, 1).text,
            choices_.TextOf("GI_Sheet_Sel_Mch_Lockout_Pmr", cl::Flex0, 1));
  EXPECT_EQ(Type(cl::CL_Mch_CTone_R_Pmr, 0, "67.0").text, "67.0");
  EXPECT_EQ(Channel(0).ctoneR.index, 0);
  EXPECT_TRUE(Channel(0).ctoneR.on);
  EXPECT_EQ(Choose(cl::CL_Mch_Scan_List_Pmr, 0, cl::Flex0, 2).text, Channel(0).inList(0) ? "1,2" : "2");
  EXPECT_EQ(Choose(cl::CL_Mch_Scan_ListSel_Pmr, 0, cl::Flex0, 2).text, "Scan list 2");

  EXPECT_EQ(Key(cl::CL_Mch_FreqR_Pmr446, 0, cellkey::kEnter, ct::CT_Mch_Pmr446).editor, kPopupEditor);
  EXPECT_EQ(host_.opened, "choice GI_Sheet_Sel_Mch_Freq 1 0");
  EXPECT_EQ(Choose(cl::CL_Mch_FreqR_Pmr446, 0, cl::Flex0, 8, ct::CT_Mch_Pmr446).text, "446.103125");
  Result free = Choose(cl::CL_Mch_FreqR_Pmr446, 0, cl::FlexAdjCh, 0, ct::CT_Mch_Pmr446);
  EXPECT_EQ(free.editor, kInCellEditor);
  EXPECT_EQ(free.text, "");
  EXPECT_EQ(Channel(0).freeEntry, 1);
}

TEST_F(CellLinksTest, UnbuiltLinksSayYetAndAnUnknownCellTypeIsFatal) {
  EXPECT_EQ(Show(cl::CL_Msk_IdGroup_Adr, 0, ct::CT_Null).text, std::to_string(cl::CL_Msk_IdGroup_Adr) + " *Yet*");
  EXPECT_EQ(Show(1700, 0, ct::CT_Null).text, "1700 *Yet*");
  EXPECT_EQ(FatalTextOf([this] { Show(cl::CL_Mch_No, 0, 40); }), "Unknown Cell Category. (40)");
}

TEST_F(CellLinksTest, TheValueCellsOfAChoiceListShowTheirOwnText) {
  for (int column : {cl::Flex0, cl::FlexMark, cl::FlexAdjCh}) {
    cmcCellObj cell;
    cell.type = kNoCellType;
    cell.link = column;
    cell.parameter = 3;
    cell.displayText = "Very narrow (6.25 kHz)";
    EXPECT_EQ(links_.TextOf(cell, cellkey::kEvaluate), "Very narrow (6.25 kHz)") << column;
    cell.displayText.reset();
    EXPECT_EQ(links_.TextOf(cell, cellkey::kEvaluate), "") << column;
  }
}

TEST_F(CellLinksTest, CountersAndChannelNumberColumns) {
  Type(cl::CL_Mch_Operating_Freq, 0, "146.52");
  Type(cl::CL_Mch_Operating_Freq, 1, "146.54");
  int left = datCh::ChannelsThatFit(image_, ModelType::kLandMobile);
  EXPECT_EQ(Show(cl::CL_Bank_UsedQty, 0, ct::CT_BankOp).text, "2");
  EXPECT_EQ(Show(cl::CL_Bank_UsedQty, 1, ct::CT_BankOp).text, "0");
  EXPECT_EQ(Show(cl::CL_Mch_UsedCHs, 0, ct::CT_Null).text, "2");
  EXPECT_EQ(Show(cl::CL_Mch_UsedCHs_Left, 0, ct::CT_Null).text, std::to_string(left));
  EXPECT_EQ(Show(cl::CL_Misc_ChNo_0Base, 4, ct::CT_Null).text, "4");
  EXPECT_EQ(Show(cl::CL_Misc_ChNo_1Base, 4, ct::CT_Null).text, "5");
  EXPECT_EQ(Show(cl::CL_Misc_ChNo_1Base, 2147483647, ct::CT_Null).text, "2147483648");  // no overflow
  environment_.windowChannel = 1;
  EXPECT_EQ(Show(cl::CL_MchWin_No, 0, ct::CT_Mch_Win).text, "1-  2");
  environment_.windowChannel = 2;
  EXPECT_EQ(Show(cl::CL_MchWin_No, 0, ct::CT_Mch_Win).text, "1- New");
}

TEST_F(CellLinksTest, ModelItemsCarryTheTickAndChangeTheModelAfterConfirmation) {
  std::optional<ModelType> changedTo;
  environment_.changeModel = [&changedTo](ModelType modelType) { changedTo = modelType; };
  cmcCellObj lmr;
  lmr.type = ct::CT_Null;
  lmr.link = cl::CL_Model_Lmr;
  cmcCellCapsule request;
  request.cell = &lmr;
  links_.Evaluate(request, false);
  EXPECT_TRUE(lmr.StateFlag(0));  // the tick a menu item shows
  EXPECT_FALSE(lmr.StateFlag(5));
  EXPECT_EQ(request.displayText, "LMR");

  RecordingMessageBox box({platform::MsgAnswer::Cancel, platform::MsgAnswer::Ok});
  Key(cl::CL_Model_Pmr, 0, cellkey::kEnter, ct::CT_Null);
  EXPECT_EQ(changedTo, std::nullopt);
  Result changed = Key(cl::CL_Model_Pmr, 0, cellkey::kEnter, ct::CT_Null);
  EXPECT_EQ(changedTo, ModelType::kPmr);
  EXPECT_EQ(changed.changes & changebit::kRebuildSheet, changebit::kRebuildSheet);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText("GI_AppMess_ChangeModel"));
}

TEST_F(CellLinksTest, TheChangeCallbackHearsOfChangesOnlyAndKeysNeedAnEditableCell) {
  Type(cl::CL_Mch_Operating_Freq, 0, "146.52");
  int calls = 0, bits = 0;
  auto run = [&](int key, int editable) {
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = cl::CL_Mch_Dup;
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = key;
    request.editable = editable;
    request.changed = [&](cmcCellCapsule&, int changeBits) {
      ++calls;
      bits = changeBits;
    };
    links_.Evaluate(request, true);
  };
  run(cellkey::kEvaluate, 1);
  EXPECT_EQ(calls, 0);
  run(cellkey::kSpace, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(Channel(0).dup, 0);
  run(cellkey::kSpace, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(bits, changebit::kEvaluated | changebit::kRecordModified);
}

TEST_F(CellLinksTest, CloneInformationCellsReadTheIdentificationRecord) {
  EXPECT_EQ(Show(cl::CL_CloneInfo_Revision, 0, ct::CT_Null).text, "");  // no record yet
  std::vector<std::uint8_t> record(78, ' ');
  record[0] = 78;
  const std::string comment = "FLEET 7";
  std::copy(comment.begin(), comment.end(), record.begin() + 2);
  record[34] = 0x12;
  record[53] = 0x06;  // digital (bit 2), display (1)
  const std::string serial = "00FF0A00000F";
  std::copy(serial.begin(), serial.end(), record.begin() + 37);
  const std::string sum = "beef";
  std::copy(sum.begin(), sum.end(), record.begin() + 66);
  environment_.identification = record;
  EXPECT_EQ(Show(cl::CL_CloneInfo_Revision, 0, ct::CT_Null).text, "1.2");
  EXPECT_EQ(Show(cl::CL_CloneInfo_Model, 0, ct::CT_Null).text,
            overlay_.GetLine("GI_Mess_CloneInfo_Model", 1) + "\n" + overlay_.GetLine("GI_Mess_CloneInfo_UiType", 2));
  EXPECT_EQ(Show(cl::CL_CloneInfo_Comment1, 0, ct::CT_Null).text, "FLEET 7         ");
  EXPECT_EQ(Show(cl::CL_CloneInfo_Esn, 0, ct::CT_Null).text, "0255100000015");
  EXPECT_EQ(Show(cl::CL_CloneInfo_CheckSum, 0, ct::CT_Null).text, "$BEEF");
  record[40] = 'x';
  EXPECT_EQ(Show(cl::CL_CloneInfo_Esn, 0, ct::CT_Null).text, " ");
}

TEST_F(CellLinksTest, CloneInformationNamesTheFrontPanelStunKillAndOverVoltage) {
  std::vector<std::uint8_t> record(78, ' ');
  record[0] = 78;
  environment_.identification = record;
  struct Case {
    std::uint8_t type;      // byte 53
    std::uint8_t stunKill;  // byte 57
    std::string keyBoard, stunKillText, overVolt;
  };
  const Case cases[] = {
      {0x00, 0x00, "Front panel: no display", "", ""},
      {0x23, 0x01, "Front panel: unknown", "DTMF stun", "Over-voltage protection fitted"},
      {0x02, 0x12, "Front panel: display and keypad", "Two-tone kill", ""},
      {0x01, 0x15, "Front panel: display", "MDC kill", ""},
      {0x00, 0x03, "Front panel: no display", "Five-tone stun", ""},
      {0x00, 0x04, "Front panel: no display", "Vexl stun", ""},
      {0x00, 0x16, "Front panel: no display", "", ""},  // no such signalling
      {0x00, 0x1F, "Front panel: no display", "", ""},
  };
  for (const Case& c : cases) {
    record[53] = c.type;
    record[57] = c.stunKill;
    EXPECT_EQ(Show(cl::CL_CloneInfo_KeyBoard, 0, ct::CT_Null).text, c.keyBoard) << int{c.type};
    EXPECT_EQ(Show(cl::CL_CloneInfo_StunKill, 0, ct::CT_Null).text, c.stunKillText) << int{c.stunKill};
    EXPECT_EQ(Show(cl::CL_CloneInfo_OverVolt, 0, ct::CT_Null).text, c.overVolt) << int{c.type};
  }
  environment_.identification = {};
  EXPECT_EQ(Show(cl::CL_CloneInfo_StunKill, 0, ct::CT_Null).text, "");  // no record
}

TEST_F(CellLinksTest, BankNameAndFlagCells) {
  EXPECT_EQ(Type(cl::CL_Mch_BankText, 2, "Fire", ct::CT_BankOp).text, "Fire    ");
  EXPECT_EQ(image_.GetByte(0xAA9C + 16), 'F');
  Result flag = Key(cl::CL_Bank_SmarTrunk, 2, cellkey::kSpace, ct::CT_BankOp);
  EXPECT_EQ(flag.text, "On");
  EXPECT_EQ(flag.changes & changebit::kRebuildSheet, changebit::kRebuildSheet);
  EXPECT_TRUE(datCh::BankFlag(image_, 2));
  EXPECT_FALSE(datCh::BankFlag(image_, 1));
  EXPECT_EQ(Show(cl::CL_Mch_BankText, 9, ct::CT_BankOp).text, "");  // no such bank
}

TEST_F(CellLinksTest, FreeBankSelectionIsAFlagPerBankBesideTheBankFlags) {
  image_.SetByte(0xA960, 0x00);
  image_.SetByte(0xA961, 0x81);  // banks 0 and 7
  struct Case {
    int bank;
    std::string shown;
  };
  for (const Case& c : {Case{0, "On"}, Case{1, "Off"}, Case{7, "On"}, Case{8, ""}}) {
    EXPECT_EQ(Show(cl::CL_Bank_SelBankFree, c.bank, ct::CT_BankOp).text, c.shown) << c.bank;
  }
  Result set = Key(cl::CL_Bank_SelBankFree, 2, cellkey::kSpace, ct::CT_BankOp);
  EXPECT_EQ(set.text, "On");
  EXPECT_EQ(set.changes & changebit::kRecordModified, changebit::kRecordModified);
  EXPECT_EQ(image_.GetByte(0xA961), 0xA1);  // the other banks kept
  EXPECT_EQ(image_.GetByte(0xA960), 0x00);  // the bank flags untouched
  EXPECT_EQ(Choose(cl::CL_Bank_SelBankFree, 0, cl::Flex0, 0, ct::CT_BankOp).text, "Off");
  EXPECT_EQ(image_.GetByte(0xA961), 0x21);
  // A bank sheet's own cell counts its bank.
  Result sheet = Run(ct::CT_Null, cl::CL_Bank_SelBankFree, 0, [](cmcCellCapsule& r) { r.contextNumber = 2; });
  EXPECT_EQ(sheet.text, "On");
}

TEST_F(CellLinksTest, AChannelChangePostsTheRefreshOfItsSheetOrWindowRow) {
  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  environment_.events = &events;
  Type(cl::CL_Mch_Operating_Freq, 0, "146.52");
  EXPECT_EQ(events.QueuedCount(), 1u);
  Show(cl::CL_Mch_Dup, 0);
  EXPECT_EQ(events.QueuedCount(), 1u);  // nothing changed, nothing posted
  Key(cl::CL_Mch_Dup, 0, cellkey::kSpace, ct::CT_Mch_Win);
  EXPECT_EQ(events.QueuedCount(), 2u);
  environment_.events = nullptr;
}

}  // namespace
