#include "sheet/sheetgeometry.h"

#include <algorithm>
#include <numeric>

namespace {

bool Inside(const std::vector<int>& sizes, int index) { return index >= 0 && index < static_cast<int>(sizes.size()); }

}  // namespace

void SheetGeometry::Reset(int columns, int rows, int defaultWidth, int defaultHeight) {
  widths_.assign(static_cast<std::size_t>(std::max(columns, 0)), std::max(defaultWidth, 0));
  heights_.assign(static_cast<std::size_t>(std::max(rows, 0)), std::max(defaultHeight, 0));
  fixedColumns_ = fixedRows_ = 0;
}

int SheetGeometry::ColumnWidth(int column) const { return Inside(widths_, column) ? widths_[column] : 0; }

void SheetGeometry::SetColumnWidth(int column, int width) {
  if (Inside(widths_, column)) widths_[column] = std::max(width, 0);
}

void SheetGeometry::WidenColumn(int column, int width) {
  if (width > ColumnWidth(column)) SetColumnWidth(column, width);
}

int SheetGeometry::RowHeight(int row) const { return Inside(heights_, row) ? heights_[row] : 0; }

void SheetGeometry::SetRowHeight(int row, int height) {
  if (Inside(heights_, row)) heights_[row] = std::max(height, 0);
}

void SheetGeometry::HeightenRow(int row, int height) {
  if (height > RowHeight(row)) SetRowHeight(row, height);
}

void SheetGeometry::AppendRow(int height) { heights_.push_back(std::max(height, 0)); }

void SheetGeometry::RemoveLastRow() {
  if (heights_.empty()) return;
  heights_.pop_back();
  fixedRows_ = std::clamp(fixedRows_, 0, std::max(Rows() - 1, 0));
}

void SheetGeometry::SetFixed(int columns, int rows) {
  fixedColumns_ = std::clamp(columns, 0, std::max(Columns() - 1, 0));
  fixedRows_ = std::clamp(rows, 0, std::max(Rows() - 1, 0));
}

int SheetGeometry::FixedWidth() const { return std::accumulate(widths_.begin(), widths_.begin() + fixedColumns_, 0); }

std::int64_t SheetGeometry::TotalWidth() const {
  return std::accumulate(widths_.begin(), widths_.end(), std::int64_t{0});
}

std::int64_t SheetGeometry::TotalHeight() const {
  return std::accumulate(heights_.begin(), heights_.end(), std::int64_t{0});
}

std::vector<int> SheetGeometry::VisibleColumns(int left, int clientWidth) const {
  return Visible(widths_, fixedColumns_, left, clientWidth);
}

std::vector<int> SheetGeometry::VisibleRows(int top, int clientHeight) const {
  return Visible(heights_, fixedRows_, top, clientHeight);
}

std::vector<int> SheetGeometry::Visible(const std::vector<int>& sizes, int fixed, int first, int client) {
  std::vector<int> shown;
  std::int64_t used = 0;
  const int count = static_cast<int>(sizes.size());
  for (int i = 0; i < fixed && used < client; ++i) {
    shown.push_back(i);
    used += sizes[i];
  }
  for (int i = std::max(first, fixed); i < count && used < client; ++i) {
    shown.push_back(i);
    used += sizes[i];
  }
  return shown;
}
