#include "markup/font.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>
#include <vector>

#include "core/decimal.h"

namespace {

constexpr std::array<std::pair<std::string_view, int>, 19> kCharsets = {{
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},    {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128},    {"HANGEUL_CHARSET", 129},    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},      {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},     {"BALTIC_CHARSET", 186},  {"RUSSIAN_CHARSET", 204},
    {"THAI_CHARSET", 222},        {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
}};

constexpr std::array<std::pair<std::string_view, std::uint8_t>, 4> kStyles = {{
    {"fsBold", Font::fsBold},
    {"fsItalic", Font::fsItalic},
    {"fsUnderline", Font::fsUnderline},
    {"fsStrikeOut", Font::fsStrikeOut},
}};

constexpr std::array<std::pair<std::string_view, Font::Pitch>, 3> kPitches = {{
    {"fpDefault", Font::fpDefault},
    {"fpFixed", Font::fpFixed},
    {"fpVariable", Font::fpVariable},
}};

template <typename Table>
const typename Table::value_type* Lookup(const Table& table, std::string_view name) {
  for (const auto& entry : table) {
    if (entry.first == name) return &entry;
  }
  return nullptr;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t at = text.find(separator);
    fields.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return fields;
    text.remove_prefix(at + 1);
  }
}

// A height or size: a number, or "%p" for p percent of the current value. 0
// leaves it unchanged; a percentage never shrinks it to 0.
void ApplyMeasure(std::string_view field, int& value) {
  field = TrimBlanks(field);
  if (!field.empty() && field.front() == '%') {
    const std::int64_t scaled = static_cast<std::int64_t>(value) * SaturatingDecimal(field.substr(1)) / 100;
    const auto result = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        scaled, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    value = result == 0 ? 1 : result;
    return;
  }
  const std::int32_t number = SaturatingDecimal(field);
  if (number != 0) value = number;
}

void ApplyStyles(std::string_view field, std::uint8_t& styles) {
  bool first = true;
  for (std::string_view name : SplitAt(field, '+')) {
    const auto* style = Lookup(kStyles, TrimBlanks(name));
    if (!style) continue;
    if (first) styles = 0;
    first = false;
    styles |= style->second;
  }
}

}  // namespace

void ParseFont(std::string_view spec, Font& font) {
  const std::vector<std::string_view> fields = SplitAt(spec, ',');
  const auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string_view{}; };
  if (const auto* charset = Lookup(kCharsets, TrimBlanks(field(0)))) font.charset = charset->second;
  if (std::string_view face = field(1); !face.empty()) {
    const std::size_t start = face.find_first_not_of(" \t");
    if (start != std::string_view::npos) font.face = face.substr(start);
  }
  if (!field(2).empty()) ParseColour(field(2), font.colour);
  if (!field(3).empty()) ApplyMeasure(field(3), font.height);
  if (!field(4).empty()) ApplyMeasure(field(4), font.size);
  if (!field(5).empty()) ApplyStyles(field(5), font.styles);
  if (const auto* pitch = Lookup(kPitches, TrimBlanks(field(6)))) font.pitch = pitch->second;
}
