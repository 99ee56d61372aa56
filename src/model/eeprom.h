#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The program's copy of the radio's configuration memory: the raw area that the
// radio, the clone protocol and clone files carry, followed by the work area in
// which decode gives every block a fixed place.
class cmcEeprom {
 public:
  static constexpr int kImageSize = 0xC187;
  static constexpr int kRawSize = 0x7D80;  // raw area 0x0000-0x7D7F

  cmcEeprom() = default;
  explicit cmcEeprom(int size) { Resize(size); }

  // Reallocates when the size changes; always leaves every byte 0.
  void Resize(int size);
  int Size() const { return static_cast<int>(bytes_.size()); }
  bool IsValidAddress(long long address) const { return address >= 0 && address < Size(); }
  // True when [address, address + length) lies wholly inside the image.
  bool IsValidRange(long long address, long long length) const {
    return address >= 0 && length >= 0 && address + length <= Size();
  }
  void Fill(std::uint8_t value);

  // Out-of-image access is an internal consistency stop: callers check first.
  void SetByte(int address, std::uint8_t value);
  std::uint8_t GetByte(int address) const;

  // Do nothing unless the whole span lies inside the image and length > 0.
  void WriteBlock(int address, const std::uint8_t* source, int length);
  void ReadBlock(int address, std::uint8_t* destination, int length) const;

  // Big-endian words, bounds-checked like SetByte/GetByte.
  std::uint16_t GetWord(int address) const;
  void SetWord(int address, std::uint16_t value);

  std::uint8_t* Data() { return bytes_.data(); }
  const std::uint8_t* Data() const { return bytes_.data(); }
  std::span<std::uint8_t> Bytes() { return bytes_; }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

  friend bool operator==(const cmcEeprom&, const cmcEeprom&) = default;

 private:
  std::vector<std::uint8_t> bytes_;
};
