#include "sheet/listsheet.h"

#include <algorithm>
#include <array>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/cellschanged.h"
#include "links/channelops.h"
#include "model/bankname.h"
#include "model/ch.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/sheetview.h"

namespace {

using Facts = cuiSheet::ConditionFacts;

bool AccessoryBit(const Facts& facts, int bit) {
  const cmcEeprom& image = facts.image;
  return image.IsValidAddress(memmap::addr::kAccessoryFlags) &&
         (image.GetByte(memmap::addr::kAccessoryFlags) >> bit & 1) != 0;
}

const std::array<cuiSheet::Condition, 1> kRecordListConditions = {{
    {"Only_Print", [](const Facts& f) { return f.printing; }},
}};

const std::array<cuiSheet::Condition, 10> kCommonConditions = {{
    {"Only_Pmr", [](const Facts& f) { return IsPmr(f.modes.modelType); }},
    {"Only_Lmr", [](const Facts& f) { return IsLandMobile(f.modes.modelType); }},
    {"Only_VEXL", [](const Facts& f) { return HasVexl(f.modes.modelType); }},
    {"Only_notVEXL", [](const Facts& f) { return !HasVexl(f.modes.modelType); }},
    {"Only_Dealer", [](const Facts&) { return false; }},
    {"Only_User", [](const Facts&) { return true; }},
    {"Only_SACC", [](const Facts& f) { return AccessoryBit(f, 3); }},
    {"Only_EACC", [](const Facts& f) { return AccessoryBit(f, 4); }},
    {"Only_Maker", [](const Facts& f) { return f.modes.makerMode; }},
    {"Never", [](const Facts&) { return false; }},
}};

}  // namespace

int iuiSheet::ListLength() const {
  const cmcEeprom& image = Services().image;
  const int newRecordRow = Printing() ? 0 : 1;
  switch (Style().listKind) {
  case 'R': return datCh::ChannelsInUse(image) + newRecordRow;
  case 'M': return memmap::AliasCount(image) + newRecordRow;
  case 'Y': return std::clamp(Services().modes.languageCount, 0, kMaxLanguages);
  // A damaged size never reaches past the last channel.
  case 'C':
    return std::clamp(datCh::BankSize(image, Bank()), 0, memmap::kMaxChannels - datCh::FirstChannel(image, Bank()));
  default: return 1;
  }
}

bool iuiSheet::ListsRecords() const {
  const char kind = Style().listKind;
  return kind == 'R' || kind == 'M' || kind == 'C';
}

void iuiSheet::OnEvent(const Event& event) {
  switch (event.code) {
  case ev::kRecordInserted:
  case ev::kRecordDeleted:
    if (!ListsRecords() || !Built() || Printing()) return;
    // A list that no longer ends in its template row (an emptied bank) is read again.
    if (!FollowListLength(ListLength())) RebuildNow();
    return;
  case ev::kTitleRefresh:
    if (Services().view) Services().view->TitleChanged();
    return;
  case ev::kSelectCell:
    if (const std::optional<CellReference> cell = CellReferenceOf(event)) {
      MakeCurrentMatching(cell->type, cell->link, cell->parameter);
    }
    return;
  case ev::kChannelRowChanged:
    Repaint(RepaintCriterion::kByParameter, CellReference{0, 0, static_cast<std::int32_t>(event.argument)});
    return;
  default: cuiSheet::OnEvent(event);
  }
}

void iuiSh_Mch::ApplyControlGroup(const ControlGroup& group, RowReading& reading) {
  if (!ApplyCondition(kRecordListConditions, group, reading)) iuiSheet::ApplyControlGroup(group, reading);
}

iuiSh_ChBank::iuiSh_ChBank(SheetServices services, SheetRef ref)
    : iuiSh_Mch(std::move(services), std::move(ref)), bank_(Ref().Bank()) {}

iuiSh_ChBank::~iuiSh_ChBank() {
  if (cmcEvMan* events = Services().events) events->Send(ev::kChannelSelected, this, -1);
}

std::optional<std::string> iuiSh_ChBank::TitleText() const {
  cmcGTex& overlay = Services().mainOverlay;
  if (!chops::BanksShown(overlay)) return iuiSh_Mch::TitleText();
  const cmcEeprom& image = Services().image;
  return Substitute("%s %d: %s %s (%d %s)",
                    {Style().title.value_or(std::string()), std::int64_t{Bank() + 1}, Name(), FlagText(),
                     std::int64_t{datCh::ChannelsThatFit(image, Services().modes.modelType)},
                     overlay.GetLine(gi::GI_AppInd_Sheet_Title_LeftCH, 0)});
}

std::optional<CellColour> iuiSh_ChBank::TitleFontColour() const {
  if (!chops::BanksShown(Services().mainOverlay)) return iuiSh_Mch::TitleFontColour();
  return datCh::BankFlag(Services().image, Bank()) ? kFlaggedTitleColour : kTitleColour;
}

std::string iuiSh_ChBank::PrintHead() const {
  cmcGTex& overlay = Services().mainOverlay;
  if (!chops::BanksShown(overlay)) return iuiSh_Mch::PrintHead();
  return Substitute("%s %d: %s %s", {overlay.GetLine(gi::GI_AppInd_MchSheet_Printer_Head, 0), std::int64_t{Bank() + 1},
                                     Name(), FlagText()});
}

std::string iuiSh_ChBank::Name() const { return BankName(Services().image, Bank(), Services().charset); }

std::string iuiSh_ChBank::FlagText() const {
  if (!datCh::BankFlag(Services().image, Bank())) return {};
  return Services().mainOverlay.GetLine(gi::GI_AppInd_MchSheet_Printer_SmarTrunk, 0);
}

std::optional<int> iuiSh_ChBank::CurrentChannel() const {
  const std::optional<int> first = ListFirstRow();
  const Position current = Current();
  if (!Built() || !first || current.row < *first || !CellAt(current.column, current.row)) return std::nullopt;
  return datCh::FirstChannel(Services().image, Bank()) + (current.row - *first);
}

void iuiSh_ChBank::CurrentRowChanged() {
  cmcEvMan* events = Services().events;
  if (!events || Printing()) return;
  // A bank without channel rows offers its first position.
  const int channel = CurrentChannel().value_or(datCh::FirstChannel(Services().image, Bank()));
  events->Send(ev::kChannelSelected, this, channel);
}

// The memory-channel window moved: the current row follows by as many rows.
void iuiSh_ChBank::OnEvent(const Event& event) {
  if (event.code != ev::kFollowChannel) {
    iuiSh_Mch::OnEvent(event);
    return;
  }
  if (!Built() || event.argument == 0) return;
  const int steps =
      static_cast<int>(std::clamp<std::intptr_t>(event.argument, -memmap::kMaxChannels, memmap::kMaxChannels));
  MoveCurrent(0, steps);
}

bool iuiSh_ChBank::Prepare() {
  if (bank_) return true;
  Fault("The sheet '" + Ref().Text() + "' names no bank: its kind must be \"Bank 0\" to \"Bank " +
        std::to_string(memmap::kBankCount - 1) + "\".");
  return false;
}

void iuiSh_ChBank::StartLoopVariables(LoopVariables& loops) const {
  iuiSh_Mch::StartLoopVariables(loops);
  loops[0] = datCh::FirstChannel(Services().image, Bank());
}

void iuiSh_Common::ApplyControlGroup(const ControlGroup& group, RowReading& reading) {
  if (!ApplyCondition(kCommonConditions, group, reading)) iuiSheet::ApplyControlGroup(group, reading);
}
