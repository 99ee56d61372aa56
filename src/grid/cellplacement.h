#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window opened from a cell goes (screen coordinates): just below the
// cell, 8 pixels in from its left; above it when it would pass the bottom of
// the work area and fits there, else against that bottom; against the right
// of the work area when it would pass it, or, when it had to sit against the
// bottom and fits left of the cell, ending at the cell's left.
QPoint PlaceAtCell(const QRect& cell, const QSize& window, const QRect& workArea);
