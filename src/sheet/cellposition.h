#pragma once

// A cell of a sheet's grid by column and row; -1 is no cell.
struct CellPosition {
  int column = -1;
  int row = -1;
  bool operator==(const CellPosition&) const = default;
};
