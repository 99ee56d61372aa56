#pragma once

#include <QRect>

// Keeps at least 16 pixels of a stored window reachable inside the work area.
// The position moves; the size stays as stored unless it exceeds the work area,
// which only damaged settings can ask for.
QRect FitToWorkArea(QRect bounds, const QRect& workArea);
