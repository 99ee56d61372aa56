#include "sheet/repaint.h"

#include <array>
#include <utility>

#include "runtime/events.h"

std::optional<RepaintCriterion> RepaintCriterionOf(std::uint32_t eventCode) {
  static constexpr std::array<std::pair<std::uint32_t, RepaintCriterion>, 6> kCodes = {{
      {ev::kCellsChangedAll, RepaintCriterion::kAll},
      {ev::kCellsChangedByType, RepaintCriterion::kByType},
      {ev::kCellsChangedByLink, RepaintCriterion::kByLink},
      {ev::kCellsChangedByParameter, RepaintCriterion::kByParameter},
      {ev::kCellsChangedUpToParameter, RepaintCriterion::kUpToParameter},
      {ev::kCellsChangedFromParameter, RepaintCriterion::kFromParameter},
  }};
  for (const auto& [code, criterion] : kCodes) {
    if (code == eventCode) return criterion;
  }
  return std::nullopt;
}

bool NeedsRepaint(RepaintCriterion criterion, const CellReference& reference, const cmcCellObj& cell) {
  const bool linked = cell.link != kNoCellLink;
  switch (criterion) {
  case RepaintCriterion::kAll: return linked;
  case RepaintCriterion::kByType: return cell.type == reference.type;
  case RepaintCriterion::kByLink: return cell.link == reference.link;
  case RepaintCriterion::kByParameter: return linked && cell.parameter == reference.parameter;
  case RepaintCriterion::kUpToParameter: return linked && cell.parameter <= reference.parameter;
  case RepaintCriterion::kFromParameter: return linked && cell.parameter >= reference.parameter;
  }
  return false;
}
