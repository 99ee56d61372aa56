#pragma once

#include <cstdint>
#include <optional>

#include "links/cellschanged.h"
#include "markup/cellobj.h"

// Which cells a cells-changed event asks a sheet to repaint.
enum class RepaintCriterion {
  kAll,            // every cell with a link
  kByType,         // cells of the reference cell type
  kByLink,         // cells with the reference link
  kByParameter,    // linked cells whose parameter equals the reference's
  kUpToParameter,  // linked cells whose parameter is at most the reference's
  kFromParameter,  // linked cells whose parameter is at least the reference's
};

// The criterion of a cells-changed event code; none for another code.
std::optional<RepaintCriterion> RepaintCriterionOf(std::uint32_t eventCode);

bool NeedsRepaint(RepaintCriterion criterion, const CellReference& reference, const cmcCellObj& cell);
