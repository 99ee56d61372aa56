// The radio-wide settings: set mode and its user enable mask and labels, the
// common settings, emergency and lone worker, expansion and the external
// ports. Each link is one row of its family on a fixed place of the image;
// a write changes exactly the row's bits.

#include <algorithm>
#include <deque>
#include <string>

#include "core/overlaynames.h"
#include "links/cellcapsule.h"
#include "links/celllinks.h"
#include "links/checklinks.h"
#include "links/imagelinks.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "markup/ids.h"
#include "model/charset.h"

namespace {

constexpr BitField Bit(int address, int bit) { return {address, 1, bit, 1}; }
constexpr BitField Bits(int address, int high, int low) { return {address, 1, low, high - low + 1}; }
constexpr BitField Byte(int address) { return {address, 1, 0, 8}; }
constexpr BitField Word(int address) { return {address, 2, 0, 16}; }

constexpr ChoiceSpec List(std::string_view list) { return {list, cl::Flex0}; }
constexpr std::string_view kOnOff = gi::GI_Sheet_Sel_Misc_OnOff;
constexpr std::string_view kOnOffInverted = gi::GI_Sheet_Sel_Misc_OnOff_I;
constexpr std::string_view kEnable = gi::GI_Sheet_Sel_Misc_Enable;
constexpr std::string_view kEnable3 = gi::GI_Sheet_Sel_Misc_Enable3;
constexpr std::string_view kEnable4 = gi::GI_Sheet_Sel_Misc_Enable4;
constexpr std::string_view kEnableInverted = gi::GI_Sheet_Sel_Misc_Enable_I;
constexpr std::string_view kAccess = gi::GI_Sheet_Sel_Comm_SetModeAccess;
constexpr std::string_view kBeepLevel = gi::GI_Sheet_Sel_SetM_BeepLev;
constexpr std::string_view kSquelchLevel = gi::GI_Sheet_Sel_SetM_SqlLev;
constexpr std::string_view kMicGain = gi::GI_Sheet_Sel_SetM_MicGain;

// Where the bandwidth choices change, the channels' bandwidth warnings follow.
void AskRebuild(LinkCall& call, std::int64_t) { call.changeBits |= changebit::kRebuildSheet; }

// Composite and level values: value = Σ weight × bit(s), the heaviest part first.
constexpr RowPart kBeepLevelParts[] = {{Bit(0x0280, 6), 100}, {Bits(0x0280, 3, 0), 1}};
constexpr RowPart kRingerLevel[] = {{Bit(0x0287, 6), 100}, {Bits(0x0287, 3, 0), 1}};
constexpr RowPart kSmartRingBeep[] = {{Bit(0xA9AC, 2), 100}, {Bits(0xA9AF, 3, 0), 1}};
constexpr RowPart kMaxAlert[] = {{Bit(0xBF73, 6), 100}, {Bits(0xBF73, 3, 0), 1}};
constexpr RowPart kRs232cMode[] = {{Bit(0xA999, 3), 4}, {Bits(0xA96A, 5, 4), 1}};
constexpr RowPart kDetectionType[] = {{Bit(0xBF6F, 1), 2}, {Bit(0xBF6F, 0), 1}};
constexpr RowPart kBatteryType[] = {{Bit(0xA96E, 2), 2}, {Bit(0xA96E, 3), 1}};

constexpr RowField Composite(std::span<const RowPart> parts) { return RowField(BitField{}).Of(parts); }

const ImageChoiceRow kChoices[] = {
    // external ports
    {cl::CL_ExtPort_PortMode_IGSW, Bit(0x0298, 1), List(gi::GI_Sheet_Sel_PortMode_IGSW)},
    {cl::CL_ExtPort_PortMode_AFO, Bit(0xA999, 6), List(gi::GI_Sheet_Sel_PortMode_AFO)},
    {cl::CL_ExtPort_PortMode_EPTT, Bit(0xA971, 1), List(gi::GI_Sheet_Sel_PortMode_EPTT)},
    {cl::CL_ExtPort_PortMode_SCI, Bit(0xA999, 7), List(gi::GI_Sheet_Sel_PortMode_SCI)},
    // set mode
    {cl::CL_SetM_Backlight, Bits(0x028E, 3, 0), List(gi::GI_Sheet_Sel_SetM_Backlight)},
    {cl::CL_SetM_BeepOn, Bit(0x0280, 7), List(kOnOff)},
    {cl::CL_SetM_BeepLev, Composite(kBeepLevelParts), List(kBeepLevel)},
    {cl::CL_SetM_VoxOnOff, Bit(0x028F, 4), List(kOnOffInverted)},
    {cl::CL_SetM_VoxGain, Bits(0x0289, 3, 0), List(gi::GI_Sheet_Sel_SetM_VoxGain)},
    {cl::CL_SetM_VoxDelay, Bits(0x0289, 7, 4), List(gi::GI_Sheet_Sel_SetM_VoxDelay)},
    {cl::CL_SetM_HornOut, Bit(0x028F, 7), List(kOnOffInverted)},
    {cl::CL_SetM_BATVDisp, Bit(0x028F, 6), List(kOnOff)},
    {cl::CL_SetM_SigMoni, Bit(0x028F, 2), List(kOnOffInverted)},
    {cl::CL_SetM_RingerLev, Composite(kRingerLevel), List(kBeepLevel)},
    {cl::CL_SetM_CodeDisp, Bit(0x028E, 4), List(gi::GI_Sheet_Sel_SetM_CodeType)},
    {cl::CL_SetM_Psave, Bits(0x028F, 1, 0), List(gi::GI_Sheet_Sel_SetM_PowerSave)},
    {cl::CL_SetM_LoneWorker, Bit(0x028F, 3), List(kOnOff)},
    {cl::CL_SetM_StationarySens, Bits(0x028D, 1, 0), List(gi::GI_Sheet_Sel_SetM_SensLev)},
    {cl::CL_SetM_MotionSens, Bits(0x028D, 3, 2), List(gi::GI_Sheet_Sel_SetM_SensLev)},
    {cl::CL_SetM_SqlLev, Byte(0x0288), List(kSquelchLevel)},
    {cl::CL_SetM_MicGain, Byte(0x0283), List(kMicGain)},
    {cl::CL_SetM_Ringer, Byte(0x0284), List(gi::GI_Sheet_Sel_SetM_Ringer)},
    {cl::CL_SetM_Ringer2, Byte(0x0286), List(gi::GI_Sheet_Sel_SetM_RingerOff)},
    // common: passwords and set-mode access
    {cl::CL_Comm_PwrOnPassword, Bit(0xA96F, 5), List(kOnOff)},
    {cl::CL_Comm_IniSetModeAccess, Bit(0xA9AC, 7), List(kAccess)},
    {cl::CL_Comm_KeyChgModeAccess, Bit(0xA9AC, 6), List(kAccess)},
    {cl::CL_Comm_AllClearAccess, Bit(0xA9AC, 5), List(kAccess)},
    {cl::CL_Comm_SetModeAccess, Bit(0xA96D, 3), List(kAccess)},
    // time-out and lockout
    {cl::CL_Comm_Tot, RowField(Bit(0xB8D5, 7)).While(Bit(0x010B, 4)), List(kOnOff)},
    {cl::CL_Comm_Tot_VFO, Bit(0xA998, 7), List(kOnOff)},
    {cl::CL_Comm_Tot_ID_Out, Bit(0xA96D, 5), List(kOnOff)},
    {cl::CL_Comm_Tot_Dtmf_ID_Out, Bit(0xA96D, 5), List(kOnOff)},
    {cl::CL_Comm_Tot_Beep, Bit(0xA96D, 4), List(kOnOff)},
    {cl::CL_Comm_LockoutAna, Bits(0xB8D5, 3, 2), List(gi::GI_Sheet_Sel_Mch_Lockout_Ana)},
    {cl::CL_Comm_LockoutDig, Bits(0xB8D5, 1, 0), List(gi::GI_Sheet_Sel_Mch_Lockout_Dig)},
    {cl::CL_Comm_LockoutVFO, Bits(0xA998, 5, 4), List(gi::GI_Sheet_Sel_Comm_Lockout_VFO)},
    {cl::CL_Comm_LockoutOverride, Bit(0xA96F, 1), List(kOnOff)},
    // tone and squelch
    {cl::CL_Comm_Ctcss_ToneBurst, Bit(0xA96C, 3), List(gi::GI_Sheet_Sel_Comm_Ctcss_BurstType)},
    {cl::CL_Comm_Ctcss_RxAfFilt, Bit(0xA96C, 2), List(gi::GI_Sheet_Sel_Comm_RxAfSw)},
    {cl::CL_Comm_Ctcss_ChMuteCont, Bit(0xA96B, 3), List(gi::GI_Sheet_Sel_Exp_ChMuteCont)},
    {cl::CL_Comm_Ctcss_Backup, Bit(0xA9BC, 7), List(kOnOffInverted)},
    {cl::CL_Comm_Sql_Tight_Ofs, Byte(0xA950), List(kSquelchLevel)},
    // data port
    {cl::CL_Comm_OptC_CmdType, Bit(0xA9B7, 1), List(gi::GI_Sheet_Sel_Comm_OptC_CmdType)},
    {cl::CL_Comm_RS232C_SPPED, Bits(0xA96A, 3, 0), List(gi::GI_Sheet_Sel_Comm_RS232C_SPEED)},
    {cl::CL_Comm_RS232C_Mode, Composite(kRs232cMode), List(gi::GI_Sheet_Sel_Comm_RS232C_Mode)},
    {cl::CL_Comm_RS232C_Port, Bit(0xA9BC, 3), List(gi::GI_Sheet_Sel_Comm_RS232C_Port)},
    {cl::CL_Comm_Dig_Rs232c_Speed, Bits(0xB8D4, 1, 0), List(gi::GI_Sheet_Sel_Dig_RS232C_SPEED)},
    {cl::CL_Comm_Dig_Rs232c_Mode, Bit(0xB8D4, 4), List(kOnOff)},
    // scrambler
    {cl::CL_Comm_Scrm_Type, Bit(0xA94F, 3), List(gi::GI_Sheet_Sel_Comm_Scrm_Type)},
    {cl::CL_Comm_Scrm_SyncCapture, Bits(0xA94F, 7, 6), List(gi::GI_Sheet_Sel_Comm_Scrm_SyncCapture)},
    {cl::CL_Comm_Scrm_GroupCode, Bits(0xA94F, 1, 0), List(gi::GI_Sheet_Sel_Comm_Scrm_GroupCode)},
    {cl::CL_Comm_Scrm_TStartTiming, Bits(0xA94F, 5, 4), List(gi::GI_Sheet_Sel_Comm_Scrm_ToneStartTiming)},
    // power and battery
    {cl::CL_Comm_PwrSave_VFO, Bit(0xA998, 6), List(kOnOff)},
    {cl::CL_Comm_LowBatt1_TX_End, Bit(0xA9B6, 7), List(kOnOff)},
    {cl::CL_Comm_LowBatt2_TX_End, Bit(0xA9B6, 6), List(kOnOff)},
    {cl::CL_Comm_LowBatt1, Bit(0xA9B6, 5), List(kOnOff)},
    {cl::CL_Comm_LowBatt2, Bit(0xA9B6, 4), List(kOnOff)},
    {cl::CL_Comm_Forced_RfPow_L1_When_LowBatt, Bit(0xA9BC, 0), List(kOnOffInverted)},
    // man-down
    {cl::CL_Comm_ManDown_ON, Bit(0xBF6F, 4), List(kOnOff)},
    {cl::CL_Comm_ManDown_Sairen, Bit(0xBF6F, 5), List(gi::GI_Sheet_Sel_Comm_Sairen)},
    // announcements, smart ring, selection
    {cl::CL_Comm_ChAnnounceOnOff, Bit(0x0297, 7), List(kEnable4)},
    {cl::CL_Comm_ChAnnounceSet, Bit(0xA9BC, 6), List(kEnable4)},
    {cl::CL_Comm_SmartRing_Beep, Composite(kSmartRingBeep), List(gi::GI_Sheet_Sel_SRing_Beep)},
    {cl::CL_Comm_AllSelect, Bit(0x0298, 2), List(gi::GI_Sheet_Sel_Comm_SelAll)},
    {cl::CL_Comm_TRDataOut, Bit(0xA96D, 2), List(kAccess)},
    // bandwidth
    {cl::CL_Comm_Wide, RowField(Bit(0xA96F, 7)).Then(AskRebuild), List(gi::GI_Sheet_Sel_Comm_Wide)},
    {cl::CL_Comm_Middle, RowField(Bit(0xA9BC, 4)).Then(AskRebuild), List(gi::GI_Sheet_Sel_Comm_Middle)},
    {cl::CL_Comm_FNarrow, Bit(0x0298, 0), List(kOnOff)},
    {cl::CL_Comm_FNarrow_Change, Bit(0xA9BC, 5), List(kEnable3)},
    {cl::CL_Comm_PTTSide, Bit(0xB8D4, 6), List(kOnOff)},
    {cl::CL_Comm_PTTOver, Bit(0xB8D4, 5), List(kOnOff)},
    {cl::CL_Comm_PTTwithRinger, Bit(0xB8D4, 7), List(kOnOff)},
    // stun and revive
    {cl::CL_Comm_Strv_Stun_Type, Bits(0xBA2A, 3, 0), List(gi::GI_Sheet_Sel_Comm_Stun_Type)},
    {cl::CL_Comm_Strv_TRDataOut, Bit(0xBA28, 7), List(kEnableInverted)},
    {cl::CL_Comm_Strv_PSW_Inhibit, Bit(0xBA28, 6), List(kEnableInverted)},
    {cl::CL_Comm_Strv_LCD_OFF, Bit(0xBA28, 5), List(kOnOff)},
    {cl::CL_Comm_Strv_Text_ON, Bit(0xBA28, 4), List(kEnable)},
    {cl::CL_Comm_Strv_Beep_ON, Bit(0xBA28, 1), List(kOnOff)},
    {cl::CL_Comm_Strv_DecAll, Bit(0xBA28, 3), List(kEnableInverted)},
    {cl::CL_Comm_Strv_RevAll, Bit(0xBA28, 2), List(kEnableInverted)},
    // emergency and lone worker
    {cl::CL_Emer_LoneWorker_DetectionType, Composite(kDetectionType),
     List(gi::GI_Sheet_Sel_Comm_LoneWorkerDetectionType)},
    {cl::CL_Emer_Setting_MaxAlert, Composite(kMaxAlert), List(kBeepLevel)},
    {cl::CL_Emer_Setting_Silent, Bit(0xBF6F, 5), List(gi::GI_Sheet_Sel_Comm_Silent)},
    {cl::CL_Emer_Signal_CodeEna, Bit(0xBF6F, 3), List(kEnable3)},
    {cl::CL_Emer_Signal_CodeLong, Bit(0xBF88, 7), List(kOnOff)},
    {cl::CL_Emer_Signal_2TDec, Bit(0xBF6F, 2), List(kEnable4)},
    {cl::CL_Emer_Signal_5TDec, Bit(0xBF6F, 2), List(kEnable4)},
    {cl::CL_Emer_Setting_Sql, Byte(0xBF72), List(kSquelchLevel)},
    {cl::CL_Emer_Setting_MicGain, Byte(0xBF71), List(kMicGain)},
    {cl::CL_Emer_5T_Code_Mandown, Bits(0xBF89, 6, 0), {gi::GI_Sheet_Sel_RxC_EmgCode, cl::Flex2}},
    {cl::CL_Emer_5T_Code_LoneWorker, Bits(0xBF8A, 6, 0), {gi::GI_Sheet_Sel_RxC_EmgCode, cl::Flex2}},
    {cl::CL_Emer_5T_Code_EmerKey, Bits(0xBF88, 6, 0), {gi::GI_Sheet_Sel_RxC_EmgCode, cl::Flex2}},
    {cl::CL_Emer_VEXL_Code_Mandown, Byte(0xBF85), {gi::GI_Sheet_Sel_VEXL_EmgCode, cl::Flex2}},
    {cl::CL_Emer_VEXL_Code_LoneWorker, Byte(0xBF86), {gi::GI_Sheet_Sel_VEXL_EmgCode, cl::Flex2}},
    {cl::CL_Emer_VEXL_Code_EmerKey, Byte(0xBF87), {gi::GI_Sheet_Sel_VEXL_EmgCode, cl::Flex2}},
    // expansion
    {cl::CL_Exp_DtcsInv_Tx, Bit(0xA96B, 7), List(gi::GI_Sheet_Sel_Exp_DtcsInv)},
    {cl::CL_Exp_DtcsInv_Rx, Bit(0xA96B, 6), List(gi::GI_Sheet_Sel_Exp_DtcsInv)},
    {cl::CL_Exp_RxExo_On, Bit(0xA971, 3), List(kOnOff)},
    {cl::CL_Exp_ExoInh_Igsw, Bit(0xA9BC, 2), List(kOnOff)},
    {cl::CL_Exp_ToneMuteExPtt, Bit(0xA971, 2), List(kOnOff)},
    {cl::CL_Exp_Select_ExPttFtsw, Bit(0xA971, 1), List(kEnable)},
    {cl::CL_Exp_Ignition, Bit(0x0298, 4), List(kEnable)},
    {cl::CL_Exp_ClShift, Bits(0xA96E, 1, 0), List(gi::GI_Sheet_Sel_Exp_ClShift)},
    {cl::CL_Exp_BattTypeChange, Composite(kBatteryType), List(gi::GI_Sheet_Sel_Comm_Batt_Type)},
    {cl::CL_Exp_PttSw, Bit(0xA96F, 6), List(gi::GI_Sheet_Sel_Misc_Enable_D)},
};

// The user set-mode enable mask: bit i of the three bytes at 0xA95A is bit
// 7 - i mod 8 of byte i / 8.
constexpr BitField UserEnable(int i) { return Bit(0xA95A + i / 8, 7 - i % 8); }
constexpr ChoiceSpec kUserEnable = List(gi::GI_Sheet_Sel_UserSetEnable);
const ImageChoiceRow kUserEnableRows[] = {
    {cl::CL_USetM_Backlight, UserEnable(0), kUserEnable},       {cl::CL_USetM_BeepOn, UserEnable(1), kUserEnable},
    {cl::CL_USetM_BeepLev, UserEnable(5), kUserEnable},         {cl::CL_USetM_SqlLev, UserEnable(8), kUserEnable},
    {cl::CL_USetM_AfMinLev, UserEnable(9), kUserEnable},        {cl::CL_USetM_MicGain, UserEnable(3), kUserEnable},
    {cl::CL_USetM_VoxOnOff, UserEnable(11), kUserEnable},       {cl::CL_USetM_VoxGain, UserEnable(12), kUserEnable},
    {cl::CL_USetM_VoxDelay, UserEnable(13), kUserEnable},       {cl::CL_USetM_HornOut, UserEnable(10), kUserEnable},
    {cl::CL_USetM_BATVDisp, UserEnable(4), kUserEnable},        {cl::CL_USetM_BERDisp, UserEnable(6), kUserEnable},
    {cl::CL_USetM_SigMoni, UserEnable(7), kUserEnable},         {cl::CL_USetM_Ringer, UserEnable(17), kUserEnable},
    {cl::CL_USetM_RingerLev, UserEnable(2), kUserEnable},       {cl::CL_USetM_LoneWorker, UserEnable(14), kUserEnable},
    {cl::CL_USetM_StationarySens, UserEnable(15), kUserEnable}, {cl::CL_USetM_MotionSens, UserEnable(16), kUserEnable},
};

// Byte timers: the byte counts 1 / scale seconds; "off" is 0 where allowed.
constexpr DecimalTimerSpec Timer(std::int64_t scale) { return {scale, 0, 255, std::nullopt}; }
constexpr DecimalTimerSpec TimerOrOff(std::int64_t scale) { return {scale, 0, 255, 0}; }
const ImageDecimalRow kTimers[] = {
    {cl::CL_Comm_AtResetTimer_A, Byte(0xA98A), TimerOrOff(1)},
    {cl::CL_Comm_AtResetTimer_B, Byte(0xA98B), TimerOrOff(1)},
    {cl::CL_Comm_InactiveTimer, Byte(0xA98C), Timer(1)},
    {cl::CL_Comm_Tot_PenaltyTimer, Byte(0xA987), TimerOrOff(1)},
    {cl::CL_Comm_LockoutPenaltyTimer, Byte(0xA988), TimerOrOff(1)},
    {cl::CL_Comm_Ctcss_ReverseBurst, Byte(0xA974), TimerOrOff(100)},
    {cl::CL_Comm_PwrSave_Timer1, Byte(0xA992), Timer(10)},
    {cl::CL_Comm_PwrSave_Timer2, Byte(0xA993), Timer(1)},
    {cl::CL_Comm_ManDown_Timer, Byte(0xBF83), Timer(1)},
    {cl::CL_Comm_ManDown_TS1, Byte(0xB151), Timer(10)},
    {cl::CL_Comm_ManDown_TS2, Byte(0xB152), Timer(10)},
    {cl::CL_Comm_ManDown_TS3, Byte(0xB153), Timer(10)},
    {cl::CL_Comm_LowBatt1_Periods, Byte(0xA9B4), TimerOrOff(1)},
    {cl::CL_Comm_LowBatt2_Periods, Byte(0xA9B5), TimerOrOff(1)},
    {cl::CL_Comm_Strv_LCD_OFF_Timer, Byte(0xBA29), Timer(10)},
    {cl::CL_Emer_LoneWorker_Timeout, Byte(0xBF79), TimerOrOff(1)},
    {cl::CL_Emer_LoneWorker_PreAlarm, Byte(0xBF7A), Timer(1)},
    {cl::CL_Emer_LoneWorker_RepeatAlarm, Byte(0xBF7B), Timer(1)},
    {cl::CL_Emer_LoneWorker_Pttdelay, Byte(0xBF7C), Timer(10)},
    {cl::CL_Emer_Timer_Start, Byte(0xBF77), Timer(1)},
    {cl::CL_Emer_Timer_TxTone, Byte(0xBF7D), TimerOrOff(1)},
    {cl::CL_Emer_Timer_AutoTx, Byte(0xBF7E), TimerOrOff(1)},
    {cl::CL_Emer_Timer_RxTone, Byte(0xBF7F), TimerOrOff(1)},
    {cl::CL_Emer_Timer_AutoRx, Byte(0xBF80), TimerOrOff(1)},
    {cl::CL_Emer_Timer_Idle, Byte(0xBF81), TimerOrOff(1)},
    {cl::CL_Exp_Emer_SwOnTimer, Byte(0xBF75), Timer(10)},
    {cl::CL_Exp_Emer_SwOffTimer, Byte(0xBF76), Timer(10)},
    {cl::CL_Exp_Emer_StartRepeat, Byte(0xBF78), Timer(1)},
    {cl::CL_Exp_RxExo_Delay, Byte(0xA98F), TimerOrOff(10)},
    {cl::CL_Exp_DecExo_OffTimer, Byte(0xA9BA), Timer(1)},
    {cl::CL_Exp_ExPttDelay, Byte(0xA990), TimerOrOff(10)},
    // decimal numbers in whole seconds, shown with three decimals
    {cl::CL_Comm_Tot_Reset, Byte(0xA997), {1, 0, 15, std::nullopt}},
    {cl::CL_Comm_SmartRing_BeepTimer, Byte(0xA989), {1, 0, 60, std::nullopt}},
};

const ImageNumericRow kNumbers[] = {
    {cl::CL_SetM_AFMinLev, Byte(0x0282), {0, 255, 0, 1, false}},
    {cl::CL_SetM_RingerTimer, Byte(0x0285), {0, 16, 0, 1, false}},
    {cl::CL_Exp_DecExo_Cycle, Byte(0xA9BB), {1, 255, 0, 1, false}},
    {cl::CL_Comm_ManDown_ReCycle, Byte(0xB14F), {1, 8, 0, 1, false}},
    {cl::CL_Emer_Setting_RptCycle, Byte(0xBF82), {0, 255, 0, 1, false}},
};

// Stored in tenths of a hertz, shown and typed in hertz (400-3000 Hz).
constexpr FixedPointSpec kBeepHertz{1, 0, 4000, 30000, 10};
const ImageFixedPointRow kFixedPoints[] = {
    {cl::CL_Exp_BeepFreq_Low, Word(0xA954), kBeepHertz},
    {cl::CL_Exp_BeepFreq_High, Word(0xA956), kBeepHertz},
    {cl::CL_Exp_BeepFreq_High2, Word(0xA958), kBeepHertz},
    {cl::CL_Comm_Msk_DosTimer, Byte(0xA9B2), {2, 2, 0, 255, 1}},
    {cl::CL_Comm_Msk_CoastTimer, Byte(0xA9B3), {2, 2, 0, 255, 1}},
    {cl::CL_Exp_UserCtcss, Word(0xAA96), {1, 1, 600, 3000, 1}},
};

const ImageMinSecRow kMinSecTimers[] = {
    {cl::CL_Exp_IgnitionTimer, Byte(0xA991), {30, 0, 240, false}},
};

const ImagePackedDigitsRow kPasswords[] = {
    {cl::CL_Comm_UserPassword, Byte(0xA94A), {4}},
    {cl::CL_Comm_DealerPasscode, Byte(0xA94C), {6}},
};

const ImageSyncWordRow kHexWords[] = {{cl::CL_Comm_Msk_Mdc_SelfID, Word(0xA9B0)}};

const ImageFixedTextRow kFixedTexts[] = {
    {cl::CL_SetM_BERDisp, "----"},
    {cl::CL_TSetM_BERDisp, "----"},
    {cl::CL_ExtPort_ChSW_Table_MoveCH, ""},
};

// Texts in the radio's character set, padded with spaces.
struct RadioTextRow {
  int link;
  int address;
  std::size_t length;
};
const RadioTextRow kRadioTexts[] = {
    {cl::CL_TSetM_Backlight, 0xB958, 4},   {cl::CL_TSetM_BeepOn, 0xB960, 4},    {cl::CL_TSetM_BeepLev, 0xB968, 4},
    {cl::CL_TSetM_SqlLev, 0xB970, 4},      {cl::CL_TSetM_MicGain, 0xB978, 4},   {cl::CL_TSetM_BATVDisp, 0xB980, 4},
    {cl::CL_TSetM_SigMoni, 0xB988, 4},     {cl::CL_TSetM_Ringer, 0xB990, 4},    {cl::CL_TSetM_Ringer2, 0xB998, 4},
    {cl::CL_TSetM_RingerTimer, 0xB9A0, 4}, {cl::CL_TSetM_RingerLev, 0xB9A8, 4}, {cl::CL_TSetM_CodeDisp, 0xB9B0, 4},
    {cl::CL_TSetM_Psave, 0xB9B8, 4},       {cl::CL_TSetI_OFF, 0xB9D8, 3},       {cl::CL_TSetI_ON, 0xB9E0, 3},
    {cl::CL_TSetI_Auto, 0xB9E8, 3},        {cl::CL_TSetI_Auto2, 0xB9F0, 3},     {cl::CL_TSetI_Code, 0xB9F8, 3},
    {cl::CL_TSetI_Number, 0xBA00, 3},      {cl::CL_TSetI_Ana, 0xBA08, 3},       {cl::CL_TSetI_Dig, 0xBA10, 3},
    {cl::CL_TSetI_Both, 0xBA18, 3},        {cl::CL_Comm_Strv_Text, 0xBA20, 8},  {cl::CL_Exp_Emer_Text, 0xAF6C, 8},
};

LinkOutcome RunRadioText(LinkCall& call, const RadioTextRow& row) {
  cmcEeprom& image = call.environment.image;
  const Charset* charset = call.environment.charset;
  const std::size_t length = row.length;
  const int address = row.address;
  TextValue value{[&image, address, length, charset] {
                    std::vector<std::uint8_t> bytes(length);
                    image.ReadBlock(address, bytes.data(), length);
                    if (!charset) return std::string(bytes.begin(), bytes.end());
                    return charset->Decode(bytes, " ");  // a code the set lacks shows as a space, as on the radio
                  },
                  [&image, address, length, charset](const std::string& text) {
                    std::string bytes = text.substr(0, length);
                    bytes.resize(length, ' ');
                    if (charset) {
                      Charset::Encoded encoded = charset->Encode(text, length);
                      if (!encoded.Ok()) return false;
                      bytes.assign(encoded.bytes.begin(), encoded.bytes.end());
                    }
                    image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(bytes.data()), length);
                    return true;
                  }};
  if (charset) {
    value.glyphs = [&image, address, length, charset] {
      std::vector<std::uint8_t> bytes(length);
      image.ReadBlock(address, bytes.data(), length);
      return charset->Patterns(bytes);
    };
  }
  LinkOutcome outcome = TextFamily(call.request, call.services, value);
  DropMarkUnlessStored(call, address);
  return outcome;
}

// ASCII fields edited in the cell: the clone comment lines, padded with
// spaces, and the clone password, whose unused bytes are 0.
struct AsciiTextRow {
  int link;
  int address;
  std::size_t length;
  char fill;
  std::string_view emptyHint;  // painted while every byte is the fill
};
constexpr std::string_view kPasswordHint = "[Input the password]";
constexpr CellColour kHintColour = 0x00C0C0C0;  // red 192, green 192, blue 192
const AsciiTextRow kAsciiTexts[] = {
    {cl::CL_Comm_CloneComment1, 0xA9DC, 16, ' ', {}},
    {cl::CL_Comm_CloneComment2, 0xA9EC, 16, ' ', {}},
    {cl::CL_Comm_ClonePasswordStr, 0xA9CA, 16, '\0', kPasswordHint},
};

bool Printable(char c) { return c >= 0x20 && c <= 0x7E; }

LinkOutcome RunAsciiText(LinkCall& call, const AsciiTextRow& row) {
  cmcEeprom& image = call.environment.image;
  cmcCellCapsule& request = call.request;
  std::string stored(row.length, row.fill);
  image.ReadBlock(row.address, reinterpret_cast<std::uint8_t*>(stored.data()), row.length);
  LinkOutcome outcome;
  if (request.editResult == kTextCommitted) {
    std::string next;
    std::copy_if(request.editedText.begin(), request.editedText.end(), std::back_inserter(next), Printable);
    next.resize(std::min(next.size(), row.length));
    next.resize(row.length, row.fill);
    if (next != stored) {
      image.WriteBlock(row.address, reinterpret_cast<const std::uint8_t*>(next.data()), row.length);
      stored = next;
      outcome.changed = true;
    }
  }
  std::string shown = row.fill == '\0' ? stored.substr(0, stored.find('\0')) : stored;
  std::replace_if(
      shown.begin(), shown.end(), [](char c) { return !Printable(c); }, ' ');
  if (request.editResult == kNoEdit && !outcome.changed) {
    if (request.key == cellkey::kEnter || request.key == cellkey::kDoubleClick) {
      const std::string trimmed = shown.substr(0, shown.find_last_not_of(' ') + 1);
      return BeginEditing(request, trimmed, trimmed.size());
    }
    if (request.key > cellkey::kSpace && request.key < 0x7F) {
      return BeginEditing(request, std::string(1, static_cast<char>(request.key)), 1);
    }
  }
  const bool empty = std::all_of(stored.begin(), stored.end(), [&row](char c) { return c == row.fill; });
  if (empty && request.painting && !row.emptyHint.empty()) {
    shown = row.emptyHint;
    request.fontColour = kHintColour;
  }
  request.displayText = shown;
  return outcome;
}

// The port that has no field shows the text of value 0 and ignores keys.
LinkOutcome RunHornPort(LinkCall& call) {
  call.request.key = cellkey::kEvaluate;
  call.request.editResult = kNoEdit;
  LinkValue none{[] { return std::int64_t{0}; }, [](std::int64_t) {}};
  return ChoiceFamily(call.request, call.services, List(gi::GI_Sheet_Sel_PortMode_HORN), none);
}

// The time-out timer: 0-255 s, at most 180 s on model type 3.
constexpr int kTimeOutTimer = 0xA986;
LinkOutcome RunTimeOutTimer(LinkCall& call) {
  cmcEeprom& image = call.environment.image;
  const std::int64_t maximum = call.environment.modelType == ModelType::kDpmr446 ? 180 : 255;
  LinkValue value{[&image] { return std::int64_t{image.GetByte(kTimeOutTimer)}; },
                  [&image](std::int64_t v) { image.SetByte(kTimeOutTimer, static_cast<std::uint8_t>(v)); }};
  LinkOutcome outcome = DecimalTimerFamily(call.request, call.services, {1, 0, maximum, std::nullopt}, value);
  DropMarkUnlessStored(call, kTimeOutTimer);
  return outcome;
}

// The shake timer stores five times its value, shown in half seconds (0-20, 0 = off).
constexpr int kShakeTimer = 0xBF84;
LinkOutcome RunShakeTimer(LinkCall& call) {
  cmcEeprom& image = call.environment.image;
  LinkValue value{[&image] { return std::int64_t{image.GetByte(kShakeTimer) / 5}; },
                  [&image](std::int64_t v) { image.SetByte(kShakeTimer, static_cast<std::uint8_t>(v * 5)); }};
  LinkOutcome outcome = DecimalTimerFamily(call.request, call.services, {2, 0, 20, 0}, value);
  DropMarkUnlessStored(call, kShakeTimer);
  return outcome;
}

// The links whose rows are written out below rather than in a table.
constexpr int kOwnRowLinks[] = {cl::CL_Comm_Tot_Timer, cl::CL_Emer_ShakeFunction_Timer};

// The check links sum the marks of the set-mode rows (values and user enable
// bits) and of the common rows.
bool HasPrefix(int link, std::string_view prefix) { return LinkName(link).starts_with(prefix); }

template <typename Row>
void CollectChecked(std::vector<CheckedRow>& into, std::span<const Row> rows, std::string_view prefix) {
  for (const Row& row : rows) {
    if (HasPrefix(row.link, prefix)) into.push_back({row.link});
  }
}

const std::vector<CheckedRow>& CheckedRows(std::initializer_list<std::string_view> prefixes) {
  static std::deque<std::vector<CheckedRow>> kept;  // the check rows keep spans of these
  std::vector<CheckedRow> rows;
  for (const std::string_view prefix : prefixes) {
    CollectChecked(rows, std::span<const ImageChoiceRow>(kChoices), prefix);
    CollectChecked(rows, std::span<const ImageChoiceRow>(kUserEnableRows), prefix);
    CollectChecked(rows, std::span<const ImageDecimalRow>(kTimers), prefix);
    CollectChecked(rows, std::span<const ImageNumericRow>(kNumbers), prefix);
    CollectChecked(rows, std::span<const ImageFixedPointRow>(kFixedPoints), prefix);
    CollectChecked(rows, std::span<const ImagePackedDigitsRow>(kPasswords), prefix);
    CollectChecked(rows, std::span<const ImageSyncWordRow>(kHexWords), prefix);
    for (const int link : kOwnRowLinks) {
      if (HasPrefix(link, prefix)) rows.push_back({link});
    }
  }
  return kept.emplace_back(std::move(rows));
}

}  // namespace

void AddSettingsLinks(LinkTable& table) {
  AddImageRows(table, std::span<const ImageChoiceRow>(kChoices));
  AddImageRows(table, std::span<const ImageChoiceRow>(kUserEnableRows));
  AddImageRows(table, std::span<const ImageDecimalRow>(kTimers));
  AddImageRows(table, std::span<const ImageNumericRow>(kNumbers));
  AddImageRows(table, std::span<const ImageFixedPointRow>(kFixedPoints));
  AddImageRows(table, std::span<const ImageMinSecRow>(kMinSecTimers));
  AddImageRows(table, std::span<const ImagePackedDigitsRow>(kPasswords));
  AddImageRows(table, std::span<const ImageSyncWordRow>(kHexWords));
  AddImageRows(table, std::span<const ImageFixedTextRow>(kFixedTexts));
  for (const RadioTextRow& row : kRadioTexts) {
    table.Add(row.link, [&row](LinkCall& call) { return RunRadioText(call, row); });
  }
  for (const AsciiTextRow& row : kAsciiTexts) {
    table.Add(row.link, [&row](LinkCall& call) { return RunAsciiText(call, row); });
  }
  table.Add(cl::CL_ExtPort_PortMode_HORN, RunHornPort);
  table.Add(cl::CL_Comm_Tot_Timer, RunTimeOutTimer);
  table.Add(cl::CL_Emer_ShakeFunction_Timer, RunShakeTimer);

  static const CheckLinkRow kChecks[] = {
      {cl::CL_Check_SetMode, CheckedRows({"CL_SetM_", "CL_USetM_"})},
      {cl::CL_Check_Common, CheckedRows({"CL_Comm_"})},
  };
  AddCheckLinks(table, kChecks);
}
