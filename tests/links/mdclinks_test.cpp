// The MDC links on the land-mobile initial image: system entries 0 to 4 at
// 0xBA2C + 29n, the aliases at 0xBABD + 12n with their count word at 0xC185.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/gtex.h"
#include "link_host.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/clipch.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "support/recording_message_box.h"

namespace {

constexpr int kSystem0 = 0xBA2C;
constexpr int kSystemBytes = 29;
constexpr int kAlias0 = 0xBABD;
constexpr int kAliasCount = 0xC185;
constexpr int kSpaceWord = 0x0216;
constexpr int kLowLimit = 0x3B7F;

int SystemByte(int entry, int byte) { return kSystem0 + kSystemBytes * entry + byte; }

class MdcLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, ModelType::kLandMobile, initial_);
    image_ = initial_;
    environment_.clipboard = &clipboard_;
    environment_.initialImage = &initial_;
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  cmcCellCapsule Evaluate(int type, int link, std::int32_t entry, int key, const char* typed = nullptr) {
    cell_ = cmcCellObj{};
    cell_.type = type;
    cell_.link = link;
    cell_.parameter = entry;
    cmcCellCapsule request;
    request.cell = &cell_;
    request.key = key;
    if (typed) {
      request.editResult = kTextCommitted;
      request.editedText = typed;
    }
    links_.Evaluate(request, false);
    return request;
  }
  std::string System(int link, std::int32_t entry, int key = cellkey::kEvaluate, const char* typed = nullptr) {
    return Evaluate(ct::CT_Null, link, entry, key, typed).displayText;
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom initial_;
  cmcEeprom image_;
  datClipCh clipboard_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  CellLinks links_{environment_};
  cmcCellObj cell_;
};

TEST_F(MdcLinksTest, SystemRowsStoreWhatTheyShowOnEntriesZeroAndFour) {
  struct Case {
    const char* what;
    int link;
    std::int32_t entry;
    int key;
    const char* typed;
    const char* shown;
    int address;
    int mask;
    int stored;
  };
  const Case cases[] = {
      {"general set, high nibble", cl::CL_Mdc_System_List_General, 0, 0, "3", "3", SystemByte(0, 0), 0xF0, 0x30},
      {"typed value nearest in the list", cl::CL_Mdc_System_List_Revive, 4, 0, "9", "4", SystemByte(4, 2), 0x0F, 4},
      {"\"of\" reads as 0", cl::CL_Mdc_System_List_Stun, 4, 0, "OF", "0", SystemByte(4, 2), 0xF0, 0},
      {"PTT pre time in half seconds", cl::CL_Mdc_PttId_Pre_Time, 0, 0, "2.5", "  2.500", SystemByte(0, 11), 0xFF, 5},
      {"60 s fits the half-second byte", cl::CL_Mdc_Emg_Cycle_Delay, 4, 0, "60", " 60.000", SystemByte(4, 19), 0xFF,
       120},
      {"cut down to 0.5 s", cl::CL_Mdc_Emg_Disp_Time, 4, 0, "30.3", " 30.000", SystemByte(4, 15), 0xFF, 60},
      {"above 60 s clamped", cl::CL_Mdc_PttId_Post_Time, 0, 0, "99", " 60.000", SystemByte(0, 12), 0xFF, 120},
      {"space steps 0.5 s", cl::CL_Mdc_PttId_Post_Time, 4, cellkey::kSpace, nullptr, "  0.500", SystemByte(4, 12), 0xFF,
       1},
      {"hundredths", cl::CL_Mdc_General_DOS_Time, 4, 0, "1.27", "  1.270", SystemByte(4, 8), 0xFF, 127},
      {"coast time ends at 0.5", cl::CL_Mdc_General_Coast_Time, 0, 0, "0.7", "  0.500", SystemByte(0, 9), 0xFF, 50},
      {"tenths", cl::CL_Mdc_Stun_Ack_Delay, 4, 0, "25.5", " 25.500", SystemByte(4, 24), 0xFF, 255},
      {"threshold clamped to 40", cl::CL_Mdc_General_Rx_Sync_Threshold, 4, 0, "50", "40", SystemByte(4, 7), 0xFF, 40},
      {"impolite, low nibble", cl::CL_Mdc_Emg_No_Impolite, 0, 0, "9", "9", SystemByte(0, 21), 0x0F, 9},
      {"MDC on, bit 7", cl::CL_Mdc_General_Mdc_On, 4, cellkey::kSpace, nullptr, "On", SystemByte(4, 10), 0x80, 0x80},
      {"revive receive, bit 7", cl::CL_Mdc_Revive_Rx, 0, cellkey::kSpace, nullptr, "Enable", SystemByte(0, 27), 0x80,
       0x80},
      {"self ID as four hex digits", cl::CL_Mdc_General_Self_Id, 4, 0, "1a2b", "1A2B", SystemByte(4, 3), 0xFF, 0x1A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image_ = initial_;
    EXPECT_EQ(System(c.link, c.entry, c.key, c.typed), c.shown);
    EXPECT_EQ(image_.GetByte(c.address) & c.mask, c.stored);
    cmcEeprom expected = initial_;  // nothing else changed
    expected.SetByte(c.address, static_cast<std::uint8_t>((initial_.GetByte(c.address) & ~c.mask) | c.stored));
    if (c.link == cl::CL_Mdc_General_Self_Id) expected.SetByte(c.address + 1, 0x2B);
    EXPECT_EQ(image_, expected);
  }
}

TEST_F(MdcLinksTest, LabelsNameTheRowAndDiscardEditsAndEntriesPastFourAreInert) {
  EXPECT_EQ(System(cl::CL_Mdc_System_List_Text, 0), "Sys 0");
  EXPECT_EQ(System(cl::CL_Mdc_General_Text, 4), "Gen 4");
  EXPECT_EQ(System(cl::CL_Mdc_PttId_Text, 2), "PTT 2");
  EXPECT_EQ(System(cl::CL_Mdc_RadioChk_Text, 1), "RdoC 1");
  EXPECT_EQ(System(cl::CL_Mdc_Emg_Text, 3), "Emg 3");
  EXPECT_EQ(System(cl::CL_Mdc_Stun_Text, 4), "STUN 4");
  EXPECT_EQ(System(cl::CL_Mdc_Stun_Text, 4, 0, "Mine"), "STUN 4");
  EXPECT_EQ(System(cl::CL_Mdc_Emg_Text, 0, cellkey::kSpace), "Emg 0");
  EXPECT_EQ(System(cl::CL_Mdc_PttId_Pre_Time, 5, 0, "2.5"), "");
  EXPECT_EQ(System(cl::CL_Mdc_General_Self_Id, -1, 0, "1234"), "");
  EXPECT_EQ(image_, initial_);
}

TEST_F(MdcLinksTest, AZeroSelfIdWarnsAndTheCheckCountsOnlySystemsWithMdcOn) {
  const auto flags = [this](int link, std::int32_t entry) { return links_.FlagsOf(ct::CT_Null, link, entry); };
  EXPECT_EQ(flags(cl::CL_Mdc_General_Self_Id, 2), cellmark::kWarning);
  EXPECT_EQ(flags(cl::CL_Check_Mdc_SelfID, 0), 0);  // MDC off everywhere
  image_.SetByte(SystemByte(2, 10), 0x80);
  EXPECT_EQ(flags(cl::CL_Check_Mdc_SelfID, 0), cellmark::kWarning);
  System(cl::CL_Mdc_General_Self_Id, 2, 0, "0123");
  EXPECT_EQ(flags(cl::CL_Mdc_General_Self_Id, 2), 0);
  EXPECT_EQ(flags(cl::CL_Check_Mdc_SelfID, 0), 0);
  image_.SetByte(SystemByte(4, 10), 0xFF);  // the other bits of the byte do not turn MDC on
  image_.SetByte(SystemByte(3, 10), 0x7F);
  EXPECT_EQ(flags(cl::CL_Check_Mdc_SelfID, 0), cellmark::kWarning);
  System(cl::CL_Mdc_General_Self_Id, 4, 0, "1");
  EXPECT_EQ(flags(cl::CL_Check_Mdc_SelfID, 0), 0);
}

TEST_F(MdcLinksTest, AKeyOnTheBlankAliasRowAddsAnAliasAtTheCountAndOpensItsName) {
  ASSERT_EQ(memmap::AliasCount(image_), 0);
  EXPECT_EQ(Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_ID, 0, cellkey::kEvaluate).displayText, "");
  EXPECT_EQ(image_, initial_);

  const cmcCellCapsule request = Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_Beep_Type, 3, cellkey::kSpace);
  EXPECT_EQ(memmap::AliasCount(image_), 1);
  EXPECT_TRUE(request.redirect.active);
  EXPECT_EQ(request.redirect.link, cl::CL_Mdc_Alias1_Text);
  EXPECT_EQ(request.redirect.number, 0);  // the row of the count, whichever blank row the key was on
  EXPECT_EQ(request.redirect.firstKey, cellkey::kSpace);
  EXPECT_EQ(links_.LastListResult(), ListResult::kDone);
  EXPECT_NE(links_.LastChangeBits() & changebit::kRecordModified, 0);
  const std::string initialName = Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_Text, 0, 0).displayText;
  // Without a character set the new name's eight zero bytes fill the field, so the typed space is dropped.
  EXPECT_EQ(host_.opened, "text " + initialName + "| at end max 8");

  EXPECT_EQ(Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_Text, 1, 0, "DISPATCH").displayText, "DISPATCH");
  EXPECT_EQ(memmap::AliasCount(image_), 2);
  EXPECT_EQ(image_.GetByte(kAlias0 + 12), 'D');
  EXPECT_EQ(Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_ID, 1, 0, "A5").displayText, "00A5");
  EXPECT_EQ(image_.GetByte(kAlias0 + 12 + 9), 0xA5);
}

TEST_F(MdcLinksTest, NoAliasIsAddedWithoutRoom) {
  struct Case {
    const char* what;
    int address;
    std::uint16_t word;
  };
  const Case cases[] = {
      {"100 in use", kAliasCount, 100},
      {"the space word leaves less than one record", kSpaceWord, kLowLimit - 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image_ = initial_;
    image_.SetWord(c.address, c.word);
    const cmcEeprom before = image_;
    RecordingMessageBox box;
    host_.opened.clear();
    const cmcCellCapsule request = Evaluate(ct::CT_MDC_Alias, cl::CL_Mdc_Alias1_Text, memmap::AliasCount(image_), '1');
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText("GI_AppMess_ChErr_Overflow"));
    EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
    EXPECT_TRUE(box.shown[0].topmost);
    EXPECT_EQ(links_.LastListResult(), ListResult::kRefused);
    EXPECT_FALSE(request.redirect.active);
    EXPECT_EQ(host_.opened, "");
    EXPECT_EQ(image_, before);
  }
}

// Links 966 to 1112: the MDC links of the sheets have rows; the others are
// exactly the groups and links the sheets leave without behaviour.
TEST(MdcLinkTableTest, EveryMdcLinkHasARowOrIsOneOfTheUnbuiltOnes) {
  constexpr std::string_view kUnbuiltPrefixes[] = {"CL_Mdc_SelCall_", "CL_Mdc_CallAlert_", "CL_Mdc_Msg_",
                                                   "CL_Mdc_Status_",  "CL_Mdc_Alias2_",    "CL_Mdc_Alias3_",
                                                   "CL_Mdc_Alias4_",  "CL_Mdc_Alias5_"};
  constexpr std::string_view kUnbuilt[] = {"CL_Mdc_System_List_Selcall",
                                           "CL_Mdc_System_List_Status",
                                           "CL_Mdc_System_List_Alias",
                                           "CL_Mdc_System_List_Message",
                                           "CL_Mdc_System_List_CallAlert",
                                           "CL_Mdc_Conv_Time",
                                           "CL_Mdc_Alias1_Strip",
                                           "CL_Mdc_General_Group_Id",
                                           "CL_Mdc_General_10key_Timeout",
                                           "CL_Mdc_General_Menu_Timeout",
                                           "CL_Mdc_General_Mute_Type",
                                           "CL_Mdc_General_Auto_Reset",
                                           "CL_Mdc_General_Log_Enabled",
                                           "CL_Mdc_General_Log_Action_Type",
                                           "CL_Mdc_RadioChk_Tx",
                                           "CL_Mdc_RadioChk_Num_Retry",
                                           "CL_Mdc_RadioChk_Ack_Wait",
                                           "CL_Mdc_RadioChk_Disp_Time",
                                           "CL_Mdc_Emg_Status_No",
                                           "CL_Mdc_Emg_Cnt_Beep",
                                           "CL_Mdc_Emg_Beep_Type",
                                           "CL_Mdc_Emg_Beep_Time",
                                           "CL_Mdc_Emg_Rx_Log",
                                           "CL_Mdc_Emg_Rx_Send_Ack",
                                           "CL_Mdc_Emg_Ack_Delay",
                                           "CL_Mdc_Stun_Tx",
                                           "CL_Mdc_Stun_No_Retry",
                                           "CL_Mdc_Stun_Ack_Wait",
                                           "CL_Mdc_Stun_Disp_Time",
                                           "CL_Mdc_Revive_Tx",
                                           "CL_Mdc_Revive_No_Retry",
                                           "CL_Mdc_Revive_Ack_Wait",
                                           "CL_Mdc_Revive_Ack_Disp_Time",
                                           "CL_Check_MDC_Status"};
  const auto unbuilt = [&](std::string_view name) {
    for (std::string_view prefix : kUnbuiltPrefixes) {
      if (name.starts_with(prefix)) return true;
    }
    for (std::string_view listed : kUnbuilt) {
      if (name == listed) return true;
    }
    return false;
  };
  ASSERT_EQ(LinkName(cl::CL_Mdc_System_List_Text), "CL_Mdc_System_List_Text");
  ASSERT_EQ(cl::CL_Mdc_System_List_Text, 966);
  ASSERT_EQ(cl::CL_Check_MDC_Status, 1112);
  int withRow = 0;
  int withoutRow = 0;
  for (int link = 966; link <= 1112; ++link) {
    const std::string_view name = LinkName(link);
    const bool built = LinkTable::Instance().Find(link) != nullptr;
    EXPECT_NE(built, unbuilt(name)) << name;
    (built ? withRow : withoutRow) += 1;
  }
  EXPECT_EQ(withRow, 51);
  EXPECT_EQ(withoutRow, 96);
}

}  // namespace
