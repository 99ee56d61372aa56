#include "control/channelrecordcolumns.h"

#include <cstdio>

#include "model/chlayout.h"

namespace {

constexpr std::string_view kListsName = "lists";
constexpr std::string_view kToneNames[] = {"ctoneR", "ctoneT"};
constexpr int kToneOffsets[] = {chlayout::kOptionToneR, chlayout::kOptionToneT};

std::string Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

// A whole number of at most `bits` bits, decimal or with a 0x prefix.
bool ReadNumber(std::string_view text, int bits, long& value) {
  std::string trimmed = Trimmed(text);
  int base = 10;
  std::size_t start = 0;
  if (trimmed.size() > 2 && trimmed[0] == '0' && (trimmed[1] == 'x' || trimmed[1] == 'X')) {
    base = 16;
    start = 2;
  }
  if (trimmed.size() == start || trimmed.size() - start > 10) return false;
  value = 0;
  for (std::size_t i = start; i < trimmed.size(); ++i) {
    char c = trimmed[i];
    int digit = c >= '0' && c <= '9'                 ? c - '0'
                : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
    if (digit < 0) return false;
    value = value * base + digit;
  }
  return value < (1L << bits);
}

std::string Hex(long value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*lX", digits, value);
  return text;
}

}  // namespace

ChannelRecordColumns::ChannelRecordColumns(ModelType modelType) {
  const unsigned kind = chlayout::Kind(datCh::KindOf(modelType));
  for (const chlayout::FieldPlace& field : chlayout::FieldTable()) {
    if (!(field.kinds & kind)) continue;
    columns_.push_back({&field, -1});
    names_.push_back(std::string(kPrefix) + std::string(field.name));
  }
  columns_.push_back({});
  names_.push_back(std::string(kPrefix) + std::string(kListsName));
  for (std::size_t side = 0; side < std::size(kToneNames); ++side) {
    columns_.push_back({nullptr, kToneOffsets[side]});
    names_.push_back(std::string(kPrefix) + std::string(kToneNames[side]));
  }
}

std::vector<std::string> ChannelRecordColumns::TextsOf(const datCh& record) const {
  std::vector<std::string> texts;
  for (const Column& column : columns_) {
    if (column.field) {
      texts.push_back(std::to_string(record.*(column.field->member)));
    } else if (column.toneOffset >= 0) {
      const std::uint8_t* bytes = &record.optionRecord[column.toneOffset];
      texts.push_back(Hex(bytes[0] << 8 | bytes[1], 4));
    } else {
      texts.push_back(Hex(record.lists, 5));
    }
  }
  return texts;
}

std::string ChannelRecordColumns::Set(datCh& record, std::size_t index, std::string_view text) const {
  const Column& column = columns_.at(index);
  const int bits = column.field ? column.field->bits : column.toneOffset >= 0 ? 16 : datCh::kListCount;
  long value = 0;
  if (!ReadNumber(text, bits, value)) {
    return names_[index] + " '" + std::string(text) + "' is not a number of " + std::to_string(bits) + " bits";
  }
  if (column.field) {
    record.*(column.field->member) = static_cast<int>(value);
  } else if (column.toneOffset >= 0) {
    std::uint8_t* bytes = &record.optionRecord[column.toneOffset];
    bytes[0] = static_cast<std::uint8_t>(value >> 8);
    bytes[1] = static_cast<std::uint8_t>(value);
    // The PMR kinds store their tone settings from these fields.
    ToneSetting setting = ToneSetting::Decode(bytes);
    (column.toneOffset == chlayout::kOptionToneR ? record.ctoneR : record.ctoneT) = setting;
  } else {
    record.lists = static_cast<int>(value);
  }
  return {};
}
