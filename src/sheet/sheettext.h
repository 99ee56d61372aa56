#pragma once

#include <string>
#include <vector>

class cuiSheet;

// The texts of a built sheet's row as the grid shows them, fixed cells
// included: each cell's text, evaluated now, and an empty text for a cell
// joined into its left neighbour (whose text runs over it).
std::vector<std::string> RowTexts(cuiSheet& sheet, int row);
