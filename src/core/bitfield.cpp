#include "core/bitfield.h"

namespace {

constexpr std::size_t kLongest = 4;

bool Fits(std::size_t size, const BitField& field) {
  return field.bytes >= 1 && static_cast<std::size_t>(field.bytes) <= kLongest && field.address >= 0 &&
         static_cast<std::size_t>(field.address) + static_cast<std::size_t>(field.bytes) <= size;
}

}  // namespace

std::uint32_t ReadBigEndian(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > kLongest) return 0;
  std::uint32_t value = 0;
  for (std::uint8_t byte : bytes) value = (value << 8) | byte;
  return value;
}

void WriteBigEndian(std::span<std::uint8_t> bytes, std::uint32_t value) {
  if (bytes.empty() || bytes.size() > kLongest) return;
  for (auto byte = bytes.rbegin(); byte != bytes.rend(); ++byte, value >>= 8) {
    *byte = static_cast<std::uint8_t>(value & 0xFF);
  }
}

std::uint32_t BitField::Get(std::span<const std::uint8_t> array) const {
  if (!Fits(array.size(), *this)) return 0;
  return (ReadBigEndian(array.subspan(static_cast<std::size_t>(address), static_cast<std::size_t>(bytes))) >> shift) &
         Mask();
}

void BitField::Set(std::span<std::uint8_t> array, std::uint32_t value) const {
  if (!Fits(array.size(), *this)) return;
  const std::span<std::uint8_t> run = array.subspan(static_cast<std::size_t>(address), static_cast<std::size_t>(bytes));
  const std::uint32_t mask = Mask() << shift;
  WriteBigEndian(run, (ReadBigEndian(run) & ~mask) | ((value << shift) & mask));
}
