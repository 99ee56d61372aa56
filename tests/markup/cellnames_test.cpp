#include "markup/cellnames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/fatal_trap.h"

TEST(CellNames, LinkTableHasEveryIdOnceAtItsNumberedPlace) {
  // The first and last name of every numbered range of the link list.
  struct Boundary {
    int id;
    const char* name;
  };
  const Boundary boundaries[] = {
      {0, "CL_Null"},
      {1, "Flex0"},
      {15, "FlexMdcAlias_ChNo"},
      {16, "CL_Menu_File_New"},
      {37, "CL_Menu_Clone_Info"},
      {38, "CL_Model_Lmr"},
      {41, "CL_Model_DPmr446"},
      {42, "CL_Help_About"},
      {44, "CL_Help_Popup"},
      {45, "CL_Menu_Debug_Compare"},
      {50, "CL_Menu_Lang"},
      {51, "CL_Language_Text"},
      {52, "CL_Menu_Ad_Read"},
      {54, "CL_Menu_View_Ad_Update"},
      {55, "CL_TopPage_Name"},
      {56, "CallSheet"},
      {57, "CL_Check_Mch"},
      {65, "CL_Check_Mdc_SelfID"},
      {66, "CL_CloneInfo_Model"},
      {77, "CL_CloneInfo_Dummy"},
      {78, "CL_Langage_Select"},
      {79, "CL_EeDebugWin_Adr"},
      {95, "CL_EeDebugWin_F"},
      {96, "CL_PMenu_NoItem"},
      {107, "CL_PMenu_WinCopy"},
      {108, "CL_Bank_SelBankFree"},
      {112, "CL_Bank_UsedLeft"},
      {113, "CL_Mch_BankText"},
      {120, "CL_Mch_UsedCHs_Left"},
      {121, "CL_FBits"},
      {122, "CL_Misc_ChNo_0Base"},
      {124, "CL_Misc_QuarterPillar"},
      {125, "CL_MchWin_No"},
      {126, "CL_Mch_No"},
      {232, "CL_Mch_Dig_CC_T"},
      {233, "CL_Msk_AdrRange_Individual"},
      {322, "CL_Msk_Presl_Ptt_Side"},
      {323, "CL_Dig_ProgMes_Busy"},
      {348, "CL_Dig_Tim_L0Level"},
      {349, "CL_ExtPort_ChSW_Table_MoveCH"},
      {388, "CL_ExtPort_PortMode_none"},
      {389, "CL_KDisp_Key_Conv_RightUp"},
      {450, "CL_KDisp_Auto_KeyLock_Timer"},
      {451, "CL_TSetM_Backlight"},
      {470, "CL_TSetM_Psave"},
      {471, "CL_SetM_Backlight"},
      {494, "CL_SetM_MotionSens"},
      {495, "CL_USetM_Backlight"},
      {518, "CL_USetM_MotionSens"},
      {519, "CL_TSetI_OFF"},
      {527, "CL_TSetI_Both"},
      {528, "CL_Comm_UserPassword"},
      {619, "CL_Comm_Strv_RevAll"},
      {620, "CL_Emer_LoneWorker_DetectionType"},
      {647, "CL_Emer_VEXL_Code_EmerKey"},
      {648, "CL_Exp_UserCtcss"},
      {676, "CL_Exp_PttSw"},
      {677, "CL_CEdit"},
      {678, "CL_Dtmf_ChNo"},
      {685, "CL_Dtmf_MarkTimer"},
      {686, "CL_CTone_RX"},
      {688, "CL_CTone_Sel"},
      {689, "CL_ScanList_ScanType"},
      {702, "CL_ScanList_PwrSave"},
      {703, "CL_ScanComm_StopTimer"},
      {716, "CL_ScanComm_ScanTimer_Fast_VFO"},
      {717, "CL_2T_RxFreq_1st"},
      {735, "CL_2T_Code_Type"},
      {736, "CL_2TTx_Freq_1st"},
      {737, "CL_2T_1st_Period"},
      {738, "CL_2TTx_Freq_2nd"},
      {739, "CL_2T_2nd_Period"},
      {740, "CL_5TRx_RxCode"},
      {759, "CL_5TRx_CompareTone"},
      {760, "CL_5TTx_TxCode"},
      {766, "CL_5TTx_Sel"},
      {767, "CL_Select_TX_Code"},
      {768, "CL_Select_TX_Text"},
      {769, "CL_5TTx_LongToneTimer"},
      {789, "CL_5TTx_PTTCallIna"},
      {790, "CL_UTone_Encode"},
      {796, "CL_UTone_Length"},
      {797, "CL_Maker_SqlDelay_Op"},
      {961, "CL_Maker_mRSSISL"},
      {962, "CL_Model_MdcLmr"},
      {965, "CL_Model_MdcPmr_Mob"},
      {966, "CL_Mdc_System_List_Text"},
      {1111, "CL_Mdc_General_Log_Action_Type"},
      {1112, "CL_Check_MDC_Status"},
      {1113, "CL_Adjust_ChNo"},
      {1320, "CL_Adjust_Auto_LvTx_FH_Sweep"},
      {1321, "CL_AdjustTool_AdrSet"},
      {1323, "CL_AdjustTool_DatGet"},
      {1324, "CL_Comp_Sql_W_Slant_Val"},
      {1437, "CL_Comp_Rssi_S1Setting_Bar"},
      {1438, "CL_Adj_Pram_RfPow_Hi"},
      {1568, "CL_Adj_Pram_TxLva_A2"},
      {1569, "CL_WinAD_VIN_Dec"},
      {1581, "CL_WinAD_SMTR_Dec"},
      {1582, "CL_WinDA_T1_Dec"},
      {1608, "CL_WinDA_RXLVA_Vt"},
      {1609, "CL_Menu_Edit_Undo"},
      {1610, "CL_Menu_Edit_Redo"},
      {1611, "CL_Menu_File_ExportCsv"},
      {1612, "CL_Menu_File_ImportCsv"},
  };
  for (const Boundary& b : boundaries) {
    EXPECT_EQ(LinkName(b.id), b.name) << b.id;
    EXPECT_EQ(ResolveLink(b.name), b.id) << b.name;
  }
  std::set<std::string_view> seen;
  for (int id = 0; id < kCellLinkCount; ++id) {
    ASSERT_FALSE(LinkName(id).empty()) << id;
    EXPECT_TRUE(seen.insert(LinkName(id)).second) << "repeated: " << LinkName(id);
    EXPECT_EQ(ResolveLink(LinkName(id)), id);
  }
  EXPECT_EQ(seen.size(), 1613u);
  EXPECT_EQ(LinkName(-1), "");
  EXPECT_EQ(LinkName(1613), "");
}

TEST(CellNames, TypeTableHasTwentyEightNamesInOrder) {
  const char* const names[] = {"CT_Null",
                               "CT_PopupMenu",
                               "CT_Mch",
                               "CT_Mch_Check",
                               "CT_Mch_Win",
                               "CT_Mch_Pmr446",
                               "CT_Mch_Win_Pmr446",
                               "CT_CEdit",
                               "CT_DTMF",
                               "CT_Scan",
                               "CT_CTone",
                               "CT_RX_Code",
                               "CT_TX_Code",
                               "CT_2Tone_Code",
                               "CT_2ToneTX_Common",
                               "CT_UserTone",
                               "CT_BankOp",
                               "CT_MSK_AdrRange",
                               "CT_MSK_IdGroup",
                               "CT_MSK_CallList",
                               "CT_MSK_Msg_Status",
                               "CT_MSK_Msg_ShortTxt",
                               "CT_MSK_TimingErr",
                               "CT_MSK_Cfg",
                               "CT_Dig_Msg_Status",
                               "CT_MDC_Alias",
                               "CT_ADJ",
                               "CT_IOCheck"};
  ASSERT_EQ(std::size(names), static_cast<std::size_t>(kCellTypeCount));
  for (int id = 0; id < kCellTypeCount; ++id) {
    EXPECT_EQ(TypeName(id), names[id]);
    EXPECT_EQ(ResolveType(names[id]), id);
  }
  EXPECT_EQ(TypeName(28), "");
}

TEST(CellNames, EmptyNamesGiveNone) {
  EXPECT_EQ(ResolveType(""), kNoCellType);
  EXPECT_EQ(ResolveLink(""), kNoCellLink);
  EXPECT_EQ(ResolveLink("CL_Null"), 0);  // the null link is a link of its own
}

TEST(CellNames, UnknownWrongCaseAndWrongKindNamesAreFatal) {
  struct Case {
    bool type;
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {true, "CT_mch", "Cannot use the specified category.\n'CT_mch'"},
      {true, "CL_Mch_FreqR", "Cannot use the specified category.\n'CL_Mch_FreqR'"},
      {false, "CT_Mch", "Cannot use the specified cell.\n'CT_Mch'"},
      {false, "cl_null", "Cannot use the specified cell.\n'cl_null'"},
      {false, "CL_Mch_FreqR ", "Cannot use the specified cell.\n'CL_Mch_FreqR '"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FatalTextOf([&] { c.type ? ResolveType(c.name) : ResolveLink(c.name); }), c.message) << c.name;
  }
  EXPECT_FALSE(FindCellType("CL_Null"));
  EXPECT_FALSE(FindCellLink("CT_Null"));
}

TEST(CellNames, CategoryFollowsTheTypeAndTheModelForMemoryChannels) {
  EXPECT_EQ(CategoryOf(ResolveType("CT_Null"), 0), 0);
  EXPECT_EQ(CategoryOf(ResolveType("CT_CEdit"), 3), 5);
  EXPECT_EQ(CategoryOf(ResolveType("CT_2Tone_Code"), 1), 12);
  EXPECT_EQ(CategoryOf(ResolveType("CT_UserTone"), 1), 11);
  EXPECT_EQ(CategoryOf(ResolveType("CT_MDC_Alias"), 2), 20);
  EXPECT_EQ(CategoryOf(kNoCellType, 0), 0);
  for (const char* mch : {"CT_Mch", "CT_Mch_Check", "CT_Mch_Win", "CT_Mch_Pmr446", "CT_Mch_Win_Pmr446"}) {
    for (int model = 0; model < kModelCategoryCount; ++model) EXPECT_EQ(CategoryOf(ResolveType(mch), model), model + 1);
  }
  FatalTrap trap;
  EXPECT_THROW(CategoryOf(29, 0), FatalStop);
  EXPECT_EQ(FatalTextOf([] { CategoryOf(-1, 0); }), "Unknown Cell Category. (-1)");
}
