#pragma once

#include <string>

// What a sheet asks of the window that shows it (the grid in the desktop
// program, a recording double in tests). A sheet without a view draws nothing.
class SheetView {
 public:
  struct Size {
    int width = 0;
    int height = 0;
  };

  virtual ~SheetView() = default;
  // The cell is drawn again at the next paint.
  virtual void InvalidateCell(int column, int row) = 0;
  virtual void InvalidateAll() = 0;
  // The first non-fixed column and row shown.
  virtual void ScrollTo(int leftColumn, int topRow) = 0;
  // In-cell editing of the cell begins with the text, the caret and a selection after it.
  virtual void OpenEditor(int column, int row, const std::string& text, int caret, int selectionLength) = 0;
  // The grid's client area in pixels; 0 before it is laid out.
  virtual Size ClientSize() const = 0;
  // The sheet's title text or colour changed.
  virtual void TitleChanged() {}
};
