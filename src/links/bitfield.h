#pragma once

#include <cstdint>

#include "model/eeprom.h"

// A run of bits inside 1 to 4 big-endian bytes of the image. Writes keep every
// other bit of the bytes they touch; a field that leaves the image reads 0 and
// ignores writes.
struct BitField {
  int address = 0;
  int bytes = 1;  // 1 to 4
  int shift = 0;  // of the lowest bit of the field, counted in the big-endian value
  int width = 8;  // bits

  std::uint32_t Mask() const { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u; }
  std::uint32_t Get(const cmcEeprom& image) const;
  void Set(cmcEeprom& image, std::uint32_t value) const;
};
