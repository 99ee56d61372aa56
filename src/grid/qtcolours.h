#pragma once

#include <QColor>
#include <QPalette>

#include "markup/colours.h"
#include "sheet/lookcolours.h"

// The one place where a stored colour becomes a Qt colour: 0x00BBGGRR values
// directly, the system colours through the palette roles they stand for.
QColor ToQColor(CellColour colour, const QPalette& palette);

// The window and window-text colours of the palette, for the derived colours.
LookColours LookColoursOf(const QPalette& palette);
