#include "core/textutil.h"

std::optional<std::uint8_t> GetNibble(std::span<const std::uint8_t> bytes, std::size_t i) {
  if (i / 2 >= bytes.size()) return std::nullopt;
  const std::uint8_t byte = bytes[i / 2];
  return static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F);
}

bool SetNibble(std::span<std::uint8_t> bytes, std::size_t i, std::uint8_t value) {
  if (i / 2 >= bytes.size()) return false;
  std::uint8_t& byte = bytes[i / 2];
  value &= 0x0F;
  byte = static_cast<std::uint8_t>(i % 2 == 0 ? (byte & 0x0F) | (value << 4) : (byte & 0xF0) | value);
  return true;
}

std::optional<std::uint8_t> HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

std::optional<std::uint32_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    std::optional<std::uint8_t> digit = HexDigitValue(c);
    if (!digit) return std::nullopt;
    value = value << 4 | *digit;
  }
  return value;
}

std::string BytesToHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> HexToBytes(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::optional<std::uint8_t> high = HexDigitValue(text[i]);
    std::optional<std::uint8_t> low = HexDigitValue(text[i + 1]);
    if (!high || !low) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
  }
  return bytes;
}
