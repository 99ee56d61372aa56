#pragma once

#include "markup/cellobj.h"

// One grid cell: the parsed cell and its selection marks.
struct clsSheetCellId {
  cmcCellObj cell;
  bool mayMultiSelect = false;
  bool selected = false;         // multi-selected
  bool selectedByRange = false;  // part of a selected line
};
