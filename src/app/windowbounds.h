#pragma once

#include <QRect>

// Keeps at least 16 pixels of a stored window reachable inside the work area.
// Only the position moves; the size stays as stored.
QRect FitToWorkArea(QRect bounds, const QRect& workArea);
