#include "sheet/multiselection.h"

#include <algorithm>

void MultiSelection::Reset(SheetStyle::MultiSelect mode, Extent extent) {
  mode_ = mode;
  extent_ = extent;
  anchor_.reset();
  active_ = false;
}

void MultiSelection::Resize(Extent extent) {
  extent_ = extent;
  if (anchor_ && (anchor_->column >= extent.columns || anchor_->row >= extent.rows)) anchor_.reset();
}

bool MultiSelection::MayMultiSelect(CellPosition cell) const {
  const clsSheetCellId* id = cells_(cell.column, cell.row);
  return id && id->mayMultiSelect;
}

bool MultiSelection::MayBecomeCurrent(CellPosition cell) const {
  const clsSheetCellId* id = cells_(cell.column, cell.row);
  return id && id->cell.selectable && (!active_ || id->mayMultiSelect);
}

void MultiSelection::CurrentMoved(CellPosition from, CellPosition to, bool extend) {
  if (!Enabled()) return;
  if (!extend || !anchor_ || !MayMultiSelect(from) || !MayMultiSelect(to)) {
    Clear();
    anchor_ = to;
    return;
  }
  Unmark();
  const auto [left, right] = std::minmax(anchor_->column, to.column);
  const auto [top, bottom] = std::minmax(anchor_->row, to.row);
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      clsSheetCellId* id = cells_(column, row);
      if (id && id->mayMultiSelect) id->selected = true;
    }
  }
  active_ = true;
  MarkLines();
}

void MultiSelection::Clear() {
  Unmark();
  active_ = false;
}

void MultiSelection::SelectRange(int link, std::int32_t low, std::int32_t high) {
  if (!Enabled()) return;
  Unmark();
  for (int row = 0; row < extent_.rows; ++row) {
    for (int column = 0; column < extent_.columns; ++column) {
      clsSheetCellId* id = cells_(column, row);
      if (id && id->cell.link == link && id->cell.parameter >= low && id->cell.parameter <= high) {
        id->selected = true;
        active_ = true;
      }
    }
  }
  MarkLines();
}

std::optional<std::pair<std::int32_t, std::int32_t>> MultiSelection::ParameterSpan(CellPosition current) const {
  if (!active_ || !anchor_) return std::nullopt;
  const clsSheetCellId* a = cells_(anchor_->column, anchor_->row);
  const clsSheetCellId* b = cells_(current.column, current.row);
  if (!a || !b) return std::nullopt;
  return std::minmax(a->cell.parameter, b->cell.parameter);
}

void MultiSelection::Unmark() {
  for (int row = 0; row < extent_.rows; ++row) {
    for (int column = 0; column < extent_.columns; ++column) {
      if (clsSheetCellId* id = cells_(column, row)) id->selected = id->selectedByRange = false;
    }
  }
}

void MultiSelection::MarkLines() {
  if (mode_ != SheetStyle::MultiSelect::kLine) return;
  for (int row = 0; row < extent_.rows; ++row) {
    bool holdsSelected = false;
    for (int column = 0; column < extent_.columns && !holdsSelected; ++column) {
      const clsSheetCellId* id = cells_(column, row);
      holdsSelected = id && id->selected;
    }
    if (!holdsSelected) continue;
    for (int column = extent_.firstLineColumn; column < extent_.columns; ++column) {
      if (clsSheetCellId* id = cells_(column, row)) id->selectedByRange = true;
    }
  }
}
