#pragma once

#include <span>
#include <vector>

#include "clone/cloneresult.h"
#include "core/buff.h"
#include "model/memorymap.h"

// Which addresses a read received: bit (address mod 8) of byte (address / 8)
// of a byte buffer that grows as far as the highest address received, and its
// comparison with the ranges that were asked for.
namespace receivedmap {

using Ranges = std::vector<memmap::AddressRange>;

// The ranges of a caller's list, which ends at its last entry or at the first
// entry whose end is below its start.
Ranges ActiveRanges(std::span<const memmap::AddressRange> list);

// Marks [address, address + length); negative addresses are ignored.
void Mark(cmcBuff& map, int address, int length);
bool IsMarked(const cmcBuff& map, long long address);

// kSuccess when exactly the addresses of the ranges were received,
// kAddressOutside when one outside them was, else kAddressesMissing.
CloneCode Coverage(const cmcBuff& map, const Ranges& ranges);

}  // namespace receivedmap
