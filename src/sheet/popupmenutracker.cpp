#include "sheet/popupmenutracker.h"

bool PopupMenuTracker::CurrentChanged(const cmcCellObj& cell, bool focusGained) {
  std::optional<std::string> name = PopupMenuOf(cell);
  if (built_ && !focusGained && name == name_) return false;
  name_ = std::move(name);
  built_ = true;
  return true;
}
