#pragma once

#include <cstdint>
#include <optional>

#include "runtime/event.h"

class cmcEvMan;

// The reference cell of a cells-changed event (codes 15 to 19): the sheets
// repaint their visible cells that match it by the event's criterion.
struct CellReference {
  int type = 0;
  int link = 0;
  std::int32_t parameter = 0;

  bool operator==(const CellReference&) const = default;
};

// Posts a cells-changed event. The reference travels by value, so it stays
// valid whatever becomes of the changed cell before the pump delivers it.
void PostCellsChanged(cmcEvMan& events, std::uint32_t code, const CellReference& reference);

// The reference an event carries; none when it carries none, or one of another size.
std::optional<CellReference> CellReferenceOf(const Event& event);
