#include "markup/cellobj.h"

std::optional<std::string> PopupMenuOf(const cmcCellObj& cell) {
  for (const cmcCellObj* c = &cell; c; c = c->parent) {
    if (c->popupMenu && !c->popupMenu->empty()) return c->popupMenu;
  }
  return std::nullopt;
}

std::string DisplayTextOf(const cmcCellObj& cell) { return cell.displayText.value_or(std::string{}); }
