#pragma once

#include <optional>

#include "sheet/cellposition.h"
#include "sheet/cellrect.h"

class cuiSheet;
class SheetGeometry;

// Where the grid's cells lie in its client area: the fixed columns and rows
// first, then the scrolled ones from the first shown.
class CellHit {
 public:
  CellHit(const SheetGeometry& geometry, int leftColumn, int topRow)
      : geometry_(geometry), leftColumn_(leftColumn), topRow_(topRow) {}

  // The grid cell under a point; none outside every cell (right of or below the grid).
  std::optional<CellPosition> GridCellAt(int x, int y) const;
  // The cell's rectangle; none when it is scrolled out of view.
  std::optional<CellRect> RectOf(CellPosition cell) const;
  // The column a double click on a fixed row auto-fits: the nearest shown
  // column left of a column's left edge, or the column of a right edge,
  // within kEdgePixels.
  std::optional<int> ColumnEdgeAt(int x, int y) const;

  static constexpr int kEdgePixels = 4;

 private:
  std::optional<int> Start(int index, bool column) const;

  const SheetGeometry& geometry_;
  int leftColumn_;
  int topRow_;
};

// The selectable cell under a point: the cell itself, the cell a joined
// cell is drawn with, or the cell an extension belongs to. None elsewhere.
std::optional<CellPosition> CellAtPoint(const cuiSheet& sheet, int x, int y);

// The cell a joined cell is drawn as part of: the nearest cell on its left not joined.
CellPosition JoinOwner(const cuiSheet& sheet, CellPosition cell);
// The selectable cell an extension belongs to: the nearest selectable cell
// on its left with only extensions between; none for another cell.
std::optional<CellPosition> ExtensionOwner(const cuiSheet& sheet, CellPosition cell);
