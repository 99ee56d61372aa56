#include "markup/colours.h"

#include <array>
#include <utility>

#include "core/hash.h"

namespace {

// "clHightlightText" is the name the overlays use, spelling and all.
constexpr std::array<std::pair<std::string_view, CellColour>, 38> kColours = {{
    {"clAqua", 0x00FFFF00},
    {"clBlack", 0x00000000},
    {"clBlue", 0x00FF0000},
    {"clDkGray", 0x00808080},
    {"clFuchsia", 0x00FF00FF},
    {"clGray", 0x00808080},
    {"clGreen", 0x00008000},
    {"clLime", 0x0000FF00},
    {"clLtGray", 0x00C0C0C0},
    {"clMaroon", 0x00000080},
    {"clNavy", 0x00800000},
    {"clOlive", 0x00008080},
    {"clPurple", 0x00800080},
    {"clRed", 0x000000FF},
    {"clSilver", 0x00C0C0C0},
    {"clTeal", 0x00808000},
    {"clWhite", 0x00FFFFFF},
    {"clYellow", 0x0000FFFF},
    {"clBackground", kSystemColour + 1},
    {"clActiveCaption", kSystemColour + 2},
    {"clInactiveCaption", kSystemColour + 3},
    {"clMenu", kSystemColour + 4},
    {"clWindow", kSystemColour + 5},
    {"clWindowFrame", kSystemColour + 6},
    {"clMenuText", kSystemColour + 7},
    {"clWindowText", kSystemColour + 8},
    {"clCaptionText", kSystemColour + 9},
    {"clActiveBorder", kSystemColour + 10},
    {"clInactiveBorder", kSystemColour + 11},
    {"clAppWorkSpace", kSystemColour + 12},
    {"clHighlight", kSystemColour + 13},
    {"clHightlightText", kSystemColour + 14},
    {"clBtnFace", kSystemColour + 15},
    {"clBtnShadow", kSystemColour + 16},
    {"clGrayText", kSystemColour + 17},
    {"clBtnText", kSystemColour + 18},
    {"clInactiveCaptionText", kSystemColour + 19},
    {"clBtnHighlight", kSystemColour + 20},
}};

}  // namespace

bool ParseColour(std::string_view name, CellColour& value) {
  static const cmcHash table = [] {
    cmcHash colours(101);
    for (const auto& [colourName, colour] : kColours) colours.Insert(colourName, static_cast<std::int32_t>(colour));
    return colours;
  }();
  const std::int32_t* found = table.Find(name);
  if (!found) return false;
  value = static_cast<CellColour>(*found);
  return true;
}
