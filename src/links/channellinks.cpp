// The links of the memory-channel sheets of every model type. Each link is a
// table row of its family; the PMR and PMR446 sheets' links map onto the same
// rows with their own grid or list where they differ.

#include <array>
#include <cstdio>
#include <optional>

#include "core/bitfield.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "links/channelops.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "model/chlayout.h"
#include "model/memorymap.h"

namespace {

using Field = int datCh::*;

// --- conditions under which a field does not apply (drawn grey) ---

using Condition = bool (*)(const datCh& record);

bool DuplexOff(const datCh& record) { return record.dup == 0; }
bool ToneModeNot1(const datCh& record) { return record.tone != 1; }
bool ToneModeNot2(const datCh& record) { return record.tone != 2; }
bool ToneModeNotCode(const datCh& record) { return record.tone != 3 && record.tone != 4; }

// Wide/narrow/middle values 2 and 3 need the image's middle-bandwidth setting.
constexpr BitField kMiddleEnabled{memmap::addr::kMiddleBandwidth, 1, 4, 1};

void Grey(LinkCall& call, Condition condition) {
  if (condition && condition(call.record)) call.request.fontColour = kNotApplicableColour;
}

// After a change of a channel field the record is written back, which also
// refreshes the fields the radio derives.
LinkOutcome Changed(LinkCall& call, LinkOutcome outcome) {
  if (outcome.changed) {
    call.record.modified = true;
    call.record.store();
  }
  return outcome;
}

LinkValue FieldValue(LinkCall& call, Field field) {
  datCh& record = call.record;
  return {[&record, field] { return static_cast<std::int64_t>(record.*field); },
          [&record, field](std::int64_t v) { record.*field = static_cast<int>(v); }};
}

template <typename Number>
LinkValue NumberValue(Number& number) {
  return {[&number] { return static_cast<std::int64_t>(number); },
          [&number](std::int64_t v) { number = static_cast<Number>(v); }};
}

// --- choice rows ---

constexpr std::string_view kOnOff = gi::GI_Sheet_Sel_Misc_OnOff2;

struct ChoiceRow {
  int link;
  Field field;
  std::string_view list;
  std::string_view pmrList;  // the list on the PMR model types 1 and 2, when it differs
  int column;
  Condition grey;
  bool rebuildsSheet;
};

const ChoiceRow kChoiceRows[] = {
    {cl::CL_Mch_Inh, &datCh::inh, gi::GI_Sheet_Sel_Mch_ChInh, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Dup, &datCh::dup, gi::GI_Sheet_Sel_Mch_Dup, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Dup_Reverse, &datCh::reverse, gi::GI_Sheet_Sel_Mch_Dup_Reverse, {}, cl::Flex0, DuplexOff, false},
    {cl::CL_Mch_TxInh, &datCh::txInh, gi::GI_Sheet_Sel_Mch_CH_TxInh, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_TS, &datCh::ts, gi::GI_Sheet_Sel_Mch_CH_TS, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Nar, &datCh::nar, gi::GI_Sheet_Sel_Mch_Nar, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_WNM, &datCh::wnm, gi::GI_Sheet_Sel_Mch_WNM, {}, cl::FlexMark, nullptr, true},
    {cl::CL_Mch_Sql_Tight, &datCh::sqlTight, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Compander, &datCh::compander, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Tot, &datCh::tot, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_PwrSave, &datCh::pwrSave, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_RfPo, &datCh::rfPo, gi::GI_Sheet_Sel_Mch_RfPwr, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Lockout, &datCh::lockout, gi::GI_Sheet_Sel_Mch_Lockout_Lmr, gi::GI_Sheet_Sel_Mch_Lockout_Pmr, cl::Flex0,
     nullptr, false},
    {cl::CL_Mch_Tone, &datCh::tone, gi::GI_Sheet_Sel_Mch_Tone, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Tone_Freq, &datCh::toneFreq, gi::GI_Sheet_Sel_Mch_TFreq, {}, cl::Flex0, ToneModeNot1, false},
    {cl::CL_Mch_Tsql_Freq, &datCh::tsqlFreq, gi::GI_Sheet_Sel_Mch_TFreq, {}, cl::Flex0, ToneModeNot2, false},
    {cl::CL_Mch_Dtcs, &datCh::dtcs, gi::GI_Sheet_Sel_Mch_DTCS, {}, cl::Flex0, ToneModeNotCode, false},
    {cl::CL_Mch_Dtcs_Polarity,
     &datCh::dtcsPolarity,
     gi::GI_Sheet_Sel_Mch_DTCS_Polarity,
     {},
     cl::Flex0,
     ToneModeNotCode,
     false},
};

// Channel options the record carries without naming them: single bits of
// option byte 2, which the radio leaves to the programming software.
struct CarriedBitRow {
  int link;
  int bit;
};
constexpr int kCarriedOptionByte = 2;
const CarriedBitRow kCarriedBitRows[] = {
    {cl::CL_Mch_Scan_OnOff, 7}, {cl::CL_Mch_Scan_Inc, 6}, {cl::CL_Mch_AutoChScan, 5},
    {cl::CL_Mch_AutoReset, 4},  {cl::CL_Mch_CH_Mute, 3},
};

LinkOutcome RunCarriedBit(LinkCall& call, const CarriedBitRow& row) {
  std::uint8_t& byte = call.record.optionRecord[kCarriedOptionByte];
  const auto mask = static_cast<std::uint8_t>(1u << row.bit);
  LinkValue value{
      [&byte, mask] { return std::int64_t{(byte & mask) != 0}; },
      [&byte, mask](std::int64_t on) { byte = static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask); }};
  return Changed(call, ChoiceFamily(call.request, call.services, ChoiceSpec{kOnOff, cl::Flex0}, value));
}

LinkOutcome RunChoice(LinkCall& call, const ChoiceRow& row) {
  bool pmr = IsPmr(call.environment.modelType);
  ChoiceSpec spec{pmr && !row.pmrList.empty() ? row.pmrList : row.list, row.column};
  LinkValue value = FieldValue(call, row.field);
  LinkOutcome outcome = Changed(call, ChoiceFamily(call.request, call.services, spec, value));
  Grey(call, row.grey);
  if (row.link == cl::CL_Mch_WNM && value.get() >= 2 && kMiddleEnabled.Get(call.environment.image.Bytes()) == 0) {
    call.request.marks |= cellmark::kWarning;
  }
  if (outcome.changed && row.rebuildsSheet) call.changeBits |= changebit::kRebuildSheet;
  return outcome;
}

// --- channel numbers ---

std::string ChannelNumberText(LinkCall& call, bool window) {
  cmcEeprom& image = call.environment.image;
  if (!call.inUse) {
    std::string title = call.environment.overlay.GetLine(gi::GI_NewChTitle, 0);
    if (!window) return title;
    int bank = chops::BankForNewChannel(image, call.number, call.request.contextNumber);
    return Substitute("%d- %s", {std::int64_t{bank + 1}, title});
  }
  return ChannelLabel(image, call.number, chops::BanksShown(call.environment.overlay));
}

// --- attribute flags ---

LinkOutcome RunAttributes(LinkCall& call) {
  datCh& record = call.record;
  LinkOutcome outcome;
  if (call.request.editResult == kPopupChoice && call.request.reply && call.inUse) {
    int next = record.atr;
    switch (call.request.ReplyValue()) {
    case 1: next |= datCh::kAtrA; break;
    case 2: next |= datCh::kAtrB; break;
    case 3: next = (next | datCh::kAtrE) & ~datCh::kAtrClearE; break;
    case 4: next = (next & ~datCh::kAtrE) | datCh::kAtrClearE; break;
    case 5: next ^= datCh::kAtrBankFlag; break;
    default: break;
    }
    if (next != record.atr) {
      record.atr = next;
      outcome = Changed(call, {true, kNoEditor});
      call.changeBits |= changebit::kRowRewritten;
    }
  } else if (call.request.key == cellkey::kEnter && call.inUse) {
    if (call.services.host.OpenFlagEditor(call.request, FlagEditorForm::Named(gi::GI_Sheet_Sel_Mch_Atr),
                                          static_cast<std::uint32_t>(record.atr))) {
      outcome.editor = kPopupEditor;
    }
  }
  call.request.displayText = call.inUse ? record.atrLetters() : "";
  return outcome;
}

// --- frequencies ---

// Creates the channel of a blank row; false when it cannot.
bool CreateOnBlankRow(LinkCall& call, std::uint32_t receiveHz) {
  int bank = chops::BankForNewChannel(call.environment.image, call.number, call.request.contextNumber);
  if (!chops::CreateChannel(call.environment.image, call.record, call.environment.overlay, call.environment.modelType,
                            call.number, bank, receiveHz)) {
    return false;
  }
  call.inUse = true;
  call.changeBits |= changebit::kRowRewritten;
  return true;
}

bool IsFrequencyKey(int key) {
  return key == cellkey::kSpace || key == cellkey::kBackspace || key == cellkey::kEnter || key == '.' ||
         (key >= '0' && key <= '9');
}

// A frequency committed on a blank row creates the channel with it, snapped to
// the grid and kept in the band; a text that is no frequency of the grid changes nothing.
LinkOutcome CreateFromTypedFrequency(LinkCall& call, const FrequencySpec& spec) {
  std::optional<std::int64_t> typed = ParseMegahertz(call.request.editedText);
  std::optional<std::int64_t> snapped = typed ? SnapToGrid(*typed, spec.grid) : std::nullopt;
  if (!snapped) return {};
  auto receive = static_cast<std::uint32_t>(std::clamp(*snapped, spec.minimum, spec.maximum));
  if (!CreateOnBlankRow(call, receive)) return {};
  call.request.displayText = FormatMegahertz(call.record.freqR);
  return {true, kNoEditor};
}

LinkOutcome RunReceive(LinkCall& call, const ChannelGrid& grid) {
  FrequencySpec spec{grid, call.record.minFrequency(), call.record.maxFrequency(), true};
  if (!call.inUse && call.request.editResult == kTextCommitted) return CreateFromTypedFrequency(call, spec);
  bool created = false;
  if (!call.inUse && call.request.editResult == kNoEdit && IsFrequencyKey(call.request.key)) {
    if (!CreateOnBlankRow(call, 0)) return {};
    created = true;
  }
  if (!call.inUse) return {};
  LinkValue value = NumberValue(call.record.freqR);
  LinkOutcome outcome = FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get()));
  outcome.changed |= created;
  return Changed(call, outcome);
}

// The transmit frequency is kept as duplex and offset from the receive frequency.
LinkOutcome RunTransmit(LinkCall& call, const ChannelGrid& grid) {
  if (!call.inUse) return {};
  datCh& record = call.record;
  LinkValue value{[&record] { return static_cast<std::int64_t>(record.freqT); },
                  [&record](std::int64_t transmit) {
                    std::int64_t receive = record.freqR;
                    record.dup = transmit == receive ? 0 : (transmit > receive ? 1 : 2);
                    record.offset = static_cast<std::uint32_t>(
                        std::min<std::int64_t>(std::abs(transmit - receive), datCh::kMaxOffset));
                    record.freqT = static_cast<std::uint32_t>(transmit);
                  }};
  LinkOutcome outcome;
  if (call.request.key == '=' && call.request.editResult == kNoEdit) {
    outcome.changed = record.freqT != record.freqR;
    if (outcome.changed) value.set(record.freqR);
  } else {
    FrequencySpec spec{grid, 0, datCh::kMaxFrequency, true};
    outcome = FrequencyFamily(call.request, spec, value, "");
  }
  outcome = Changed(call, outcome);
  if (outcome.editor == kNoEditor) {
    call.request.displayText = FormatMegahertz(record.freqT) + (record.freqT == record.freqR ? "<-" : "");
  }
  return outcome;
}

// The receive frequency of the land-mobile sheet; its first valid entry on a
// blank row creates the channel.
LinkOutcome RunOperating(LinkCall& call) {
  FrequencySpec spec{kGrid625, call.record.minFrequency(), call.record.maxFrequency(), true};
  if (!call.inUse) {
    if (call.request.editResult == kTextCommitted) return CreateFromTypedFrequency(call, spec);
    std::int64_t none = 0;
    LinkValue blank = NumberValue(none);
    LinkOutcome outcome = FrequencyFamily(call.request, spec, blank, "");
    if (outcome.editor == kInCellEditor &&
        (call.request.key == cellkey::kEnter || call.request.key == cellkey::kSpace ||
         call.request.key == cellkey::kBackspace)) {
      call.request.displayText.clear();  // a blank row starts with an empty text
      call.request.caretPosition = 0;
    }
    return outcome;
  }
  LinkValue value = NumberValue(call.record.freqR);
  return Changed(call, FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get())));
}

LinkOutcome RunOffset(LinkCall& call) {
  if (!call.inUse) return {};
  LinkValue value = NumberValue(call.record.offset);
  FrequencySpec spec{kGrid625, 0, datCh::kMaxOffset, true};
  LinkOutcome outcome = Changed(call, FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get())));
  Grey(call, DuplexOff);
  return outcome;
}

// PMR446: the frequency is chosen from the table of the 32 channels, or entered freely.
constexpr int kFreeEntryColumn = 13;

LinkOutcome RunPmr446Receive(LinkCall& call) {
  cmcCellCapsule& request = call.request;
  datCh& record = call.record;
  std::span<const std::uint32_t> table = Pmr446Frequencies();
  if (request.editResult == kPopupChoice && request.reply) {
    bool created = false;
    if (!call.inUse) {
      if (!CreateOnBlankRow(call, table[0])) return {};
      created = true;
    }
    if (request.ReplyColumn() == kFreeEntryColumn) {
      record.freeEntry = 1;
      Changed(call, {true, kNoEditor});
      request.displayText.clear();
      request.caretPosition = 0;
      return {true, kInCellEditor};
    }
    std::int32_t row = request.ReplyValue();
    if (row < 0 || row >= static_cast<std::int32_t>(table.size())) return {created, kNoEditor};
    record.freqR = static_cast<std::uint32_t>(SnapToGrid(table[row], kGrid625).value_or(table[row]));
    record.freeEntry = 0;
    LinkOutcome outcome = Changed(call, {true, kNoEditor});
    request.displayText = FormatMegahertz(record.freqR);
    return outcome;
  }
  if (request.editResult == kTextCommitted) return RunReceive(call, kGrid625);
  request.displayText = call.inUse ? FormatMegahertz(record.freqR) : "";
  if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace ||
      (request.key >= '0' && request.key <= '9')) {
    int row = call.inUse ? std::max(0, Pmr446Row(record.freqR)) : 0;
    if (call.services.host.OpenChoiceList(request, gi::GI_Sheet_Sel_Mch_Freq, cl::Flex0, row)) {
      return {false, kPopupEditor};
    }
  }
  return {};
}

// --- tones ---

// The PMR kinds keep their tone settings in the record; the others in the same
// option bytes, which their record carries unchanged.
ToneSetting& ToneOf(datCh& record, bool transmit, ToneSetting& carried) {
  if (chlayout::kPmrKinds & chlayout::Kind(record.kind())) return transmit ? record.ctoneT : record.ctoneR;
  carried = ToneSetting::Decode(&record.optionRecord[transmit ? chlayout::kOptionToneT : chlayout::kOptionToneR]);
  return carried;
}

void SetTone(datCh& record, bool transmit, const ToneSetting& tone) {
  if (chlayout::kPmrKinds & chlayout::Kind(record.kind())) {
    (transmit ? record.ctoneT : record.ctoneR) = tone;
  } else {
    tone.Encode(&record.optionRecord[transmit ? chlayout::kOptionToneT : chlayout::kOptionToneR]);
  }
}

LinkOutcome RunTone(LinkCall& call, bool transmit) {
  if (!call.inUse) return {};
  datCh& record = call.record;
  bool dpmr = IsDpmr446(call.environment.modelType);
  ToneSpec spec{dpmr ? gi::GI_Sheet_Sel_Mch_CTone_ExUser : gi::GI_Sheet_Sel_Mch_CTone, dpmr};
  ToneValue value{[&record, transmit] {
                    ToneSetting carried;
                    return ToneOf(record, transmit, carried);
                  },
                  [&record, transmit](const ToneSetting& tone) { SetTone(record, transmit, tone); }, nullptr};
  if (transmit) {
    value.receive = [&record] {
      ToneSetting carried;
      return std::optional<ToneSetting>(ToneOf(record, false, carried));
    };
  }
  return Changed(call, ToneFamily(call.request, call.services, spec, value));
}

// --- name ---

LinkOutcome RunName(LinkCall& call) {
  if (!call.inUse) return {};
  datCh& record = call.record;
  const Charset* charset = call.environment.charset;
  TextValue value{[&record, charset] {
                    if (!charset) return record.name;
                    return charset->Decode(
                        std::span(reinterpret_cast<const std::uint8_t*>(record.name.data()), record.name.size()));
                  },
                  [&record, charset](const std::string& text) {
                    if (!charset) {
                      record.name = text.substr(0, datCh::kNameLength);
                      record.name.resize(datCh::kNameLength, ' ');
                      return true;
                    }
                    Charset::Encoded encoded = charset->Encode(text, datCh::kNameLength);
                    if (!encoded.Ok()) return false;
                    record.name.assign(encoded.bytes.begin(), encoded.bytes.end());
                    return true;
                  }};
  value.maximum = datCh::kNameLength;
  value.charset = charset;
  if (charset) {
    value.glyphs = [&record, charset] {
      return charset->Patterns(
          std::span(reinterpret_cast<const std::uint8_t*>(record.name.data()), record.name.size()));
    };
  }
  return Changed(call, TextFamily(call.request, call.services, value));
}

// --- scan membership ---

LinkOutcome RunScan(LinkCall& call) {
  if (!call.inUse) return {};
  datCh& record = call.record;
  LinkValue value{[&record] { return std::int64_t{record.inList(0)}; },
                  [&record](std::int64_t v) { record.setInList(0, v != 0); }};
  return Changed(call, ChoiceFamily(call.request, call.services, ChoiceSpec{kOnOff, cl::Flex0}, value));
}

// --- scan lists: channel n is in scan list k (numbered from 1) when bit n of
// bitmap k - 1 of block 12 is set; the first bitmap is also the scan cell ---

constexpr std::string_view kScanListEditor = gi::GI_Sheet_Sel_Mch_ScanList;
constexpr std::string_view kScanListChoice = gi::GI_Sheet_Sel_Mch_ScanListSel;

// The numbers of the lists that hold the channel, "1,3"; the choice text of
// "none" when no list does. The flag editor's reply k toggles list k.
LinkOutcome RunScanLists(LinkCall& call) {
  if (!call.inUse) return {};
  datCh& record = call.record;
  cmcCellCapsule& request = call.request;
  LinkOutcome outcome;
  if (request.editResult == kPopupChoice && request.reply) {
    // Checked before the arithmetic: any 32-bit value may arrive.
    const std::int32_t reply = request.ReplyValue();
    if (reply >= 1 && reply <= datCh::kListCount) {
      const int list = reply - 1;
      record.setInList(list, !record.inList(list));
      outcome = Changed(call, {true, kNoEditor});
    }
  }
  std::string shown;
  std::uint32_t editorBits = 0;  // the editor's bit k - 1 stands for list k
  for (int list = 0; list < datCh::kListCount; ++list) {
    if (!record.inList(list)) continue;
    if (!shown.empty()) shown += ',';
    shown += std::to_string(list + 1);
    editorBits |= 1u << list;
  }
  if (request.editResult == kNoEdit && request.key == cellkey::kEnter &&
      call.services.host.OpenFlagEditor(request, FlagEditorForm::Named(kScanListEditor), editorBits)) {
    outcome.editor = kPopupEditor;
  }
  request.displayText = shown.empty() ? call.services.choices.TextOf(kScanListChoice, cl::Flex0, 0) : shown;
  return outcome;
}

// The scan list the radio scans from this channel: 0 none, else the list's
// number. Kept in bits 4-0 of option byte 4, which the radio leaves to the
// programming software.
constexpr int kScanListOptionByte = 4;
constexpr std::uint8_t kScanListMask = 0x1F;

LinkOutcome RunScanListChoice(LinkCall& call) {
  if (!call.inUse) return {};
  std::uint8_t& byte = call.record.optionRecord[kScanListOptionByte];
  LinkValue value{[&byte] { return std::int64_t{byte & kScanListMask}; },
                  [&byte](std::int64_t list) {
                    // A list that does not exist is not stored.
                    if (list < 0 || list > datCh::kListCount) return;
                    byte = static_cast<std::uint8_t>((byte & ~kScanListMask) | list);
                  }};
  return Changed(call, ChoiceFamily(call.request, call.services, ChoiceSpec{kScanListChoice, cl::Flex0}, value));
}

// A link of the PMR or PMR446 sheets that behaves as one of the land-mobile sheet.
struct Alias {
  int link;
  int as;
};
const Alias kAliases[] = {
    {cl::CL_Mch_No_Pmr, cl::CL_Mch_No},
    {cl::CL_Mch_Atr_Pmr, cl::CL_Mch_Atr},
    {cl::CL_Mch_Atr_Pmr446, cl::CL_Mch_Atr},
    {cl::CL_Mch_Inh_Pmr, cl::CL_Mch_Inh},
    {cl::CL_Mch_TxInh_Pmr, cl::CL_Mch_TxInh},
    {cl::CL_Mch_Nar_Pmr, cl::CL_Mch_Nar},
    {cl::CL_Mch_WNM_Pmr, cl::CL_Mch_WNM},
    {cl::CL_Mch_Sql_Tight_Pmr, cl::CL_Mch_Sql_Tight},
    {cl::CL_Mch_CTone_R_Pmr, cl::CL_Mch_CTone_R},
    {cl::CL_Mch_CTone_T_Pmr, cl::CL_Mch_CTone_T},
    {cl::CL_Mch_CTone_R_Pmr446, cl::CL_Mch_CTone_R},
    {cl::CL_Mch_CTone_T_Pmr446, cl::CL_Mch_CTone_T},
    {cl::CL_Mch_Text_Pmr, cl::CL_Mch_Text},
    {cl::CL_Mch_Compander_Pmr, cl::CL_Mch_Compander},
    {cl::CL_Mch_Tot_Pmr, cl::CL_Mch_Tot},
    {cl::CL_Mch_RfPo_Pmr, cl::CL_Mch_RfPo},
    {cl::CL_Mch_PwrSave_Pmr, cl::CL_Mch_PwrSave},
    {cl::CL_Mch_Lockout_Pmr, cl::CL_Mch_Lockout},
    {cl::CL_Mch_Lockout_Pmr446, cl::CL_Mch_Lockout},
    {cl::CL_Mch_Scan_Pmr, cl::CL_Mch_Scan},
    {cl::CL_Mch_Scan_List_Pmr, cl::CL_Mch_Scan_List},
    {cl::CL_Mch_Scan_ListSel_Pmr, cl::CL_Mch_Scan_ListSel},
    {cl::CL_Mch_Scan_Inc_Pmr, cl::CL_Mch_Scan_Inc},
    {cl::CL_Mch_Scan_OnOff_Pmr, cl::CL_Mch_Scan_OnOff},
    {cl::CL_Mch_AutoChScan_Pmr, cl::CL_Mch_AutoChScan},
    {cl::CL_Mch_AutoResetPmr, cl::CL_Mch_AutoReset},
    {cl::CL_Mch_CH_Mute_Pmr, cl::CL_Mch_CH_Mute},
};

}  // namespace

void AddChannelLinks(LinkTable& table) {
  for (const ChoiceRow& row : kChoiceRows) {
    table.Add(row.link, [&row](LinkCall& call) { return call.inUse ? RunChoice(call, row) : LinkOutcome{}; });
  }
  for (const CarriedBitRow& row : kCarriedBitRows) {
    table.Add(row.link, [&row](LinkCall& call) { return call.inUse ? RunCarriedBit(call, row) : LinkOutcome{}; });
  }
  table.Add(cl::CL_Mch_No, [](LinkCall& call) {
    call.request.displayText = ChannelNumberText(call, false);
    return LinkOutcome{};
  });
  table.Add(cl::CL_MchWin_No, [](LinkCall& call) {
    call.request.displayText = ChannelNumberText(call, true);
    return LinkOutcome{};
  });
  table.Add(cl::CL_Mch_Atr, RunAttributes);
  table.Add(cl::CL_Mch_FreqR, [](LinkCall& call) { return RunReceive(call, kGrid625); });
  table.Add(cl::CL_Mch_FreqT, [](LinkCall& call) { return RunTransmit(call, kGrid625); });
  table.Add(cl::CL_Mch_FreqR_Pmr, [](LinkCall& call) { return RunReceive(call, kGrid1250); });
  table.Add(cl::CL_Mch_FreqT_Pmr, [](LinkCall& call) { return RunTransmit(call, kGrid1250); });
  table.Add(cl::CL_Mch_FreqR_Pmr446, RunPmr446Receive);
  table.Add(cl::CL_Mch_Operating_Freq, RunOperating);
  table.Add(cl::CL_Mch_Offset_Freq, RunOffset);
  table.Add(cl::CL_Mch_CTone_R, [](LinkCall& call) { return RunTone(call, false); });
  table.Add(cl::CL_Mch_CTone_T, [](LinkCall& call) { return RunTone(call, true); });
  table.Add(cl::CL_Mch_Text, RunName);
  table.Add(cl::CL_Mch_Scan, RunScan);
  table.Add(cl::CL_Mch_Scan_List, RunScanLists);
  table.Add(cl::CL_Mch_Scan_ListSel, RunScanListChoice);
  for (const Alias& alias : kAliases) {
    if (const LinkBehaviour* behaviour = table.Find(alias.as)) table.Add(alias.link, *behaviour);
  }
}
