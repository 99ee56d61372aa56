#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Small helpers over bytes and text shared by the engine.

// A code from space to tilde.
constexpr bool IsPrintable(int c) { return c >= 0x20 && c <= 0x7E; }

// first <= value <= last.
template <typename T>
constexpr bool InRange(const T& value, const T& first, const T& last) {
  return !(value < first) && !(last < value);
}

// Nibble i lives in byte i / 2: the high nibble for even i, the low one for odd i.
// Nothing (or false) when the nibble lies outside the bytes.
std::optional<std::uint8_t> GetNibble(std::span<const std::uint8_t> bytes, std::size_t i);
bool SetNibble(std::span<std::uint8_t> bytes, std::size_t i, std::uint8_t value);

// 0-9, a-f, A-F; nothing for any other character.
std::optional<std::uint8_t> HexDigitValue(char c);
// The number that 1 to 8 hexadecimal digits write; nothing for an empty or longer
// text or one with another character.
std::optional<std::uint32_t> HexNumber(std::string_view digits);

// Two upper-case digits per byte.
std::string BytesToHex(std::span<const std::uint8_t> bytes);
// Each pair of characters as one byte; nothing for an odd length or a character
// that is no hexadecimal digit.
std::optional<std::vector<std::uint8_t>> HexToBytes(std::string_view text);
