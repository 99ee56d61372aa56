#include "clone/framecheck.h"

#include <algorithm>
#include <string>

#include "clone/cloneframe.h"

namespace framecheck {

namespace {

using cloneframe::Command;

constexpr std::size_t kHeaderSize = 4;  // FE EF EE command

bool HasRadioHeader(std::span<const std::uint8_t> frame, Command command) {
  return frame.size() >= kHeaderSize &&
         std::equal(std::begin(cloneframe::kFromRadio), std::end(cloneframe::kFromRadio), frame.begin()) &&
         frame[cloneframe::kCommandIndex] == static_cast<std::uint8_t>(command);
}

// Upper case only: the radio's data alphabet is "0123456789ABCDEF".
std::optional<std::uint8_t> UpperHexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

bool IsPackedBcd(std::uint8_t byte) { return (byte >> 4) <= 9 && (byte & 0xF) <= 9; }

}  // namespace

bool IsReadFrame(std::span<const std::uint8_t> frame) {
  return frame.size() >= kMinReadFrame && frame.size() <= cloneframe::kMaxFrame &&
         std::equal(std::begin(cloneframe::kFromRadio), std::end(cloneframe::kFromRadio), frame.begin());
}

std::uint8_t CommandOf(std::span<const std::uint8_t> frame) { return frame[cloneframe::kCommandIndex]; }

CloneCode DecodeDataRecord(std::span<const std::uint8_t> frame, DataRecord& record) {
  if (!HasRadioHeader(frame, Command::kDataRecord)) return CloneCode::kBadFrame;
  const std::span<const std::uint8_t> text = frame.subspan(kHeaderSize);
  // Address (2 bytes), length and checksum: at least four bytes.
  if (text.size() % 4 != 0 || text.size() < 8) return CloneCode::kBadFrame;
  const std::size_t count = text.size() / 2;
  // Address, length, at most 255 data bytes, checksum.
  if (count > record.bytes.size() + 4) return CloneCode::kBadFrame;
  std::array<std::uint8_t, 255 + 4> bytes{};
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<std::uint8_t> high = UpperHexDigit(text[2 * i]);
    const std::optional<std::uint8_t> low = UpperHexDigit(text[2 * i + 1]);
    if (!high || !low) return CloneCode::kBadFrame;
    bytes[i] = static_cast<std::uint8_t>(*high << 4 | *low);
    sum += bytes[i];
  }
  const std::size_t length = bytes[2];
  if (count != length + 4 || (sum & 0xFF) != 0) return CloneCode::kBadFrame;
  record.address = bytes[0] << 8 | bytes[1];
  record.length = length;
  std::copy_n(bytes.begin() + 3, length, record.bytes.begin());
  return CloneCode::kSuccess;
}

CloneCode CheckEndOfData(std::span<const std::uint8_t> frame, std::optional<int> frameCount) {
  const std::string expected = cloneframe::EndOfDataText(frameCount);
  if (!HasRadioHeader(frame, Command::kEndOfData) || frame.size() != kHeaderSize + expected.size()) {
    return CloneCode::kBadFrame;
  }
  const std::span<const std::uint8_t> text = frame.subspan(kHeaderSize);
  const std::size_t makerSize = cloneframe::kMakerText.size();
  if (!std::equal(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(makerSize), text.begin())) {
    return CloneCode::kBadFrame;
  }
  if (!std::equal(expected.begin() + static_cast<std::ptrdiff_t>(makerSize), expected.end(),
                  text.begin() + static_cast<std::ptrdiff_t>(makerSize))) {
    return CloneCode::kFrameCountMismatch;
  }
  return CloneCode::kSuccess;
}

CloneCode DecodeInformationReply(std::span<const std::uint8_t> frame, InformationReply& reply) {
  constexpr std::size_t kNumbersSize = 4;
  if (!HasRadioHeader(frame, Command::kInformationReply) || frame.size() < kHeaderSize + kNumbersSize) {
    return CloneCode::kBadFrame;
  }
  const std::span<const std::uint8_t> numbers = frame.subspan(kHeaderSize, kNumbersSize);
  if (!std::all_of(numbers.begin(), numbers.end(), IsPackedBcd)) return CloneCode::kBadFrame;
  reply.a = numbers[0] << 8 | numbers[1];
  reply.b = numbers[2] << 8 | numbers[3];
  reply.identification = frame.subspan(kHeaderSize + kNumbersSize);
  return CloneCode::kSuccess;
}

bool IsWriteConfirmation(std::span<const std::uint8_t> frame) {
  return frame.size() == kHeaderSize + 1 && HasRadioHeader(frame, Command::kWriteConfirmation) && frame[4] == 0x00;
}

}  // namespace framecheck
