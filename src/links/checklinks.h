#pragma once

#include <cstdint>
#include <span>

#include "markup/ids.h"

class LinkTable;

// The check links of the warning check: each sums the warning and error marks
// of the rows of the sheet it stands for. The rows drop their marks where the
// image's model type does not store their field (DropMarkUnlessStored), so a
// check reads nothing there. An error refuses every clone write.

// One row of a checked sheet: its link over the parameters first to last.
struct CheckedRow {
  int link;
  std::int32_t first = 0;
  std::int32_t last = 0;
  int type = ct::CT_Null;
};

enum class CheckLevel {
  kAsMarked,  // the rows' warnings stay warnings, their errors errors
  kError,     // any mark of the rows is an error
};

// A check cell is "{(%CL_Check_...:REF)}" without text, REF the sheet
// reference of the tree node it marks; the link sets no display text, so the
// warning check names the node by REF.
struct CheckLinkRow {
  int link;
  std::span<const CheckedRow> rows;
  CheckLevel level = CheckLevel::kAsMarked;
};

void AddCheckLinks(LinkTable& table, std::span<const CheckLinkRow> checks);
