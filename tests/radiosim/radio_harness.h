#pragma once

#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "model/eeprom.h"
#include "model/memorymap.h"
#include "radiosim/simradio.h"

// Bytes written out by hand in the tests; nothing here borrows the radio's own
// frame, record or checksum code.
using Bytes = std::vector<std::uint8_t>;

// "FE FE EE EF": pairs of hexadecimal digits, blanks between them ignored.
inline Bytes Hex(std::string_view text) {
  Bytes bytes;
  std::string digits;
  for (char c : text) {
    if (c == ' ') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) throw std::invalid_argument("not hexadecimal");
    digits += c;
  }
  if (digits.size() % 2 != 0) throw std::invalid_argument("odd digit count");
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// The characters of a text as they travel on the line.
inline Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline std::string Repeat(std::string_view text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

template <typename... Parts>
Bytes Cat(const Parts&... parts) {
  Bytes out;
  (out.insert(out.end(), parts.begin(), parts.end()), ...);
  return out;
}

// Shown on failure as hexadecimal, so a differing byte is easy to spot.
inline std::string Show(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// A radio with a small memory: zero bytes except those a test sets.
inline RadioMemory SmallMemory(std::initializer_list<std::pair<int, std::uint8_t>> bytes = {}) {
  cmcEeprom image(cmcEeprom::kRawSize);
  for (auto [address, value] : bytes) image.SetByte(address, value);
  return RadioMemory(image, 0x3620, 0x0006);
}

// Sets the radio's settings the way a program would have written them: the
// shipped land-mobile image, decoded, given a clone password and comments,
// and encoded again.
inline RadioMemory MemoryWithPassword(const std::string& password, const std::string& comment1 = "") {
  std::variant<RadioMemory, std::string> loaded =
      RadioMemory::Load(std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_LMR.rwc");
  if (!std::holds_alternative<RadioMemory>(loaded)) throw std::runtime_error(std::get<std::string>(loaded));
  const RadioMemory& shipped = std::get<RadioMemory>(loaded);
  cmcEeprom image(cmcEeprom::kImageSize);
  image.WriteBlock(0, shipped.Bytes(0, RadioMemory::kSize).data(), RadioMemory::kSize);
  memmap::Decode(image);
  for (std::size_t i = 0; i < password.size(); ++i) {
    image.SetByte(0xA9CA + static_cast<int>(i), static_cast<std::uint8_t>(password[i]));
  }
  for (std::size_t i = 0; i < comment1.size(); ++i) {
    image.SetByte(0xA9DC + static_cast<int>(i), static_cast<std::uint8_t>(comment1[i]));
  }
  if (!memmap::Encode(image, memmap::ModelTypeFromFlags(image))) throw std::runtime_error("encode failed");
  return RadioMemory(image, 0x3620, 0x0006);
}

inline RadioSettings SettingsWithTop(int top) {
  RadioSettings settings;
  settings.traits.topAddress = top;
  return settings;
}

inline RadioSettings WithFaults(RadioSettings settings, std::initializer_list<std::string_view> faults) {
  for (std::string_view fault : faults) {
    std::string error = settings.faults.Add(fault);
    if (!error.empty()) throw std::invalid_argument(error);
  }
  return settings;
}

// Feeds the radio one byte at a time, as a line would, and collects what it
// sends after each byte.
class Line {
 public:
  explicit Line(SimRadio& radio) : radio_(radio) {}

  Bytes Exchange(const Bytes& in) {
    Bytes out;
    Drain(out);
    for (std::uint8_t byte : in) {
      radio_.Receive(Bytes{byte});
      Drain(out);
    }
    return out;
  }

 private:
  void Drain(Bytes& out) {
    // A read of the whole memory is about 92 KB; more than that means the
    // radio does not stop.
    constexpr std::size_t kLimit = 200'000;
    while (radio_.HasOutput() && out.size() < kLimit) {
      Bytes more = radio_.Send(64);
      out.insert(out.end(), more.begin(), more.end());
    }
  }

  SimRadio& radio_;
};
