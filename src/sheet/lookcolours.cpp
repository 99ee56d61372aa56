#include "sheet/lookcolours.h"

#include <cstdint>

CellColour LookColours::Blend(int windowParts, int textParts) const {
  const int parts = windowParts + textParts;
  CellColour blended = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int w = static_cast<int>((window >> shift) & 0xFF);
    const int t = static_cast<int>((windowText >> shift) & 0xFF);
    const int channel = (w * windowParts + t * textParts + parts / 2) / parts;
    blended |= static_cast<CellColour>(channel) << shift;
  }
  return blended;
}
