#pragma once

#include <QPalette>
#include <QRect>

#include "sheet/celllook.h"

class QPainter;
class QtTextMeasurer;

// Draws one cell from its computed look: the screen, the printer and the
// preview all draw with this, so a cell looks the same on each. `clip` is the
// part of the target the cell may draw on (fixed cells stay uncovered).
void PaintCell(QPainter& painter, const CellLook& look, const QRect& clip, const QPalette& palette,
               const QtTextMeasurer& fonts);

// The cell's rectangle as a Qt rectangle (right and bottom are its last pixels).
QRect ToQRect(const CellRect& rect);
