#include "core/decimal.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

std::int32_t Clamp(std::int64_t value) { return static_cast<std::int32_t>(std::clamp(value, kMin, kMax)); }

}  // namespace

std::int32_t SaturatingDecimal(std::string_view text, std::size_t* used) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  const std::size_t digitsStart = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    // Past the 32-bit range the value only needs to stay beyond it.
    if (magnitude <= kMax + 1) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (used) *used = i == digitsStart ? 0 : i;
  return Clamp(negative ? -magnitude : magnitude);
}

std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b) {
  return Clamp(static_cast<std::int64_t>(a) + static_cast<std::int64_t>(b));
}
