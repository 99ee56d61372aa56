#pragma once

#include <optional>
#include <string>

#include "markup/cellobj.h"

class CellLinks;

// What a menu item, tool button or tree node shows, as its cell's link decided
// just before it is shown.
struct ItemState {
  bool ticked = false;
  bool hidden = false;
  bool disabled = false;
  std::optional<std::string> caption;  // the link's caption, when it gives one
  int imageIndex = -1;
};

// How the menu, tool bar and tree reach the commands behind their items,
// without knowing any: each item is a cell whose link decides.
class ItemDispatch {
 public:
  virtual ~ItemDispatch() = default;
  // Runs the link's state rule on the cell and reads the state flags it left.
  virtual ItemState Refresh(cmcCellObj& cell) = 0;
  // The user chose the item: the link's action (Enter on the cell).
  virtual void Activate(cmcCellObj& cell) = 0;
};

// The dispatch through the cell-link evaluator. A link without a behaviour
// shows disabled and does nothing.
class LinkItemDispatch : public ItemDispatch {
 public:
  explicit LinkItemDispatch(CellLinks& links) : links_(links) {}

  ItemState Refresh(cmcCellObj& cell) override;
  void Activate(cmcCellObj& cell) override;

 private:
  CellLinks& links_;
};
