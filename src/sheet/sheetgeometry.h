#pragma once

#include <cstdint>
#include <vector>

// The grid's column widths and row heights in pixels, its fixed (non-scrolling)
// columns and rows, and which of them a client area shows.
class SheetGeometry {
 public:
  // Every column and row takes the default size; nothing is fixed.
  void Reset(int columns, int rows, int defaultWidth, int defaultHeight);

  int Columns() const { return static_cast<int>(widths_.size()); }
  int Rows() const { return static_cast<int>(heights_.size()); }

  // Sizes are never negative; an index outside the grid reads 0 and is not written.
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  void WidenColumn(int column, int width);  // never narrows
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  void HeightenRow(int row, int height);  // never lowers
  // A list grows or shrinks at its end; the fixed rows stay within the grid.
  void AppendRow(int height);
  void RemoveLastRow();

  // Clipped to the count - 1, so one column and one row always scroll.
  void SetFixed(int columns, int rows);
  int FixedColumns() const { return fixedColumns_; }
  int FixedRows() const { return fixedRows_; }
  int FixedWidth() const;

  std::int64_t TotalWidth() const;
  std::int64_t TotalHeight() const;

  // The columns (rows) a client area of that width (height) shows when the
  // first scrolled one is `left` (`top`): the fixed ones, then those from there
  // on that begin inside the area.
  std::vector<int> VisibleColumns(int left, int clientWidth) const;
  std::vector<int> VisibleRows(int top, int clientHeight) const;

 private:
  static std::vector<int> Visible(const std::vector<int>& sizes, int fixed, int first, int client);

  std::vector<int> widths_;
  std::vector<int> heights_;
  int fixedColumns_ = 0;
  int fixedRows_ = 0;
};
