#pragma once

#include <string>
#include <vector>

#include "model/modeltype.h"

class CellLinks;
class cmcGTex;

// The names of the tree nodes to mark: the node whose sheet reference (or
// caption) is a check cell's text carries that cell's warning or error mark.
struct WarningMarks {
  std::vector<std::string> warnings;
  std::vector<std::string> errors;
  bool operator==(const WarningMarks&) const = default;
};

// Evaluates every check cell of GI_WarningCheckList, then the channel check of
// each bank's sheet, and collects the names of the cells that report a
// warning or an error. A check cell is named by its display text, or by its
// argument (a sheet reference) when it has none. Never fails: a list that is
// empty or missing yields no marks.
WarningMarks RunWarningCheck(cmcGTex& overlay, CellLinks& links, ModelType modelType);

// The check cell of bank `bank`'s channel sheet for the model type.
std::string BankCheckCell(ModelType modelType, int bank);
