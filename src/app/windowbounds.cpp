#include "app/windowbounds.h"

namespace {
constexpr int kReachable = 16;
}

QRect FitToWorkArea(QRect bounds, const QRect& workArea) {
  bounds.setSize(bounds.size().boundedTo(workArea.size()));
  // Edges as the work area reports them: right and bottom are exclusive.
  const int areaRight = workArea.x() + workArea.width();
  const int areaBottom = workArea.y() + workArea.height();
  if (areaRight - kReachable < bounds.x()) bounds.moveLeft(areaRight - kReachable);
  if (areaBottom - kReachable < bounds.y()) bounds.moveTop(areaBottom - kReachable);
  if (bounds.x() + bounds.width() < workArea.x() + kReachable)
    bounds.moveLeft(workArea.x() - bounds.width() + kReachable);
  if (bounds.y() < workArea.y()) bounds.moveTop(workArea.y());
  return bounds;
}
