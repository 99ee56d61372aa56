#pragma once

#include <cstdint>
#include <span>

// Big-endian numbers of 1 to 4 bytes: the one reader and writer of the image's
// multi-byte values. Nothing is read or written for a span of another length.
std::uint32_t ReadBigEndian(std::span<const std::uint8_t> bytes);
void WriteBigEndian(std::span<std::uint8_t> bytes, std::uint32_t value);

// A run of bits inside 1 to 4 big-endian bytes at `address` of a byte array
// (the whole image, or one record). Writes keep every other bit of the bytes
// they touch; a field that leaves the array reads 0 and ignores writes.
struct BitField {
  int address = 0;
  int bytes = 1;  // 1 to 4
  int shift = 0;  // of the lowest bit of the field, counted in the big-endian value
  int width = 8;  // bits

  std::uint32_t Mask() const { return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u; }
  std::uint32_t Get(std::span<const std::uint8_t> array) const;
  void Set(std::span<std::uint8_t> array, std::uint32_t value) const;
};
