#pragma once

// A rectangle of the grid in pixels; right and bottom are its last pixels.
struct CellRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool operator==(const CellRect&) const = default;
};
