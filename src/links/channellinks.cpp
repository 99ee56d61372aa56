// The links of the memory-channel sheets of every model type. Each link is a
// table row of its family; the PMR and PMR446 sheets' links map onto the same
// rows with their own grid or list where they differ.

#include <array>
#include <cstdio>
#include <optional>

#include "core/gtex.h"
#include "core/substitute.h"
#include "links/channelfields.h"
#include "links/channelops.h"
#include "links/ids.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "model/memorymap.h"

namespace {

using chfield::Field;

// --- conditions under which a field does not apply (drawn grey) ---

using Condition = bool (*)(const cmcEeprom& image, int channel);

std::uint32_t Get(const cmcEeprom& image, const Field& field, int channel) {
  return chfield::At(field, channel).Get(image);
}
bool DuplexOff(const cmcEeprom& image, int channel) { return Get(image, chfield::kDuplex, channel) == 0; }
bool ToneModeNot1(const cmcEeprom& image, int channel) { return Get(image, chfield::kToneMode, channel) != 1; }
bool ToneModeNot2(const cmcEeprom& image, int channel) { return Get(image, chfield::kToneMode, channel) != 2; }
bool ToneModeNotCode(const cmcEeprom& image, int channel) {
  std::uint32_t mode = Get(image, chfield::kToneMode, channel);
  return mode != 3 && mode != 4;
}

// Wide/narrow/middle values 2 and 3 need the image's middle-bandwidth setting.
constexpr cmcBitField kMiddleEnabled{0xA9BC, 1, 4, 1};

void Grey(LinkCall& call, Condition condition) {
  if (condition && condition(call.environment.image, call.number)) call.request.fontColour = kNotApplicableColour;
}

// After a change of a channel field: the derived fields and the refresh events.
LinkOutcome Changed(LinkCall& call, LinkOutcome outcome) {
  if (outcome.changed) chops::StoreDerived(call.environment.image, call.number);
  return outcome;
}

LinkValue FieldValue(LinkCall& call, const Field& field) {
  cmcBitField bits = chfield::At(field, call.number);
  cmcEeprom& image = call.environment.image;
  return {[bits, &image] { return static_cast<std::int64_t>(bits.Get(image)); },
          [bits, &image](std::int64_t v) { bits.Set(image, static_cast<std::uint32_t>(v)); }};
}

// --- choice rows ---

constexpr std::string_view kOnOff = "GI_Sheet_Sel_Misc_OnOff2";

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
    {cl::CL_Mch_Inh, chfield::kInhibit, "GI_Sheet_Sel_Mch_ChInh", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Dup, chfield::kDuplex, "GI_Sheet_Sel_Mch_Dup", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Dup_Reverse, chfield::kReverse, "GI_Sheet_Sel_Mch_Dup_Reverse", {}, cl::Flex0, DuplexOff, false},
    {cl::CL_Mch_TxInh, chfield::kTxInhibit, "GI_Sheet_Sel_Mch_CH_TxInh", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_TS, chfield::kStep, "GI_Sheet_Sel_Mch_CH_TS", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Nar, chfield::kWidth, "GI_Sheet_Sel_Mch_Nar", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_WNM, chfield::kWidth, "GI_Sheet_Sel_Mch_WNM", {}, cl::FlexMark, nullptr, true},
    {cl::CL_Mch_Sql_Tight, chfield::kTightSquelch, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Compander, chfield::kCompander, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Tot, chfield::kTimeOut, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_PwrSave, chfield::kPowerSave, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Scan_Inc, chfield::kScanInclude, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Scan_OnOff, chfield::kScanOnOff, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_AutoChScan, chfield::kAutoChannelScan, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_AutoReset, chfield::kAutoReset, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_CH_Mute, chfield::kChannelMute, kOnOff, {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_RfPo, chfield::kPower, "GI_Sheet_Sel_Mch_RfPwr", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Lockout, chfield::kLockout, "GI_Sheet_Sel_Mch_Lockout_Lmr", "GI_Sheet_Sel_Mch_Lockout_Pmr", cl::Flex0,
     nullptr, false},
    {cl::CL_Mch_Tone, chfield::kToneMode, "GI_Sheet_Sel_Mch_Tone", {}, cl::Flex0, nullptr, false},
    {cl::CL_Mch_Tone_Freq, chfield::kToneIndex, "GI_Sheet_Sel_Mch_TFreq", {}, cl::Flex0, ToneModeNot1, false},
    {cl::CL_Mch_Tsql_Freq, chfield::kTsqlIndex, "GI_Sheet_Sel_Mch_TFreq", {}, cl::Flex0, ToneModeNot2, false},
    {cl::CL_Mch_Dtcs, chfield::kDtcsIndex, "GI_Sheet_Sel_Mch_DTCS", {}, cl::Flex0, ToneModeNotCode, false},
    {cl::CL_Mch_Dtcs_Polarity, chfield::kPolarity, "GI_Sheet_Sel_Mch_DTCS_Polarity", {}, cl::Flex0, ToneModeNotCode,
     false},
};

LinkOutcome RunChoice(LinkCall& call, const ChoiceRow& row) {
  bool pmr = call.environment.modelType == 1 || call.environment.modelType == 2;
  ChoiceSpec spec{pmr && !row.pmrList.empty() ? row.pmrList : row.list, row.column};
  LinkValue value = FieldValue(call, row.field);
  LinkOutcome outcome = Changed(call, ChoiceFamily(call.request, call.services, spec, value));
  Grey(call, row.grey);
  if (row.link == cl::CL_Mch_WNM && value.get() >= 2 && kMiddleEnabled.Get(call.environment.image) == 0) {
    call.request.marks |= cellmark::kWarning;
  }
  if (outcome.changed && row.rebuildsSheet) call.changeBits |= changebit::kRebuildSheet;
  return outcome;
}

// --- channel numbers ---

bool BanksShown(cmcGTex& overlay) {
  std::string operation = overlay.GetLine("GI_Tree_Branch_Mch_BankOperation", 0);
  cmcGTex::TrimBlanks(operation);
  return operation != "None";
}

std::string ChannelNumberText(LinkCall& call, bool window) {
  cmcEeprom& image = call.environment.image;
  if (!call.inUse) {
    std::string title = call.environment.overlay.GetLine("GI_NewChTitle", 0);
    if (!window) return title;
    int bank = chops::BankForNewChannel(image, call.number, call.request.contextNumber);
    return Substitute("%d- %s", {std::int64_t{bank + 1}, title});
  }
  if (!BanksShown(call.environment.overlay)) return std::to_string(call.number + 1);
  int bank = chops::BankOf(image, call.number);
  char text[32];
  std::snprintf(text, sizeof text, "%d-%3d", bank + 1, call.number - chops::FirstChannel(image, bank) + 1);
  return text;
}

// --- attribute flags ---

std::string AttributeLetters(std::uint32_t bits) {
  std::string letters;
  if (bits & 1) letters += 'A';
  if (bits & 2) letters += 'B';
  if ((bits & 4) && !(bits & 8)) letters += 'E';
  return letters;
}

LinkOutcome RunAttributes(LinkCall& call) {
  cmcEeprom& image = call.environment.image;
  std::uint32_t bits = chops::Attributes(image, call.number);
  LinkOutcome outcome;
  if (call.request.editResult == kPopupChoice && call.request.reply && call.inUse) {
    std::uint32_t next = bits;
    switch (call.request.ReplyValue()) {
      case 1: next |= 1; break;
      case 2: next |= 2; break;
      case 3: next = (next | 4) & ~8u; break;
      case 4: next = (next & ~4u) | 8; break;
      case 5: next ^= 16; break;
      default: break;
    }
    if (next != bits) {
      chops::SetAttributes(image, call.number, next);
      outcome.changed = true;
      call.changeBits |= changebit::kRowRewritten;
    }
  } else if (call.request.key == cellkey::kEnter && call.inUse) {
    if (call.services.host.OpenFlagEditor(call.request, "GI_Sheet_Sel_Mch_Atr", bits)) outcome.editor = kPopupEditor;
  }
  call.request.displayText = call.inUse ? AttributeLetters(chops::Attributes(image, call.number)) : "";
  return outcome;
}

// --- frequencies ---

constexpr std::int64_t kHighestFrequency = 799999950;

// Creates the channel of a blank row; false when it cannot.
bool CreateOnBlankRow(LinkCall& call, std::int64_t receiveHz) {
  cmcEeprom& image = call.environment.image;
  int bank = chops::BankForNewChannel(image, call.number, call.request.contextNumber);
  if (!chops::CreateChannel(image, call.environment.overlay, call.environment.modelType, call.number, bank,
                            receiveHz)) {
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

LinkOutcome RunReceive(LinkCall& call, const ChannelGrid& grid) {
  bool created = false;
  if (!call.inUse && call.request.editResult == kNoEdit && IsFrequencyKey(call.request.key)) {
    if (!CreateOnBlankRow(call, chops::kBandLow)) return {};
    created = true;
  }
  if (!call.inUse && call.request.editResult == kNoEdit) return {};
  LinkValue value = FieldValue(call, chfield::kReceive);
  FrequencySpec spec{grid, 0, kHighestFrequency, true};
  LinkOutcome outcome = FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get()));
  outcome.changed |= created;
  return Changed(call, outcome);
}

// The transmit frequency is kept as duplex and offset from the receive frequency.
LinkOutcome RunTransmit(LinkCall& call, const ChannelGrid& grid) {
  if (!call.inUse) return {};
  cmcEeprom& image = call.environment.image;
  const int n = call.number;
  LinkValue value{[&image, n] { return chops::TransmitFrequency(image, n); },
                  [&image, n](std::int64_t transmit) {
                    std::int64_t receive = chfield::At(chfield::kReceive, n).Get(image);
                    std::int64_t offset = std::min(std::abs(transmit - receive), chops::kMaxOffset);
                    chfield::At(chfield::kDuplex, n).Set(image, transmit == receive ? 0 : (transmit > receive ? 1 : 2));
                    chfield::At(chfield::kOffset, n).Set(image, static_cast<std::uint32_t>(offset));
                  }};
  LinkOutcome outcome;
  if (call.request.key == '=' && call.request.editResult == kNoEdit) {
    std::int64_t receive = chfield::At(chfield::kReceive, n).Get(image);
    outcome.changed = value.get() != receive;
    if (outcome.changed) value.set(receive);
  } else {
    FrequencySpec spec{grid, 0, kHighestFrequency, true};
    outcome = FrequencyFamily(call.request, spec, value, "");
  }
  outcome = Changed(call, outcome);
  if (outcome.editor == kNoEditor) {
    std::int64_t receive = chfield::At(chfield::kReceive, n).Get(image);
    std::int64_t transmit = value.get();
    call.request.displayText = FormatMegahertz(transmit) + (transmit == receive ? "<-" : "");
  }
  return outcome;
}

// The receive frequency of the land-mobile sheet, in the radio's band; its
// first valid entry on a blank row creates the channel.
LinkOutcome RunOperating(LinkCall& call) {
  FrequencySpec spec{kGrid625, chops::kBandLow, chops::kBandHigh, true};
  if (!call.inUse) {
    if (call.request.editResult == kTextCommitted) {
      std::optional<std::int64_t> typed = ParseMegahertz(call.request.editedText);
      std::optional<std::int64_t> snapped = typed ? SnapToGrid(*typed, spec.grid) : std::nullopt;
      if (!snapped) return {};
      if (!CreateOnBlankRow(call, std::clamp(*snapped, spec.minimum, spec.maximum))) return {};
      call.request.displayText = FormatMegahertz(chfield::At(chfield::kReceive, call.number).Get(call.environment.image));
      return Changed(call, {true, kNoEditor});
    }
    LinkValue none{[] { return std::int64_t{0}; }, [](std::int64_t) {}};
    LinkOutcome outcome = FrequencyFamily(call.request, spec, none, "");
    if (outcome.editor == kInCellEditor && call.request.key != '.' &&
        !(call.request.key >= '0' && call.request.key <= '9')) {
      call.request.displayText.clear();  // a blank row starts with an empty text
      call.request.caretPosition = 0;
    }
    return outcome;
  }
  LinkValue value = FieldValue(call, chfield::kReceive);
  return Changed(call, FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get())));
}

LinkOutcome RunOffset(LinkCall& call) {
  if (!call.inUse) return {};
  LinkValue value = FieldValue(call, chfield::kOffset);
  FrequencySpec spec{kGrid625, 0, chops::kMaxOffset, true};
  LinkOutcome outcome = Changed(call, FrequencyFamily(call.request, spec, value, FormatMegahertz(value.get())));
  Grey(call, DuplexOff);
  return outcome;
}

// PMR446: the frequency is chosen from the table of the 32 channels, or entered freely.
constexpr std::array<std::int64_t, 32> kPmr446Frequencies = {
    446006250, 446018750, 446031250, 446043750, 446056250, 446068750, 446081250, 446093750,
    446103125, 446106250, 446109375, 446115625, 446118750, 446121875, 446128125, 446131250,
    446134375, 446140625, 446143750, 446146875, 446153125, 446156250, 446159375, 446165625,
    446168750, 446171875, 446178125, 446181250, 446184375, 446190625, 446193750, 446196875};
constexpr int kFreeEntryColumn = 13;

LinkOutcome RunPmr446Receive(LinkCall& call) {
  cmcEeprom& image = call.environment.image;
  cmcCellCapsule& request = call.request;
  if (request.editResult == kPopupChoice && request.reply) {
    if (!call.inUse && !CreateOnBlankRow(call, kPmr446Frequencies[0])) return {};
    if (request.ReplyColumn() == kFreeEntryColumn) {
      chfield::At(chfield::kFreeEntry, call.number).Set(image, 1);
      request.displayText.clear();
      request.caretPosition = 0;
      return Changed(call, {true, kInCellEditor});
    }
    std::int32_t row = request.ReplyValue();
    if (row < 0 || row >= static_cast<std::int32_t>(kPmr446Frequencies.size())) return {};
    std::int64_t chosen = SnapToGrid(kPmr446Frequencies[row], kGrid625).value_or(kPmr446Frequencies[row]);
    chfield::At(chfield::kReceive, call.number).Set(image, static_cast<std::uint32_t>(chosen));
    chfield::At(chfield::kFreeEntry, call.number).Set(image, 0);
    request.displayText = FormatMegahertz(chosen);
    return Changed(call, {true, kNoEditor});
  }
  if (request.editResult == kTextCommitted) return RunReceive(call, kGrid625);
  std::int64_t current = call.inUse ? chfield::At(chfield::kReceive, call.number).Get(image) : 0;
  request.displayText = call.inUse ? FormatMegahertz(current) : "";
  if (request.key == cellkey::kEnter || request.key == cellkey::kSpace || request.key == cellkey::kBackspace ||
      (request.key >= '0' && request.key <= '9')) {
    auto found = std::find(kPmr446Frequencies.begin(), kPmr446Frequencies.end(), current);
    std::int32_t row = found == kPmr446Frequencies.end() ? 0 : static_cast<std::int32_t>(found - kPmr446Frequencies.begin());
    if (call.services.host.OpenChoiceList(request, "GI_Sheet_Sel_Mch_Freq", cl::Flex0, row)) return {false, kPopupEditor};
  }
  return {};
}

// --- tones ---

// The two-byte tone form: bit 15 clear = on; bit 14 digital code, bit 13 polarity,
// bits 8-0 the code; else the tone index in bits 7-0.
ToneSetting DecodeTone(std::uint32_t stored) {
  ToneSetting tone;
  tone.on = (stored & 0x8000) == 0;
  tone.digital = (stored & 0x4000) != 0;
  if (tone.digital) {
    tone.inverted = (stored & 0x2000) != 0;
    tone.code = static_cast<std::uint16_t>(stored & 0x1FF);
  } else {
    tone.toneIndex = static_cast<std::uint16_t>(stored & 0xFF);
  }
  if (!tone.on) tone = ToneSetting{};
  return tone;
}

std::uint32_t EncodeTone(const ToneSetting& tone) {
  if (!tone.on) return 0x8000;
  if (tone.digital) return 0x4000 | (tone.inverted ? 0x2000 : 0) | (tone.code & 0x1FF);
  return tone.toneIndex & 0xFF;
}

LinkOutcome RunTone(LinkCall& call, bool transmit) {
  if (!call.inUse) return {};
  cmcEeprom& image = call.environment.image;
  cmcBitField own = chfield::At(transmit ? chfield::kTransmitTone : chfield::kReceiveTone, call.number);
  cmcBitField receive = chfield::At(chfield::kReceiveTone, call.number);
  bool dpmr = call.environment.modelType == 3;
  ToneSpec spec{dpmr ? "GI_Sheet_Sel_Mch_CTone_ExUser" : "GI_Sheet_Sel_Mch_CTone", dpmr};
  ToneValue value{[&image, own] { return DecodeTone(own.Get(image)); },
                  [&image, own](const ToneSetting& tone) { own.Set(image, EncodeTone(tone)); },
                  nullptr};
  if (transmit) value.receive = [&image, receive] { return std::optional<ToneSetting>(DecodeTone(receive.Get(image))); };
  return Changed(call, ToneFamily(call.request, call.services, spec, value));
}

// --- name ---

LinkOutcome RunName(LinkCall& call) {
  if (!call.inUse) return {};
  cmcEeprom& image = call.environment.image;
  const int address = chfield::kRadioSlot.base + chfield::kRadioSlot.size * call.number + 12;
  TextValue value{[&image, address] {
                    std::string name(chfield::kNameSize, ' ');
                    image.ReadBlock(address, reinterpret_cast<std::uint8_t*>(name.data()), chfield::kNameSize);
                    return name;
                  },
                  [&image, address](const std::string& name) {
                    image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(name.data()),
                                     static_cast<int>(std::min<std::size_t>(name.size(), chfield::kNameSize)));
                  }};
  return Changed(call, TextFamily(call.request, call.services, chfield::kNameSize, value));
}

// --- scan membership ---

LinkOutcome RunScan(LinkCall& call) {
  if (!call.inUse) return {};
  cmcEeprom& image = call.environment.image;
  cmcBitField bit = chfield::ListBit(0, call.number);
  LinkValue value{[&image, bit] { return static_cast<std::int64_t>(bit.Get(image)); },
                  [&image, bit](std::int64_t v) { bit.Set(image, static_cast<std::uint32_t>(v)); }};
  return Changed(call, ChoiceFamily(call.request, call.services, ChoiceSpec{kOnOff, cl::Flex0}, value));
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
    {cl::CL_Mch_Scan_Inc_Pmr, cl::CL_Mch_Scan_Inc},
    {cl::CL_Mch_Scan_OnOff_Pmr, cl::CL_Mch_Scan_OnOff},
    {cl::CL_Mch_AutoChScan_Pmr, cl::CL_Mch_AutoChScan},
    {cl::CL_Mch_AutoResetPmr, cl::CL_Mch_AutoReset},
    {cl::CL_Mch_CH_Mute_Pmr, cl::CL_Mch_CH_Mute},
};

}  // namespace

void AddChannelLinks(cmcLinkTable& table) {
  for (const ChoiceRow& row : kChoiceRows) {
    table.Add(row.link, [&row](LinkCall& call) { return call.inUse ? RunChoice(call, row) : LinkOutcome{}; });
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
  for (const Alias& alias : kAliases) {
    if (const LinkBehaviour* behaviour = table.Find(alias.as)) table.Add(alias.link, *behaviour);
  }
}
