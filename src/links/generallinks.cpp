// Links that are not one channel's field: bank and channel counters, the
// channel-number columns, the model-type menu items and the channel checks.

#include <string>

#include "core/gtex.h"
#include "model/ch.h"
#include "links/ids.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace {

LinkOutcome Show(LinkCall& call, std::string text) {
  call.request.displayText = std::move(text);
  return {};
}

// The bank a counter cell counts: its number, or the sheet's bank.
int CountedBank(const LinkCall& call) {
  return call.type == ct::CT_Null ? call.request.contextNumber : call.number;
}

int ChannelsLeft(const LinkCall& call) {
  const cmcEeprom& image = call.environment.image;
  int fit = memmap::ChannelsThatFit(image, call.environment.modelType);
  return std::min(fit, memmap::kMaxChannels - datCh::ChannelsInUse(image));
}

struct CounterRow {
  int link;
  int (*count)(const LinkCall& call);
};

const CounterRow kCounterRows[] = {
    {cl::CL_Bank_UsedQty, [](const LinkCall& c) { return datCh::BankSize(c.environment.image, CountedBank(c)); }},
    {cl::CL_Mch_Bank, [](const LinkCall& c) { return datCh::BankSize(c.environment.image, CountedBank(c)); }},
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
  int modelType;
};
const ModelRow kModelRows[] = {{cl::CL_Model_Lmr, 0}, {cl::CL_Model_Pmr, 1}, {cl::CL_Model_VexlPmr, 2},
                               {cl::CL_Model_DPmr446, 3}};
constexpr int kTickFlag = 5;

LinkOutcome RunModel(LinkCall& call, int modelType) {
  LinkEnvironment& environment = call.environment;
  if (call.request.cell) call.request.cell->SetStateFlag(kTickFlag, environment.modelType == modelType);
  call.request.displayText = environment.overlay.GetLine("GI_AppInd_Model", static_cast<std::size_t>(modelType));
  if (call.request.key != cellkey::kEnter || environment.modelType == modelType || !environment.changeModel) return {};
  platform::MsgRequest question{environment.overlay.GetLine("GI_Sys_AppTitle", 0),
                                environment.overlay.GetBlockText("GI_AppMess_ChangeModel"),
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

}  // namespace

void AddGeneralLinks(cmcLinkTable& table) {
  for (const CounterRow& row : kCounterRows) {
    table.Add(row.link, [&row](LinkCall& call) { return Show(call, std::to_string(row.count(call))); });
  }
  for (const ModelRow& row : kModelRows) {
    table.Add(row.link, [&row](LinkCall& call) { return RunModel(call, row.modelType); });
  }
  table.Add(cl::CL_Misc_ChNo_0Base, [](LinkCall& call) { return Show(call, std::to_string(call.number)); });
  table.Add(cl::CL_Misc_ChNo_1Base, [](LinkCall& call) { return Show(call, std::to_string(call.number + 1)); });
  table.Add(cl::CL_Misc_QuarterPillar, [](LinkCall& call) { return Show(call, ""); });
  table.Add(cl::CL_Check_Mch, RunChannelCheck);
}
