#include "sheet/cellhit.h"

#include <cstdlib>

#include "sheet/sheet.h"

std::optional<int> CellHit::Start(int index, bool column) const {
  const int fixed = column ? geometry_.FixedColumns() : geometry_.FixedRows();
  const int first = column ? leftColumn_ : topRow_;
  if (index >= fixed && index < first) return std::nullopt;
  int start = 0;
  for (int i = 0; i < fixed && i < index; ++i) start += column ? geometry_.ColumnWidth(i) : geometry_.RowHeight(i);
  for (int i = std::max(first, fixed); i < index; ++i)
    start += column ? geometry_.ColumnWidth(i) : geometry_.RowHeight(i);
  return start;
}

std::optional<CellRect> CellHit::RectOf(CellPosition cell) const {
  if (cell.column < 0 || cell.row < 0 || cell.column >= geometry_.Columns() || cell.row >= geometry_.Rows()) {
    return std::nullopt;
  }
  const std::optional<int> left = Start(cell.column, true);
  const std::optional<int> top = Start(cell.row, false);
  if (!left || !top) return std::nullopt;
  return CellRect{*left, *top, *left + geometry_.ColumnWidth(cell.column) - 1,
                  *top + geometry_.RowHeight(cell.row) - 1};
}

namespace {

// The index whose band [start, start + size) holds `at`, walking the shown ones.
std::optional<int> Band(const std::vector<int>& shown, int at, int (SheetGeometry::*size)(int) const,
                        const SheetGeometry& geometry) {
  if (at < 0) return std::nullopt;
  int start = 0;
  for (int index : shown) {
    const int end = start + (geometry.*size)(index);
    if (at < end) return index;
    start = end;
  }
  return std::nullopt;
}

constexpr int kUnbounded = 1 << 30;

}  // namespace

std::optional<CellPosition> CellHit::GridCellAt(int x, int y) const {
  const std::optional<int> column =
      Band(geometry_.VisibleColumns(leftColumn_, kUnbounded), x, &SheetGeometry::ColumnWidth, geometry_);
  const std::optional<int> row =
      Band(geometry_.VisibleRows(topRow_, kUnbounded), y, &SheetGeometry::RowHeight, geometry_);
  if (!column || !row) return std::nullopt;
  return CellPosition{*column, *row};
}

std::optional<int> CellHit::ColumnEdgeAt(int x, int y) const {
  int fixedHeight = 0;
  for (int row = 0; row < geometry_.FixedRows(); ++row) fixedHeight += geometry_.RowHeight(row);
  if (y < 0 || y >= fixedHeight) return std::nullopt;
  std::optional<int> previous;
  int start = 0;
  for (int column : geometry_.VisibleColumns(leftColumn_, kUnbounded)) {
    const int end = start + geometry_.ColumnWidth(column);
    if (std::abs(x - start) <= kEdgePixels && previous) return previous;
    if (std::abs(x - end) <= kEdgePixels) return column;
    previous = column;
    start = end;
  }
  return std::nullopt;
}

CellPosition JoinOwner(const cuiSheet& sheet, CellPosition cell) {
  while (cell.column > 0) {
    const clsSheetCellId* id = sheet.CellAt(cell.column, cell.row);
    if (!id || !id->cell.joinedLeft) break;
    --cell.column;
  }
  return cell;
}

std::optional<CellPosition> ExtensionOwner(const cuiSheet& sheet, CellPosition cell) {
  const clsSheetCellId* id = sheet.CellAt(cell.column, cell.row);
  if (!id || !id->cell.extension) return std::nullopt;
  for (int column = cell.column - 1; column >= 0; --column) {
    const cmcCellObj& left = sheet.CellAt(column, cell.row)->cell;
    if (left.selectable) return CellPosition{column, cell.row};
    if (!left.extension) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<CellPosition> CellAtPoint(const cuiSheet& sheet, int x, int y) {
  const std::optional<CellPosition> hit =
      CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).GridCellAt(x, y);
  if (!hit) return std::nullopt;
  const CellPosition cell = JoinOwner(sheet, *hit);
  if (sheet.CellAt(cell.column, cell.row)->cell.selectable) return cell;
  return ExtensionOwner(sheet, cell);
}
