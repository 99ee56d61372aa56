#pragma once

class cuiSheet;
class TextMeasurer;

// The width that fits a column's texts: the widest of the display texts of
// its fixed-row cells that are not joined to the next cell and the linked
// texts of its other rows, plus 8 pixels (scaled), rounded.
int AutoFitWidth(cuiSheet& sheet, int column, const TextMeasurer& measurer);
