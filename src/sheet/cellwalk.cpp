#include "sheet/cellwalk.h"

#include <cstdlib>

std::optional<CellPosition> CellWalk::Step(CellPosition from, int dx, int dy) const {
  if (std::optional<CellPosition> found = Walk(from, dx, dy)) return found;
  return SearchBeyond(from, dx, dy);
}

std::optional<CellPosition> CellWalk::Walk(CellPosition from, int dx, int dy) const {
  if (dx == 0 && dy == 0) return std::nullopt;
  for (CellPosition p{from.column + dx, from.row + dy}; Inside(p); p = {p.column + dx, p.row + dy}) {
    if (IsSelectable(p)) return p;
  }
  return std::nullopt;
}

// Line by line beyond the current one, the cell nearest to the current row
// (column) in each; the lower index wins a tie.
std::optional<CellPosition> CellWalk::SearchBeyond(CellPosition from, int dx, int dy) const {
  const bool horizontal = dx != 0;
  const int step = horizontal ? dx : dy;
  const int lines = horizontal ? columns_ : rows_;
  const int across = horizontal ? rows_ : columns_;
  const int centre = horizontal ? from.row : from.column;
  for (int line = (horizontal ? from.column : from.row) + step; line >= 0 && line < lines; line += step) {
    for (int distance = 0; distance < across; ++distance) {
      for (int index : {centre - distance, centre + distance}) {
        const CellPosition p = horizontal ? CellPosition{line, index} : CellPosition{index, line};
        if (IsSelectable(p)) return p;
      }
    }
  }
  return std::nullopt;
}

std::optional<CellPosition> CellWalk::StepInDropDown(CellPosition from, int dx, int dy, bool wrap) const {
  if (!wrap) return Walk(from, dx, dy);
  if (!Inside(from) || (dx == 0 && dy == 0)) return std::nullopt;
  CellPosition p = from;
  const int cells = columns_ * rows_;
  for (int n = 0; n < cells; ++n) {
    p = {(p.column + dx + columns_) % columns_, (p.row + dy + rows_) % rows_};
    if (p == from) break;
    if (IsSelectable(p)) return p;
  }
  return std::nullopt;
}
