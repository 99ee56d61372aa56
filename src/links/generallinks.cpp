// Links that are not one channel's field: bank and channel counters, the
// channel-number columns, the model-type menu items, the channel checks and the
// value cells of the choice lists.

#include <string>

#include "core/bitfield.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/chlayout.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace {

LinkOutcome Show(LinkCall& call, std::string text) {
  call.request.displayText = std::move(text);
  return {};
}

// The bank a counter cell counts: its number, or the sheet's bank.
int CountedBank(const LinkCall& call) { return call.type == ct::CT_Null ? call.request.contextNumber : call.number; }

int ChannelsLeft(const LinkCall& call) {
  const cmcEeprom& image = call.environment.image;
  return datCh::ChannelsThatFit(image, call.environment.modelType);
}

struct CounterRow {
  int link;
  int (*count)(const LinkCall& call);
};

const CounterRow kCounterRows[] = {
    {cl::CL_Bank_UsedQty, [](const LinkCall& c) { return datCh::BankSize(c.environment.image, CountedBank(c)); }},
    {cl::CL_Bank_UsedTotal, [](const LinkCall& c) { return datCh::ChannelsInUse(c.environment.image); }},
    {cl::CL_Mch_Bank_Total, [](const LinkCall& c) { return datCh::ChannelsInUse(c.environment.image); }},
    {cl::CL_Mch_UsedCHs, [](const LinkCall& c) { return datCh::ChannelsInUse(c.environment.image); }},
    {cl::CL_Mch_UsedCHs_Total, [](const LinkCall&) { return memmap::kMaxChannels; }},
    {cl::CL_Bank_UsedLeft, ChannelsLeft},
    {cl::CL_Mch_Bank_Left, ChannelsLeft},
    // Every channel in use lies in a bank, so none is added for channels outside them.
    {cl::CL_Mch_UsedCHs_Left, ChannelsLeft},
};

// The model-type menu items: the item of the current type carries the tick.
struct ModelRow {
  int link;
  ModelType modelType;
};
const ModelRow kModelRows[] = {{cl::CL_Model_Lmr, ModelType::kLandMobile},
                               {cl::CL_Model_Pmr, ModelType::kPmr},
                               {cl::CL_Model_VexlPmr, ModelType::kPmrVexl},
                               {cl::CL_Model_DPmr446, ModelType::kDpmr446}};
// State flag 0 is the tick that menus and tool buttons show (bit 5 of the
// behaviour byte, where state flags 0 to 2 live).
constexpr int kTickFlag = 0;

LinkOutcome RunModel(LinkCall& call, ModelType modelType) {
  LinkEnvironment& environment = call.environment;
  if (call.request.cell) call.request.cell->SetStateFlag(kTickFlag, environment.modelType == modelType);
  call.request.displayText = environment.overlay.GetLine(gi::GI_AppInd_Model, ModelIndex(modelType));
  if (call.request.key != cellkey::kEnter || environment.modelType == modelType || !environment.changeModel) return {};
  platform::MsgRequest question{environment.overlay.GetLine(gi::GI_Sys_AppTitle, 0),
                                environment.overlay.GetBlockText(gi::GI_AppMess_ChangeModel),
                                platform::MsgIcon::Question, platform::MsgButtons::OkCancel, true};
  if (platform::CurrentMessageBox().Show(question) != platform::MsgAnswer::Ok) return {};
  environment.changeModel(modelType);
  call.changeBits |= changebit::kRebuildSheet;
  return {true, kNoEditor};
}

// The channel links whose marks the channel check sums.
constexpr int kCheckedChannelLinks[] = {cl::CL_Mch_WNM};

LinkOutcome RunChannelCheck(LinkCall& call) {
  const cmcEeprom& image = call.environment.image;
  int bank = call.number;
  int first = datCh::FirstChannel(image, bank);
  int marks = 0;
  for (int channel = first; channel < first + datCh::BankSize(image, bank); ++channel) {
    for (int link : kCheckedChannelLinks) marks |= call.links.FlagsOf(ct::CT_Mch, link, channel);
  }
  call.request.marks |= marks & (cellmark::kWarning | cellmark::kError);
  return {};
}

// The value cells of a choice list: each shows its own text, which the list
// pairs with the value its parameter carries.
constexpr int kChoiceValueColumns[] = {cl::Flex0,      cl::Flex1,       cl::Flex2,     cl::FlexMark,     cl::FlexDtcs,
                                       cl::FlexKeyOpt, cl::FlexZoneSel, cl::FlexCHSel, cl::FlexScrmPort, cl::FlexAdjCh};

// --- banks: the name (8 characters of block 10) and the flags ---

constexpr std::size_t kBankNameSize = 8;

bool ValidBank(int bank) { return bank >= 0 && bank < memmap::kBankCount; }

LinkOutcome RunBankName(LinkCall& call) {
  int bank = CountedBank(call);
  if (!ValidBank(bank)) return {};
  cmcEeprom& image = call.environment.image;
  const int address = memmap::addr::kBankNames + static_cast<int>(kBankNameSize) * bank;
  const Charset* charset = call.environment.charset;
  TextValue value{[&image, address, charset] {
                    std::string bytes(kBankNameSize, ' ');
                    image.ReadBlock(address, reinterpret_cast<std::uint8_t*>(bytes.data()), kBankNameSize);
                    if (!charset) return bytes;
                    // A code the set lacks shows as a space, as on the radio.
                    return charset->Decode(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                                           " ");
                  },
                  [&image, address, charset](const std::string& text) {
                    std::string bytes = text.substr(0, kBankNameSize);
                    bytes.resize(kBankNameSize, ' ');
                    if (charset) {
                      Charset::Encoded encoded = charset->Encode(text, kBankNameSize);
                      if (!encoded.Ok()) return false;
                      bytes.assign(encoded.bytes.begin(), encoded.bytes.end());
                    }
                    image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(bytes.data()), kBankNameSize);
                    return true;
                  }};
  value.maximum = kBankNameSize;
  value.charset = charset;
  if (charset) {
    value.glyphs = [&image, address, charset] {
      std::vector<std::uint8_t> bytes(kBankNameSize);
      image.ReadBlock(address, bytes.data(), kBankNameSize);
      return charset->Patterns(bytes);
    };
  }
  LinkOutcome outcome = TextFamily(call.request, call.services, value);
  if (outcome.changed) call.changeBits |= changebit::kRebuildSheet;  // the bank's title and tree label
  return outcome;
}

// The per-bank on/off bytes: the bank flag, and whether the radio lets the
// user select the bank freely.
struct BankFlagRow {
  int link;
  int address;
};
const BankFlagRow kBankFlagRows[] = {
    {cl::CL_Bank_SmarTrunk, chlayout::kBankFlags},
    {cl::CL_Mch_SmarTrunk, chlayout::kBankFlags},
    {cl::CL_Bank_SelBankFree, chlayout::kBankFreeSelection},
};

LinkOutcome RunBankFlag(LinkCall& call, int address) {
  int bank = CountedBank(call);
  if (!ValidBank(bank)) return {};
  cmcEeprom& image = call.environment.image;
  const BitField flag{address, 1, 7 - bank, 1};
  LinkValue value{[&image, flag] { return static_cast<std::int64_t>(flag.Get(image.Bytes())); },
                  [&image, flag](std::int64_t v) { flag.Set(image.Bytes(), static_cast<std::uint32_t>(v)); }};
  LinkOutcome outcome =
      ChoiceFamily(call.request, call.services, ChoiceSpec{gi::GI_Sheet_Sel_Misc_OnOff2, cl::Flex0}, value);
  if (outcome.changed) call.changeBits |= changebit::kRebuildSheet;  // the bank's title colour
  return outcome;
}

}  // namespace

void AddGeneralLinks(LinkTable& table) {
  table.Add(cl::CL_Mch_BankText, RunBankName);
  for (const BankFlagRow& row : kBankFlagRows) {
    table.Add(row.link, [&row](LinkCall& call) { return RunBankFlag(call, row.address); });
  }
  for (const CounterRow& row : kCounterRows) {
    table.Add(row.link, [&row](LinkCall& call) { return Show(call, std::to_string(row.count(call))); });
  }
  for (const ModelRow& row : kModelRows) {
    table.Add(row.link, [&row](LinkCall& call) { return RunModel(call, row.modelType); });
  }
  table.Add(cl::CL_Misc_ChNo_0Base, [](LinkCall& call) { return Show(call, std::to_string(call.number)); });
  table.Add(cl::CL_Misc_ChNo_1Base,
            [](LinkCall& call) { return Show(call, std::to_string(std::int64_t{call.number} + 1)); });
  table.Add(cl::CL_Misc_QuarterPillar, [](LinkCall& call) { return Show(call, ""); });
  table.Add(cl::CL_Check_Mch, RunChannelCheck);
  for (int link : kChoiceValueColumns) {
    table.Add(link, [](LinkCall& call) { return Show(call, DisplayTextOf(*call.request.cell)); });
  }
}
