#include "control/sheethistory.h"

#include <algorithm>

void SheetHistory::Remember(const SheetRef& ref, const cuiSheet::ViewPosition& position) {
  std::erase_if(entries_, [&ref](const Entry& entry) { return entry.ref.name == ref.name; });
  entries_.push_front({ref, position});
}

std::optional<cuiSheet::ViewPosition> SheetHistory::Find(std::string_view name) const {
  const auto found =
      std::find_if(entries_.begin(), entries_.end(), [name](const Entry& e) { return e.ref.name == name; });
  if (found == entries_.end()) return std::nullopt;
  return found->position;
}

bool SheetAdmitsHelp(std::string_view sheetName) {
  // Names compared with, not blocks asked for: a tree need not carry all of them.
  constexpr std::string_view kWithoutHelp[] = {"GI_Sheet_TopPage", "GI_Sheet_Memory_CH_Top", "GI_Sheet_TreeTop",
                                               "GI_Sheet_TopPage_ADJ", "GI_Sheet_Maker"};
  return std::find(std::begin(kWithoutHelp), std::end(kWithoutHelp), sheetName) == std::end(kWithoutHelp);
}

bool IsChannelBankSheet(const SheetRef& ref) { return ref.style == kChannelBankStyle; }
