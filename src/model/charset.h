#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The radio's character set: which code stands for which character on its
// display. The table is data (charset.txt in the data folder): one line per
// code, the code in hexadecimal, a TAB and the character as UTF-8, or "U+"
// and its Unicode number for one that is hard to write (the space), and
// optionally a TAB and its glyph: the lit segments of the display as a 16-bit
// pattern in hexadecimal (none: a blank glyph).
class Charset {
 public:
  // What a code the table does not hold shows as: the Unicode replacement
  // character, which no radio code stands for, so such a text never encodes.
  static constexpr std::string_view kUnknownCharacter = "\xEF\xBF\xBD";
  static constexpr std::string_view kFileName = "charset.txt";

  // Reads a table. On a fault, nothing, and `why` says where and what.
  static std::optional<Charset> Parse(std::string_view table, std::string& why);
  static std::optional<Charset> Load(const std::string& path, std::string& why);
  // The table of the data folder; a missing or broken one is a configuration fault.
  static Charset LoadShipped();

  std::optional<std::string_view> DisplayOf(std::uint8_t code) const;
  std::optional<std::uint8_t> CodeOf(std::string_view character) const;
  // The code a typed key gives: "." passes the radio's code A0 (where the
  // table holds it), any other key the code of its character.
  static constexpr std::uint8_t kDotKeyCode = 0xA0;
  std::optional<std::uint8_t> CodeOfKey(char key) const;
  // The codes of a text without padding; nothing when the table lacks a character.
  std::optional<std::vector<std::uint8_t>> Codes(std::string_view text) const;
  std::uint8_t SpaceCode() const { return spaceCode_; }
  // The segments the display lights for a code; 0 for one the table lacks.
  std::uint16_t PatternOf(std::uint8_t code) const { return patterns_[code]; }
  std::vector<std::uint16_t> Patterns(std::span<const std::uint8_t> bytes) const;

  // The display text of a field's bytes, code by code; unknown codes show kUnknownCharacter.
  std::string Decode(std::span<const std::uint8_t> bytes) const;
  // The same with `unknown` for a code the table does not hold.
  std::string Decode(std::span<const std::uint8_t> bytes, std::string_view unknown) const;

  struct Encoded {
    std::vector<std::uint8_t> bytes;       // the field, padded with the space code; empty on a fault
    std::optional<std::size_t> unknownAt;  // byte offset in the text of a character the table lacks
    bool tooLong = false;                  // more characters than the field holds
    bool Ok() const { return !unknownAt && !tooLong; }
  };
  // A text as a field of `width` codes, padded with spaces. A text with a
  // character the table lacks, or longer than the field, gives no bytes.
  Encoded Encode(std::string_view text, std::size_t width) const;

 private:
  Charset() = default;
  std::vector<std::uint8_t> CodesOf(std::string_view text, std::optional<std::size_t>& unknownAt) const;

  std::array<std::optional<std::string>, 256> display_;
  std::array<std::uint16_t, 256> patterns_{};
  std::map<std::string, std::uint8_t, std::less<>> codes_;
  std::uint8_t spaceCode_ = 0;
};
