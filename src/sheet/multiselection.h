#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "sheet/cellposition.h"
#include "sheet/sheetcell.h"
#include "sheet/sheetstyle.h"

// The cells a sheet has multi-selected: the rectangle between an anchor and
// the current cell, and in line mode the whole rows that hold one of them.
class MultiSelection {
 public:
  // The grid's cell, null outside it.
  using Cells = std::function<clsSheetCellId*(int column, int row)>;
  struct Extent {
    int columns = 0;
    int rows = 0;
    int firstLineColumn = 0;  // where a selected line begins (the first non-fixed column)
  };

  explicit MultiSelection(Cells cells) : cells_(std::move(cells)) {}
  // A new grid: nothing selected, no anchor.
  void Reset(SheetStyle::MultiSelect mode, Extent extent);
  // The grid grew or shrank at its end: the marks stay, an anchor outside is dropped.
  void Resize(Extent extent);

  bool Enabled() const { return mode_ != SheetStyle::MultiSelect::kNone; }
  bool Active() const { return active_; }
  std::optional<CellPosition> Anchor() const { return anchor_; }
  // While a selection is active only cells that may be multi-selected may become current.
  bool MayBecomeCurrent(CellPosition cell) const;

  // The current cell moved. Extending (Shift or a mouse drag) selects the
  // rectangle from the anchor when both cells may be multi-selected; any
  // other move clears the selection and anchors at the new cell.
  void CurrentMoved(CellPosition from, CellPosition to, bool extend);
  void Clear();
  // Every cell with the link whose parameter lies in [low, high], as a link asks.
  void SelectRange(int link, std::int32_t low, std::int32_t high);
  // The lowest and highest parameter between the anchor and `current`.
  std::optional<std::pair<std::int32_t, std::int32_t>> ParameterSpan(CellPosition current) const;

 private:
  bool MayMultiSelect(CellPosition cell) const;
  void Unmark();
  void MarkLines();

  SheetStyle::MultiSelect mode_ = SheetStyle::MultiSelect::kNone;
  Extent extent_;
  Cells cells_;
  std::optional<CellPosition> anchor_;
  bool active_ = false;
};
