#include "sheet/columnwidths.h"

#include <algorithm>
#include <cmath>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "sheet/sheetcontext.h"

namespace colwidth {

int Limit(int width, int clientWidth, int fixedWidth) {
  const int upper = clientWidth > 0 ? std::clamp(clientWidth - fixedWidth, kMinimum, kMaximum) : kMaximum;
  return std::clamp(width, kMinimum, upper);
}

int LimitRestored(int width) { return std::min(width, kMaximum); }

double PrintFactor(const PrintTarget& target, int fontSizePercent) {
  const int t = std::max(fontSizePercent * 16 / 100, 1);
  const double screen = std::max(target.screenPixelsPerInch, 1);
  return target.fontSizePoints * (target.fontPixelsPerInch / screen * 16 / t) * 0.1;
}

int Printed(int storedWidth, double factor) {
  const double scaled = std::floor(storedWidth * factor + 0.5);
  return static_cast<int>(std::clamp(scaled, 0.0, 1.0e9));
}

std::string SubKey(std::string_view key) { return "Display\\" + std::string(key) + "\\colwidth"; }

}  // namespace colwidth

ColumnWidthList::ColumnWidthList(cmcGTex& mainOverlay) {
  if (!mainOverlay.HasBlock(gi::GI_CellWidthRegList)) return;
  for (std::size_t n = 0;; ++n) {
    const std::string line = mainOverlay.GetLine(gi::GI_CellWidthRegList, n);
    const std::size_t colon = line.find(':');
    if (line.empty() || line.starts_with('#') || colon == std::string::npos) return;
    entries_.push_back({line.substr(0, colon), line.substr(colon + 1)});
  }
}

std::optional<std::string> ColumnWidthList::SubKeyOf(std::string_view sheetName) const {
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.sheet == sheetName; });
  if (found == entries_.end() || found->key.empty()) return std::nullopt;
  return colwidth::SubKey(found->key);
}

std::vector<std::string> ColumnWidthList::AllSubKeys() const {
  std::vector<std::string> keys;
  for (const Entry& entry : entries_) {
    if (!entry.key.empty()) keys.push_back(colwidth::SubKey(entry.key));
  }
  return keys;
}
