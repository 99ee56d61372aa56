#include "markup/cellobj.h"

std::optional<std::string> PopupMenuOf(const cmcCellObj& cell) {
  for (const cmcCellObj* c = &cell; c; c = c->parent) {
    if (c->popupMenu && !c->popupMenu->empty()) return c->popupMenu;
  }
  return std::nullopt;
}

std::string DisplayTextOf(const cmcCellObj& cell) { return cell.displayText.value_or(std::string{}); }

std::string FlagsText(const cmcCellObj& cell) {
  std::string text{"<^>"[cell.hAlign % 3], "~-_"[cell.vAlign % 3]};
  const std::pair<bool, char> letters[] = {
      {cell.autoWidth, 'W'},
      {cell.autoHeight, 'H'},
      {cell.joinedLeft, '+'},
      {cell.bottomLine, 'B'},
      {cell.topLine, 'U'},
      {cell.rightLine == cmcCellObj::kFullRightLine, 'X'},
      {cell.rightLine == cmcCellObj::kRightTick, 'Q'},
      {cell.selectable, 'S'},
      {cell.extension, 'T'},
  };
  for (const auto& [set, letter] : letters) {
    if (set) text += letter;
  }
  if (cell.stateFlags != 0) {
    text += 'F';
    for (int n = 0; n < 8; ++n) {
      if (cell.StateFlag(n)) text += static_cast<char>('0' + n);
    }
  }
  return text;
}
