#pragma once

#include <optional>
#include <string>

#include "markup/cellobj.h"

// Which pop-up menu the grid has built: the current cell's menu name (up its
// parent chain), rebuilt when the name changes or the grid gains the focus.
class PopupMenuTracker {
 public:
  // The current cell changed while the grid has the focus, or the focus came
  // (`focusGained`). True when the menu is to be built anew under Name().
  bool CurrentChanged(const cmcCellObj& cell, bool focusGained);
  // The menu is destroyed.
  void FocusLost() {
    built_ = false;
    name_.reset();
  }
  bool Built() const { return built_; }
  const std::optional<std::string>& Name() const { return name_; }

 private:
  bool built_ = false;
  std::optional<std::string> name_;
};
