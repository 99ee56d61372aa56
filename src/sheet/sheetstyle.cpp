#include "sheet/sheetstyle.h"

#include <algorithm>
#include <array>

#include "core/decimal.h"
#include "sheet/groups.h"

namespace {

using KeyRule = void (*)(SheetStyle& style, std::string_view value);

int NotNegative(std::string_view value) { return std::max(SaturatingDecimal(value), 0); }

// A key is matched at the start of its group; its value follows the first '='.
struct StyleKey {
  std::string_view key;
  bool exact;  // the group is exactly the key
  KeyRule apply;
};

const std::array<StyleKey, 10> kStyleKeys = {{
    {"TitleString", false,
     [](SheetStyle& s, std::string_view v) {
       if (!v.empty()) s.title = std::string(v);
     }},
    {"TitleColor", false, [](SheetStyle& s, std::string_view v) { ParseColour(v, s.titleColour); }},
    {"TitleFont", false,
     [](SheetStyle& s, std::string_view v) {
       s.titleFont = Font{};
       ParseFont(v, *s.titleFont);
     }},
    {"FixedCols", false, [](SheetStyle& s, std::string_view v) { s.fixedColumns = NotNegative(v); }},
    {"FixedRows", false, [](SheetStyle& s, std::string_view v) { s.fixedRows = NotNegative(v); }},
    {"NoPrint", true, [](SheetStyle& s, std::string_view) { s.printable = false; }},
    {"PrintFontRatio", false, [](SheetStyle& s, std::string_view v) { s.printFontRatio = NotNegative(v); }},
    {"MultiSelect", false,
     [](SheetStyle& s, std::string_view v) {
       s.multiSelect = v == "Cell"   ? SheetStyle::MultiSelect::kCell
                       : v == "Line" ? SheetStyle::MultiSelect::kLine
                                     : SheetStyle::MultiSelect::kNone;
     }},
    {"ColSizing", false, [](SheetStyle& s, std::string_view) { s.columnsSizable = true; }},
    {"ColorSelectLine", false, [](SheetStyle& s, std::string_view) { s.colourSelectLine = true; }},
}};

void ApplyStyleKey(SheetStyle& style, std::string_view group) {
  const std::size_t equals = group.find('=');
  const std::string_view value = equals == std::string_view::npos ? std::string_view{} : group.substr(equals + 1);
  for (const StyleKey& key : kStyleKeys) {
    if (key.exact ? group == key.key : group.starts_with(key.key)) {
      key.apply(style, value);
      return;
    }
  }
}

}  // namespace

SheetStyle SheetStyle::Read(std::string_view line) {
  SheetStyle style;
  if (!line.empty()) style.listKind = line.front();
  ForEachGroup(line, [&style](std::string_view group) { ApplyStyleKey(style, group); });
  return style;
}
