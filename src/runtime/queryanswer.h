#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One answer to a query. The answers of a query are chained by `next`, first
// answer first; they stay valid until the next query at the same nesting level.
struct cmcEvAns {
  std::intptr_t value = 0;
  void* object = nullptr;
  std::optional<std::vector<char>> data;
  const cmcEvAns* next = nullptr;

  std::uint32_t DataLength() const { return data ? static_cast<std::uint32_t>(data->size()) : 0; }
};
