#include "sheet/segmenttext.h"

#include <algorithm>

#include "model/charset.h"

SegmentText::SegmentText(const Charset& charset, std::span<const std::uint8_t> bytes, std::size_t maximum,
                         bool caretAtEnd)
    : charset_(charset), codes_(bytes.begin(), bytes.end()), maximum_(maximum) {
  while (!codes_.empty() && codes_.back() == charset_.SpaceCode()) codes_.pop_back();
  if (codes_.size() > maximum_) codes_.resize(maximum_);
  caret_ = codes_.size();
  anchor_ = caretAtEnd ? caret_ : 0;
}

std::string SegmentText::Text() const { return charset_.Decode(codes_); }

std::vector<std::uint16_t> SegmentText::Patterns() const { return charset_.Patterns(codes_); }

void SegmentText::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = std::min(anchor, codes_.size());
  caret_ = std::min(caret, codes_.size());
}

bool SegmentText::Insert(std::uint8_t code) {
  const std::size_t start = SelectionStart();
  if (codes_.size() - SelectionLength() + 1 > maximum_) return false;
  codes_.erase(codes_.begin() + static_cast<std::ptrdiff_t>(start),
               codes_.begin() + static_cast<std::ptrdiff_t>(start + SelectionLength()));
  codes_.insert(codes_.begin() + static_cast<std::ptrdiff_t>(start), code);
  caret_ = anchor_ = start + 1;
  return true;
}

bool SegmentText::Type(char key) {
  const std::optional<std::uint8_t> code = charset_.CodeOfKey(key);
  return code && Insert(*code);
}

bool SegmentText::SetText(std::string_view text, std::size_t caret) {
  std::optional<std::vector<std::uint8_t>> codes = charset_.Codes(text);
  if (!codes || codes->size() > maximum_) return false;
  codes_ = std::move(*codes);
  Select(caret, caret);
  return true;
}
