#include "runtime/event.h"

#include <algorithm>

std::string_view Event::Text() const {
  if (!payload) return {};
  const auto end = std::find(payload->begin(), payload->end(), '\0');
  return std::string_view(payload->data(), static_cast<std::size_t>(end - payload->begin()));
}
