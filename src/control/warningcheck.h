#pragma once

#include <string>
#include <vector>

#include "links/linktable.h"
#include "model/modeltype.h"

class CellLinks;
class cmcGTex;
class Document;

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

// The same check on a document without a window: the evaluator over its
// edit image, opening no editor. Every write path asks it: a clone write is
// refused (GI_Mess_DataError) while it finds an error.
WarningMarks CheckDocument(Document& document, cmcGTex& overlay, const LinkTable& table = LinkTable::Instance());

// The check cell of bank `bank`'s channel sheet for the model type.
std::string BankCheckCell(ModelType modelType, int bank);
