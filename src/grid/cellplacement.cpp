#include "grid/cellplacement.h"

QPoint PlaceAtCell(const QRect& cell, const QSize& window, const QRect& workArea) {
  constexpr int kIndent = 8;
  const int workBottom = workArea.y() + workArea.height();
  const int workRight = workArea.x() + workArea.width();
  int top = cell.y() + cell.height();
  bool againstBottom = false;
  if (top + window.height() > workBottom) {
    if (cell.y() - window.height() >= workArea.y()) {
      top = cell.y() - window.height();
    } else {
      top = workBottom - window.height();
      againstBottom = true;
    }
  }
  int left = cell.x() + kIndent;
  if (left + window.width() > workRight) {
    left = workRight - window.width();
    if (againstBottom && cell.x() - window.width() >= workArea.x()) left = cell.x() - window.width();
  }
  return {left, top};
}
