#include "clone/receivedmap.h"

#include <algorithm>

namespace receivedmap {

namespace {

bool InAnyRange(long long address, const Ranges& ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [address](const memmap::AddressRange& r) { return address >= r.first && address <= r.second; });
}

}  // namespace

Ranges ActiveRanges(std::span<const memmap::AddressRange> list) {
  const auto end =
      std::find_if(list.begin(), list.end(), [](const memmap::AddressRange& r) { return r.second < r.first; });
  return Ranges(list.begin(), end);
}

void Mark(cmcBuff& map, int address, int length) {
  if (address < 0 || length <= 0) return;
  const std::size_t needed = (static_cast<std::size_t>(address) + static_cast<std::size_t>(length) + 7) / 8;
  if (map.Length() < needed) map.Resize(needed);
  for (int a = address; a < address + length; ++a) {
    *map.At(a / 8) |= static_cast<std::uint8_t>(1u << (a % 8));
  }
}

bool IsMarked(const cmcBuff& map, long long address) {
  if (address < 0 || static_cast<unsigned long long>(address / 8) >= map.Length()) return false;
  return (map.Data()[address / 8] >> (address % 8) & 1) != 0;
}

CloneCode Coverage(const cmcBuff& map, const Ranges& ranges) {
  const long long mapBits = static_cast<long long>(map.Length()) * 8;
  for (long long address = 0; address < mapBits; ++address) {
    if (IsMarked(map, address) && !InAnyRange(address, ranges)) return CloneCode::kAddressOutside;
  }
  for (const memmap::AddressRange& range : ranges) {
    // Stops at the first gap; an address past the map was never received.
    for (long long address = range.first; address <= range.second; ++address) {
      if (!IsMarked(map, address)) return CloneCode::kAddressesMissing;
    }
  }
  return CloneCode::kSuccess;
}

}  // namespace receivedmap
