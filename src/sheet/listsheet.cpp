#include "sheet/listsheet.h"

#include <algorithm>
#include <array>

#include "model/ch.h"
#include "model/eeprom.h"
#include "model/memorymap.h"

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

void iuiSh_Mch::ApplyControlGroup(const ControlGroup& group, RowReading& reading) {
  if (!ApplyCondition(kRecordListConditions, group, reading)) iuiSheet::ApplyControlGroup(group, reading);
}

iuiSh_ChBank::iuiSh_ChBank(SheetServices services, SheetRef ref)
    : iuiSh_Mch(std::move(services), std::move(ref)), bank_(Ref().Bank()) {}

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
