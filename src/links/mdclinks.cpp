// The MDC signalling links: the five system entries (a General, PTT ID,
// emergency, radio-check, stun and revive set each, edited on sheets of five
// rows whose cells carry the entry as parameter) and the alias list. Links of
// MDC features this radio does not act on have no row.

#include <array>
#include <string>

#include "core/bitfield.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "links/checklinks.h"
#include "links/imagelinks.h"
#include "links/linktable.h"
#include "markup/ids.h"
#include "model/entryplaces.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

constexpr RowField System(int byte, int shift = 0, int width = 8) {
  return RowField(EntryTable::kMdcSystem, BitField{byte, 1, shift, width});
}
constexpr RowField SystemFlag(int byte, int bit) { return System(byte, bit, 1); }
constexpr RowField Alias(int byte, int bytes, int width) {
  return RowField(EntryTable::kMdcAlias, BitField{byte, bytes, 0, width});
}

constexpr ChoiceSpec kOnOff{"GI_Sheet_Sel_Misc_OnOff", cl::Flex0};
constexpr ChoiceSpec kEnable{"GI_Sheet_Sel_Misc_Enable", cl::Flex0};

// --- row labels: "Sys 0" to "Sys 4"; they take no keys, so an edit of them changes nothing ---

struct LabelRow {
  int link;
  std::string_view format;
};
constexpr LabelRow kLabelRows[] = {
    {cl::CL_Mdc_System_List_Text, "Sys %d"}, {cl::CL_Mdc_General_Text, "Gen %d"}, {cl::CL_Mdc_PttId_Text, "PTT %d"},
    {cl::CL_Mdc_RadioChk_Text, "RdoC %d"},   {cl::CL_Mdc_Emg_Text, "Emg %d"},     {cl::CL_Mdc_Stun_Text, "STUN %d"},
};

// --- a system picks one set of each kind by its number ---

constexpr ImageTypedChoiceRow kSetChoiceRows[] = {
    {cl::CL_Mdc_System_List_General, System(0, 4, 4), {"GI_Sheet_Sel_Mdc_System_General_List", cl::Flex0}},
    {cl::CL_Mdc_System_List_PttId, System(0, 0, 4), {"GI_Sheet_Sel_Mdc_System_PttId_List", cl::Flex0}},
    {cl::CL_Mdc_System_List_Emg, System(1, 4, 4), {"GI_Sheet_Sel_Mdc_System_Emg_List", cl::Flex0}},
    {cl::CL_Mdc_System_List_RadioChk, System(1, 0, 4), {"GI_Sheet_Sel_Mdc_System_RadioChk_List", cl::Flex0}},
    {cl::CL_Mdc_System_List_Stun, System(2, 4, 4), {"GI_Sheet_Sel_Mdc_System_Stun_List", cl::Flex0}},
    {cl::CL_Mdc_System_List_Revive, System(2, 0, 4), {"GI_Sheet_Sel_Mdc_System_Revive_List", cl::Flex0}},
};

constexpr ImageChoiceRow kChoiceRows[] = {
    {cl::CL_Mdc_General_Mdc_On, SystemFlag(10, 7), kOnOff},
    {cl::CL_Mdc_General_Mute_MSK, SystemFlag(10, 6), kEnable},
    {cl::CL_Mdc_General_Tones_Req, SystemFlag(10, 5), kEnable},
    {cl::CL_Mdc_PttId_Tx, SystemFlag(13, 7), kEnable},
    {cl::CL_Mdc_PttId_Rx, SystemFlag(13, 6), kEnable},
    {cl::CL_Mdc_PttId_Pttid_Dwn, SystemFlag(13, 5), kEnable},
    {cl::CL_Mdc_PttId_Pttid_Up, SystemFlag(13, 4), kEnable},
    {cl::CL_Mdc_PttId_Rt_Beep, SystemFlag(13, 3), kEnable},
    {cl::CL_Mdc_PttId_Cu_Beep, SystemFlag(13, 2), kEnable},
    {cl::CL_Mdc_Emg_Rx, SystemFlag(20, 7), kEnable},
    {cl::CL_Mdc_Emg_Tx, SystemFlag(20, 6), kEnable},
    {cl::CL_Mdc_Emg_Ignore_Other, SystemFlag(20, 5), kEnable},
    {cl::CL_Mdc_Emg_No_Disp, SystemFlag(20, 4), kEnable},
    {cl::CL_Mdc_Emg_EXO_Out, SystemFlag(20, 2), kEnable},
    {cl::CL_Mdc_RadioChk_Rx, SystemFlag(23, 7), kEnable},
    {cl::CL_Mdc_Stun_Rx, SystemFlag(25, 7), kEnable},
    {cl::CL_Mdc_Revive_Rx, SystemFlag(27, 7), kEnable},
    {cl::CL_Mdc_Alias1_Beep_Type, Alias(10, 1, 4), {"GI_Sheet_Sel_MDC_Beep_Type", cl::Flex0}},
};

constexpr ImageNumericRow kNumericRows[] = {
    {cl::CL_Mdc_General_Tx_Sync_Retry, System(6), {0, 255, 0, 1, false}},
    {cl::CL_Mdc_General_Rx_Sync_Threshold, System(7), {29, 40, 0, 1, false}},
    {cl::CL_Mdc_Emg_No_Cycles, System(17), {0, 250, 0, 1, false}},
    {cl::CL_Mdc_Emg_No_Polite, System(21, 4, 4), {0, 15, 0, 1, false}},
    {cl::CL_Mdc_Emg_No_Impolite, System(21, 0, 4), {0, 15, 0, 1, false}},
};

// The half-second timers show tenths of a second in steps of 0.5 s up to
// 60.0 s; their byte counts half seconds, so it holds the whole range (tenths
// in a byte would end at 25.5 s).
constexpr RowPart kHalfSecondsOf11[] = {{BitField{11, 1, 0, 8}, 5}};
constexpr RowPart kHalfSecondsOf12[] = {{BitField{12, 1, 0, 8}, 5}};
constexpr RowPart kHalfSecondsOf15[] = {{BitField{15, 1, 0, 8}, 5}};
constexpr RowPart kHalfSecondsOf19[] = {{BitField{19, 1, 0, 8}, 5}};
constexpr FixedPointSpec kHalfSeconds{1, 3, 0, 600, 5};

constexpr FixedPointSpec kHundredths{2, 3, 0, 255, 1};
constexpr FixedPointSpec kTenths{1, 3, 0, 255, 1};
constexpr FixedPointSpec kSeconds(std::int64_t maximum) { return {0, 3, 0, maximum, 1}; }

constexpr ImageFixedPointRow kFixedPointRows[] = {
    {cl::CL_Mdc_General_Initial_Tx_Delay, System(5), kHundredths},
    {cl::CL_Mdc_General_DOS_Time, System(8), kHundredths},
    {cl::CL_Mdc_General_Coast_Time, System(9), {2, 3, 0, 50, 1}},
    {cl::CL_Mdc_PttId_Pre_Time, System(11).Of(kHalfSecondsOf11), kHalfSeconds},
    {cl::CL_Mdc_PttId_Post_Time, System(12).Of(kHalfSecondsOf12), kHalfSeconds},
    {cl::CL_Mdc_Emg_Ack_Wait, System(14), kTenths},
    {cl::CL_Mdc_Emg_Disp_Time, System(15).Of(kHalfSecondsOf15), kHalfSeconds},
    {cl::CL_Mdc_Emg_Free_Wait, System(16), kSeconds(60)},
    {cl::CL_Mdc_Emg_Open_Mic_Duration, System(18), kSeconds(140)},
    {cl::CL_Mdc_Emg_Cycle_Delay, System(19).Of(kHalfSecondsOf19), kHalfSeconds},
    {cl::CL_Mdc_RadioChk_Ack_Delay, System(22), kTenths},
    {cl::CL_Mdc_Stun_Ack_Delay, System(24), kTenths},
    {cl::CL_Mdc_Revive_Ack_Delay, System(26), kTenths},
};

constexpr ImageSyncWordRow kSyncWordRows[] = {
    {cl::CL_Mdc_General_Self_Id, RowField(EntryTable::kMdcSystem, BitField{3, 2, 0, 16})},
    {cl::CL_Mdc_Alias1_ID, Alias(8, 2, 16)},
};

// --- the own ID: a radio without one cannot be called, so 0 carries the warning mark ---

constexpr BitField kSelfId{3, 2, 0, 16};
constexpr BitField kMdcOn{10, 1, 7, 1};

// The field of system entry `entry` at `inEntry`, or nothing for no entry.
std::optional<std::uint32_t> SystemField(const LinkEnvironment& environment, std::int32_t entry, BitField inEntry) {
  const std::optional<int> base = PlaceOf(EntryTable::kMdcSystem).AddressOf(entry);
  if (!base) return std::nullopt;
  inEntry.address += *base;
  return inEntry.Get(environment.image.Bytes());
}

void AddSelfIdWarning(LinkTable& table) {
  const LinkBehaviour syncWord = *table.Find(cl::CL_Mdc_General_Self_Id);
  table.Add(cl::CL_Mdc_General_Self_Id, [syncWord](LinkCall& call) {
    const LinkOutcome outcome = syncWord(call);
    if (const std::optional<std::uint32_t> id = SystemField(call.environment, call.number, kSelfId); id && *id == 0) {
      call.request.marks |= cellmark::kWarning;
      DropMarkUnlessStored(call, *PlaceOf(EntryTable::kMdcSystem).AddressOf(call.number) + kSelfId.address);
    }
    return outcome;
  });
}

// Sums the own-ID marks of the systems whose MDC is on: a radio that does not
// use MDC needs no ID.
LinkOutcome CheckSelfIds(LinkCall& call) {
  const EntryPlace& systems = PlaceOf(EntryTable::kMdcSystem);
  int marks = 0;
  for (std::int32_t entry = systems.first; entry <= systems.last; ++entry) {
    if (SystemField(call.environment, entry, kMdcOn).value_or(0) == 0) continue;
    marks |= call.links.FlagsOf(ct::CT_Null, cl::CL_Mdc_General_Self_Id, entry);
  }
  call.request.marks |= marks;
  return {};
}

// --- the alias name; a row without an alias never gets here (the evaluator creates the alias first) ---

constexpr std::size_t kAliasNameSize = 8;

LinkOutcome RunAliasName(LinkCall& call) {
  const std::optional<int> address = PlaceOf(EntryTable::kMdcAlias).AddressOf(call.number);
  if (!address) return {};
  TextValue value = ImageTextValue(call.environment.image, *address, kAliasNameSize, call.environment.charset);
  const LinkOutcome outcome = TextFamily(call.request, call.services, value);
  // Other sheets name the aliases too (the system lists): every linked cell is repainted.
  if (outcome.changed && call.environment.events) call.environment.events->Post(ev::kCellsChangedAll, nullptr, 0);
  return outcome;
}

}  // namespace

void AddMdcLinks(LinkTable& table) {
  for (const LabelRow& row : kLabelRows) {
    table.Add(row.link, [&row](LinkCall& call) {
      call.request.displayText = Substitute(row.format, {std::int64_t{call.number}});
      return LinkOutcome{};
    });
  }
  AddImageRows(table, std::span<const ImageTypedChoiceRow>(kSetChoiceRows));
  AddImageRows(table, std::span<const ImageChoiceRow>(kChoiceRows));
  AddImageRows(table, std::span<const ImageNumericRow>(kNumericRows));
  AddImageRows(table, std::span<const ImageFixedPointRow>(kFixedPointRows));
  AddImageRows(table, std::span<const ImageSyncWordRow>(kSyncWordRows));
  AddSelfIdWarning(table);
  table.Add(cl::CL_Mdc_Alias1_Text, RunAliasName);
  table.Add(cl::CL_Check_Mdc_SelfID, CheckSelfIds);
}
