#include "sheet/sheetref.h"

#include "core/decimal.h"
#include "model/memorymap.h"

namespace {

constexpr std::string_view kBankKind = "Bank";

}  // namespace

SheetRef SheetRef::Parse(std::string_view text) {
  SheetRef ref;
  if (text.starts_with('[')) {
    const std::size_t close = text.find(']');
    // An unclosed bracket leaves no name: the reference names no sheet.
    if (close == std::string_view::npos) return ref;
    ref.style = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
  }
  const std::size_t comma = text.find(',');
  ref.name = text.substr(0, comma);
  if (comma != std::string_view::npos) ref.kind = text.substr(comma + 1);
  return ref;
}

std::string SheetRef::Text() const {
  std::string text = style.empty() ? name : "[" + style + "]" + name;
  if (!kind.empty()) text += "," + kind;
  return text;
}

std::optional<int> SheetRef::Bank() const {
  if (!std::string_view(kind).starts_with(kBankKind)) return std::nullopt;
  const std::string_view number = std::string_view(kind).substr(kBankKind.size());
  std::size_t used = 0;
  const std::int32_t bank = SaturatingDecimal(number, &used);
  if (used == 0 || used != number.size() || bank < 0 || bank >= memmap::kBankCount) return std::nullopt;
  return bank;
}

std::string StyleBlock(std::string_view name) { return std::string(name) + "_Style"; }
std::string BasicCellBlock(std::string_view name) { return std::string(name) + "_BasicCell"; }
std::string CellsBlock(std::string_view name) { return std::string(name) + "_Cells"; }
