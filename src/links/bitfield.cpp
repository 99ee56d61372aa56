#include "links/bitfield.h"

namespace {

bool Fits(const cmcEeprom& image, const BitField& field) {
  return field.bytes >= 1 && field.bytes <= 4 && image.IsValidRange(field.address, field.bytes);
}

std::uint32_t ReadWhole(const cmcEeprom& image, const BitField& field) {
  std::uint32_t value = 0;
  for (int i = 0; i < field.bytes; ++i) value = (value << 8) | image.GetByte(field.address + i);
  return value;
}

}  // namespace

std::uint32_t BitField::Get(const cmcEeprom& image) const {
  if (!Fits(image, *this)) return 0;
  return (ReadWhole(image, *this) >> shift) & Mask();
}

void BitField::Set(cmcEeprom& image, std::uint32_t value) const {
  if (!Fits(image, *this)) return;
  std::uint32_t mask = Mask() << shift;
  std::uint32_t whole = (ReadWhole(image, *this) & ~mask) | ((value << shift) & mask);
  for (int i = bytes - 1; i >= 0; --i) {
    image.SetByte(address + i, static_cast<std::uint8_t>(whole & 0xFF));
    whole >>= 8;
  }
}
