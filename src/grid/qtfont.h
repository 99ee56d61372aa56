#pragma once

#include <QFont>

#include "markup/font.h"

// A cell's font as a Qt font, starting from `base` for what the cell leaves
// open: an empty face keeps the base family, a size in points wins over a
// height in pixels, and neither keeps the base size.
QFont ToQFont(const Font& font, const QFont& base);
