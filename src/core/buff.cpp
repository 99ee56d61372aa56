#include "core/buff.h"

#include "core/textutil.h"
#include "platform/fatal.h"

void cmcBuff::Resize(std::size_t n) { bytes_.resize(head_ + n, kFillByte); }

void cmcBuff::Assign(std::span<const std::uint8_t> bytes) {
  // `bytes` may lie inside this buffer.
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  bytes_ = std::move(copy);
  head_ = 0;
}

void cmcBuff::Append(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
  bytes_.insert(bytes_.end(), copy.begin(), copy.end());
}

int cmcBuff::PopFront() {
  if (Length() == 0) return -1;
  const int first = bytes_[head_++];
  if (head_ > kCompactAfter) Compact();
  return first;
}

std::uint8_t* cmcBuff::At(std::ptrdiff_t i) {
  if (i < 0 || static_cast<std::size_t>(i) >= Length()) platform::Fatal("Out of cmcBuff element !");
  return Data() + i;
}

void cmcBuff::Compact() {
  bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
  bytes_.shrink_to_fit();
  head_ = 0;
}

cmcBuff cmcBuff::FromHex(std::string_view text) {
  cmcBuff buffer;
  bool high = true;
  for (char c : text) {
    std::optional<std::uint8_t> digit = HexDigitValue(c);
    if (!digit) continue;
    if (high) {
      buffer.PushByte(static_cast<std::uint8_t>(*digit << 4));
    } else {
      buffer.bytes_.back() |= *digit;
    }
    high = !high;
  }
  return buffer;
}
