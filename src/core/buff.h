#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// A growable byte array that can also be consumed from the front.
class cmcBuff {
 public:
  static constexpr std::uint8_t kFillByte = 0;

  // Sets the length; bytes added are always the fill byte.
  void Resize(std::size_t n);
  void Clear() { Resize(0); }
  void Assign(std::span<const std::uint8_t> bytes);
  void Append(std::span<const std::uint8_t> bytes);
  void Assign(const cmcBuff& other) { Assign(other.Bytes()); }
  void Append(const cmcBuff& other) { Append(other.Bytes()); }
  void PushByte(std::uint8_t b) { bytes_.push_back(b); }
  void AppendFill(std::uint8_t b, std::size_t n) { bytes_.insert(bytes_.end(), n, b); }
  // The first byte (0 to 255), removed; -1 when the buffer is empty.
  int PopFront();
  // Byte i; an index outside the live bytes, negative ones included, is fatal.
  std::uint8_t* At(std::ptrdiff_t i);
  std::uint8_t* Data() { return bytes_.data() + head_; }
  const std::uint8_t* Data() const { return bytes_.data() + head_; }
  std::size_t Length() const { return bytes_.size() - head_; }
  std::span<const std::uint8_t> Bytes() const { return {Data(), Length()}; }
  // Gives back the room of consumed bytes.
  void Compact();

  // The bytes of the hexadecimal digits in text, high nibble first; other
  // characters are skipped, and an odd last digit fills a high nibble.
  static cmcBuff FromHex(std::string_view text);

 private:
  // Consumed bytes are kept until this many have piled up.
  static constexpr std::size_t kCompactAfter = 4096;

  std::vector<std::uint8_t> bytes_;
  std::size_t head_ = 0;  // start of the live bytes
};
