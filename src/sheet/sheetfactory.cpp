#include "sheet/sheetfactory.h"

#include "core/gtex.h"
#include "sheet/listsheet.h"

std::optional<std::string> SheetRefProblem(const SheetRef& ref, cmcGTex& overlay) {
  if (ref.name.empty()) return "the reference names no sheet";
  for (const std::string& block : {StyleBlock(ref.name), BasicCellBlock(ref.name), CellsBlock(ref.name)}) {
    if (!overlay.HasBlock(block)) return "the overlay has no block '" + block + "' of the sheet '" + ref.name + "'";
  }
  if (ref.style == kChannelBankStyle && !ref.Bank()) {
    return "the bank sheet '" + ref.Text() + "' names no bank (its kind must be \"Bank 0\" to \"Bank 7\")";
  }
  return std::nullopt;
}

std::unique_ptr<cuiSheet> CreateSheet(const SheetRef& ref, SheetServices services) {
  if (ref.style == kChannelBankStyle) return std::make_unique<iuiSh_ChBank>(std::move(services), ref);
  if (ref.style == kCommonStyle) return std::make_unique<iuiSh_Common>(std::move(services), ref);
  if (ref.kind.starts_with('M')) return std::make_unique<iuiSh_Mch>(std::move(services), ref);
  return std::make_unique<cuiSheet>(std::move(services), ref);
}

SheetRef ChannelBankSheet(ModelType type, int bank) {
  return {std::string(kChannelBankStyle), "GI_Sheet_Mch_" + std::string(ModelWord(type)),
          "Bank " + std::to_string(bank)};
}
