// The radio settings links on the shipped overlay: each row writes exactly its
// bits, the timers and numbers keep their limits, and every link of the
// settings prefixes either has a row or shows "*Yet*".

#include <gtest/gtest.h>

#include <string>

#include "core/gtex.h"
#include "link_host.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "markup/fcache.h"
#include "markup/ids.h"

namespace {

class SettingsLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL"));
    image_.Resize(cmcEeprom::kImageSize);
    image_.Fill(0x00);
  }
  cmcCellCapsule Request(int link, bool painting = false) {
    cell_.type = ct::CT_Null;
    cell_.link = link;
    cell_.parameter = 0;
    cmcCellCapsule request;
    request.cell = &cell_;
    request.painting = painting;
    return request;
  }
  cmcCellCapsule Show(int link, bool painting = false) {
    cmcCellCapsule request = Request(link, painting);
    links_.Evaluate(request, false);
    return request;
  }
  std::string Key(int link, int key) {
    cmcCellCapsule request = Request(link);
    request.key = key;
    links_.Evaluate(request, false);
    return request.displayText;
  }
  std::string Commit(int link, const std::string& text) {
    cmcCellCapsule request = Request(link);
    request.editResult = kTextCommitted;
    request.editedText = text;
    links_.Evaluate(request, false);
    return request.displayText;
  }
  std::string Choose(int link, int column, std::int32_t value) {
    cmcCellObj chosen;
    chosen.link = column;
    chosen.parameter = value;
    cmcCellCapsule reply;
    reply.cell = &chosen;
    cmcCellCapsule request = Request(link);
    request.editResult = kPopupChoice;
    request.reply = &reply;
    links_.Evaluate(request, false);
    return request.displayText;
  }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom image_;
  RecordingLinkHost host_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  CellLinks links_{environment_, LinkTable::Instance()};
  cmcCellObj cell_;
};

bool HasPrefix(std::string_view name, std::initializer_list<std::string_view> prefixes) {
  for (const std::string_view prefix : prefixes) {
    if (name.starts_with(prefix)) return true;
  }
  return false;
}

TEST_F(SettingsLinksTest, EveryLinkOfTheSettingsPrefixesHasARowOrShowsYet) {
  int built = 0;
  int notYet = 0;
  for (int link = 0; !LinkName(link).empty(); ++link) {
    const std::string_view name = LinkName(link);
    if (!HasPrefix(name, {"CL_SetM_", "CL_TSetM_", "CL_TSetI_", "CL_USetM_", "CL_Comm_", "CL_Emer_", "CL_Exp_",
                          "CL_ExtPort_"})) {
      continue;
    }
    const bool yet = Show(link).displayText == std::to_string(link) + " *Yet*";
    EXPECT_EQ(yet, LinkTable::Instance().Find(link) == nullptr) << name;
    (yet ? notYet : built) += 1;
  }
  EXPECT_EQ(built, 204);
  EXPECT_EQ(notYet, 62);
  EXPECT_EQ(Show(cl::CL_Check_Common_Mdc_SelfID).displayText,
            std::to_string(cl::CL_Check_Common_Mdc_SelfID) + " *Yet*");
}

// A sample row of each table, checked field by field: the value written, the
// rest of each byte kept.
struct ChoiceCase {
  int link;
  std::int32_t value;
  int address;
  std::uint8_t before;
  std::uint8_t after;
};
const ChoiceCase kChoiceCases[] = {
    {cl::CL_SetM_Backlight, 2, 0x028E, 0xF0, 0xF2},         // bits 3-0
    {cl::CL_SetM_VoxDelay, 3, 0x0289, 0x0F, 0x3F},          // bits 7-4
    {cl::CL_SetM_SqlLev, 7, 0x0288, 0x00, 0x07},            // a whole byte
    {cl::CL_Comm_PwrOnPassword, 1, 0xA96F, 0xDF, 0xFF},     // bit 5
    {cl::CL_Comm_Scrm_SyncCapture, 1, 0xA94F, 0x3F, 0x7F},  // bits 7-6
    {cl::CL_Comm_Strv_TRDataOut, 1, 0xBA28, 0x7F, 0xFF},    // bit 7
    {cl::CL_USetM_SqlLev, 1, 0xA95B, 0x7F, 0xFF},           // mask bit 8: bit 7 of the second byte
    {cl::CL_USetM_Ringer, 1, 0xA95C, 0xBF, 0xFF},           // mask bit 17: bit 6 of the third byte
    {cl::CL_Emer_5T_Code_EmerKey, 5, 0xBF88, 0x80, 0x85},   // bits 6-0, code list in column 2
    {cl::CL_Exp_PttSw, 0, 0xA96F, 0xFF, 0xBF},              // bit 6
};

TEST_F(SettingsLinksTest, AChoiceWritesOnlyItsBits) {
  for (const ChoiceCase& c : kChoiceCases) {
    image_.SetByte(c.address, c.before);
    const int column = c.link == cl::CL_Emer_5T_Code_EmerKey ? cl::Flex2 : cl::Flex0;
    const std::string shown = Choose(c.link, column, c.value);
    EXPECT_EQ(image_.GetByte(c.address), c.after) << LinkName(c.link);
    EXPECT_NE(shown, "error") << LinkName(c.link);
  }
}

TEST_F(SettingsLinksTest, CompositesAndLevelsWriteEachBitBackAndKeepTheRestOfTheByte) {
  // RS-232C mode: (0xA96A bits 5-4) + 4 × (0xA999 bit 3)
  image_.SetByte(0xA96A, 0xCF);
  image_.SetByte(0xA999, 0xF7);
  Choose(cl::CL_Comm_RS232C_Mode, cl::Flex0, 6);
  EXPECT_EQ(image_.GetByte(0xA96A), 0xEF);
  EXPECT_EQ(image_.GetByte(0xA999), 0xFF);
  // battery type: 2 × (0xA96E bit 2) + (0xA96E bit 3)
  image_.SetByte(0xA96E, 0x00);
  Choose(cl::CL_Exp_BattTypeChange, cl::Flex0, 1);
  EXPECT_EQ(image_.GetByte(0xA96E), 0x08);
  Choose(cl::CL_Exp_BattTypeChange, cl::Flex0, 2);
  EXPECT_EQ(image_.GetByte(0xA96E), 0x04);
  // a level + 100 sets the flag bit beside the level; a level below 100 clears it
  image_.SetByte(0xBF73, 0xA0);
  EXPECT_EQ(Choose(cl::CL_Emer_Setting_MaxAlert, cl::Flex0, 103), "Volume+3");
  EXPECT_EQ(image_.GetByte(0xBF73), 0xE3);
  EXPECT_EQ(Choose(cl::CL_Emer_Setting_MaxAlert, cl::Flex0, 5), "5");
  EXPECT_EQ(image_.GetByte(0xBF73), 0xA5);
  // the smart ring level's flag lives in another byte
  image_.SetByte(0xA9AF, 0xF0);
  image_.SetByte(0xA9AC, 0x00);
  Choose(cl::CL_Comm_SmartRing_Beep, cl::Flex0, 102);
  EXPECT_EQ(image_.GetByte(0xA9AF), 0xF2);
  EXPECT_EQ(image_.GetByte(0xA9AC), 0x04);
}

TEST_F(SettingsLinksTest, TimersKeepTheirScaleAndOff) {
  EXPECT_EQ(Commit(cl::CL_Comm_PwrSave_Timer1, "2.5"), "  2.500");
  EXPECT_EQ(image_.GetByte(0xA992), 25);
  image_.SetByte(0xBF7D, 9);
  const std::string off = Commit(cl::CL_Emer_Timer_TxTone, "off");
  EXPECT_EQ(image_.GetByte(0xBF7D), 0);
  EXPECT_EQ(off, Show(cl::CL_Emer_Timer_TxTone).displayText);
  EXPECT_EQ(off.find("0.000"), std::string::npos) << off;  // the off text, not a number
  // a timer without "off" keeps 0 as a number
  EXPECT_EQ(Commit(cl::CL_Emer_Timer_Start, "of"), "  0.000");
}

TEST_F(SettingsLinksTest, TheTimeOutTimerHasAShorterLimitOnTheDpmr446Type) {
  EXPECT_EQ(Commit(cl::CL_Comm_Tot_Timer, "240"), "240.000");
  environment_.modelType = ModelType::kDpmr446;
  EXPECT_EQ(Commit(cl::CL_Comm_Tot_Timer, "240"), "180.000");
  EXPECT_EQ(image_.GetByte(0xA986), 180);
}

TEST_F(SettingsLinksTest, NumbersAndDecimalsKeepTheirLimits) {
  EXPECT_EQ(Commit(cl::CL_Exp_BeepFreq_Low, "2100"), "2100");
  EXPECT_EQ(image_.GetByte(0xA954), 0x52);
  EXPECT_EQ(image_.GetByte(0xA955), 0x08);
  EXPECT_EQ(Commit(cl::CL_Exp_BeepFreq_High, "100"), "400");  // below 400 Hz: the limit
  EXPECT_EQ(Commit(cl::CL_Exp_BeepFreq_High2, "5000"), "3000");
  EXPECT_EQ(Commit(cl::CL_Comm_ManDown_ReCycle, "0"), "1");
  EXPECT_EQ(Commit(cl::CL_Comm_Msk_DosTimer, "1.23"), "  1.23");
  EXPECT_EQ(image_.GetByte(0xA9B2), 123);
  EXPECT_EQ(Commit(cl::CL_Exp_UserCtcss, "88.5"), " 88.5");
  EXPECT_EQ(image_.GetByte(0xAA96) << 8 | image_.GetByte(0xAA97), 885);
  EXPECT_EQ(Commit(cl::CL_Exp_IgnitionTimer, "1:15"), " 1:30");  // steps of 30 s, rounded up
  EXPECT_EQ(Commit(cl::CL_Emer_ShakeFunction_Timer, "3.5"), "  3.500");
  EXPECT_EQ(image_.GetByte(0xBF84), 35);  // 7 half seconds, stored × 5
}

TEST_F(SettingsLinksTest, PasswordsArePaddedOnTheLeft) {
  EXPECT_EQ(Commit(cl::CL_Comm_UserPassword, "12"), "0012");
  EXPECT_EQ(image_.GetByte(0xA94A), 0x00);
  EXPECT_EQ(image_.GetByte(0xA94B), 0x12);
  EXPECT_EQ(Commit(cl::CL_Comm_DealerPasscode, "98765"), "098765");
  EXPECT_EQ(image_.GetByte(0xA94C), 0x09);
  EXPECT_EQ(image_.GetByte(0xA94E), 0x65);
  EXPECT_EQ(Commit(cl::CL_Comm_Msk_Mdc_SelfID, "1a2f"), "1A2F");
  EXPECT_EQ(image_.GetByte(0xA9B0), 0x1A);
}

TEST_F(SettingsLinksTest, TheClonePasswordKeepsPrintableCharactersAndShowsAHintOnlyWhilePainted) {
  EXPECT_EQ(Show(cl::CL_Comm_ClonePasswordStr).displayText, "");
  const cmcCellCapsule painted = Show(cl::CL_Comm_ClonePasswordStr, true);
  EXPECT_EQ(painted.displayText, "[Input the password]");
  ASSERT_TRUE(painted.fontColour.has_value());
  EXPECT_EQ(*painted.fontColour, 0x00C0C0C0u);

  EXPECT_EQ(Commit(cl::CL_Comm_ClonePasswordStr, "ab\tc"), "abc");
  EXPECT_EQ(image_.GetByte(0xA9CA), 'a');
  EXPECT_EQ(image_.GetByte(0xA9CC), 'c');
  EXPECT_EQ(image_.GetByte(0xA9CD), 0);
  EXPECT_EQ(image_.GetByte(0xA9D9), 0);
  EXPECT_FALSE(Show(cl::CL_Comm_ClonePasswordStr, true).fontColour.has_value());
}

TEST_F(SettingsLinksTest, CloneCommentsArePaddedWithSpaces) {
  EXPECT_EQ(Commit(cl::CL_Comm_CloneComment1, "Fleet 7"), "Fleet 7         ");
  EXPECT_EQ(image_.GetByte(0xA9DC), 'F');
  EXPECT_EQ(image_.GetByte(0xA9EB), ' ');
  EXPECT_EQ(image_.GetByte(0xA9EC), 0);  // the second line is untouched
}

TEST_F(SettingsLinksTest, TheTimeOutFlagActsOnlyWhileItsGateIsSet) {
  image_.SetByte(0x010B, 0x00);
  EXPECT_EQ(Key(cl::CL_Comm_Tot, cellkey::kSpace), "");
  EXPECT_EQ(image_.GetByte(0xB8D5), 0x00);
  image_.SetByte(0x010B, 0x10);
  EXPECT_EQ(Key(cl::CL_Comm_Tot, cellkey::kSpace), "On");
  EXPECT_EQ(image_.GetByte(0xB8D5), 0x80);
}

TEST_F(SettingsLinksTest, FixedCellsIgnoreKeys) {
  EXPECT_EQ(Key(cl::CL_ExtPort_PortMode_HORN, cellkey::kSpace), "Horn alert");
  EXPECT_EQ(Show(cl::CL_SetM_BERDisp).displayText, "----");
  EXPECT_EQ(Show(cl::CL_TSetM_BERDisp).displayText, "----");
  EXPECT_EQ(Show(cl::CL_ExtPort_ChSW_Table_MoveCH).displayText, "");
}

TEST_F(SettingsLinksTest, BandwidthChoicesAskForTheSheetRebuild) {
  Key(cl::CL_Comm_Wide, cellkey::kSpace);
  EXPECT_NE(links_.LastChangeBits() & changebit::kRebuildSheet, 0);
  Key(cl::CL_Comm_FNarrow, cellkey::kSpace);
  EXPECT_EQ(links_.LastChangeBits() & changebit::kRebuildSheet, 0);
}

TEST_F(SettingsLinksTest, ASetModeValueItsListLacksCarriesTheWarningMarkWhereTheTypeStoresIt) {
  image_.SetByte(0x0288, 0xEE);
  EXPECT_EQ(Show(cl::CL_Check_SetMode).marks & cellmark::kWarning, 0);  // the set-mode block: dPMR446 only
  environment_.modelType = ModelType::kDpmr446;
  EXPECT_EQ(Show(cl::CL_SetM_SqlLev).displayText, "error");
  EXPECT_EQ(Show(cl::CL_SetM_SqlLev).marks & cellmark::kWarning, cellmark::kWarning);
  EXPECT_EQ(Show(cl::CL_Check_SetMode).marks & cellmark::kWarning, cellmark::kWarning);
  EXPECT_EQ(Show(cl::CL_Check_Common).marks & cellmark::kWarning, 0);
}

}  // namespace
