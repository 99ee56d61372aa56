#pragma once

#include <string>
#include <vector>

#include "model/modeltype.h"

class cmcGTex;
class LinkTable;

// The save-and-reopen check of a sheet: every editable cell is changed once
// (space; where space begins in-cell editing, the first of the texts that
// changes the cell), the document is saved
// and opened again, and every cell must read as it did before the save. A
// field the encode leaves out (a block the model type does not store, the
// scratch area) or places wrongly shows here.
struct SheetRoundTrip {
  cmcGTex& overlay;  // the main overlay: the sheet, its lists and the initial files' names
  const LinkTable& links;
  ModelType modelType;
  std::vector<std::string> texts = {"12"};  // tried in turn where space begins in-cell editing
};

struct SheetRoundTripResult {
  int changed = 0;                     // editable cells a key or a text changed
  std::vector<std::string> unchanged;  // editable cells that neither changed: "row R column C"
  std::vector<std::string> lost;       // "row R column C: 'before' reopened as 'after'"
};

// Runs the check on the sheet `sheetRef` over the initial file of the model
// type; the saved file goes to `folder`. The data folder must be set
// (RWQ_DATA_DIR) so that the initial file is found.
SheetRoundTripResult ChangeSaveAndReopen(const SheetRoundTrip& setup, const std::string& sheetRef,
                                         const std::string& folder);
