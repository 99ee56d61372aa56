#pragma once

#include <string>
#include <vector>

#include "markup/overlaychecker.h"
#include "model/modeltype.h"
#include "sheet/sheetref.h"

class cmcGTex;

// Builds every sheet a main overlay names, on each model type's initial image,
// and reports each that does not build or names no sheet: the sheets the
// program asks for by name, those the CallSheet cells of its trees, menus and
// sheets open, the tree's bank nodes and the channel sheet of every bank.
// Every cell of a sheet that builds is evaluated as the grid would show it.
// Meant for an overlay that passed the overlay checker: a missing block the
// program asks for elsewhere stays the fatal stop.
class SheetChecker {
 public:
  std::vector<OverlayProblem> Check(const OverlayFile& file) const;

  // The references the overlay names for a model type, each once, in a fixed order.
  static std::vector<SheetRef> NamedSheets(const OverlayFile& file, cmcGTex& overlay, ModelType type);
};
