#pragma once

#include <functional>
#include <optional>

#include "sheet/cellposition.h"

// Where one step of the current cell leads on a grid of selectable and
// unselectable cells: the next selectable cell in the direction, else the
// nearest one in the following columns (rows); drop-down lists wrap instead.
class CellWalk {
 public:
  using Selectable = std::function<bool(int column, int row)>;

  CellWalk(int columns, int rows, Selectable selectable)
      : columns_(columns), rows_(rows), selectable_(std::move(selectable)) {}

  // One step from `from` by (dx, dy), one of them 0 and the other -1 or 1.
  // None when no cell is found.
  std::optional<CellPosition> Step(CellPosition from, int dx, int dy) const;
  // The same step in a drop-down list: it walks round the grid's edges
  // (`wrap`) or stops at them, and never searches other lines.
  std::optional<CellPosition> StepInDropDown(CellPosition from, int dx, int dy, bool wrap) const;

 private:
  bool Inside(CellPosition p) const { return p.column >= 0 && p.row >= 0 && p.column < columns_ && p.row < rows_; }
  bool IsSelectable(CellPosition p) const { return Inside(p) && selectable_(p.column, p.row); }
  std::optional<CellPosition> Walk(CellPosition from, int dx, int dy) const;
  std::optional<CellPosition> SearchBeyond(CellPosition from, int dx, int dy) const;

  int columns_;
  int rows_;
  Selectable selectable_;
};
