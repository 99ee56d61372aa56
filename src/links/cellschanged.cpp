#include "links/cellschanged.h"

#include <cstring>

#include "runtime/evman.h"

void PostCellsChanged(cmcEvMan& events, std::uint32_t code, const CellReference& reference) {
  const std::int32_t words[] = {reference.type, reference.link, reference.parameter};
  events.PostData(code, words, sizeof words);
}

std::optional<CellReference> CellReferenceOf(const Event& event) {
  std::int32_t words[3];
  if (!event.payload || event.payload->size() != sizeof words) return std::nullopt;
  std::memcpy(words, event.payload->data(), sizeof words);
  return CellReference{words[0], words[1], words[2]};
}
