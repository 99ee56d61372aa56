#include "radiosim/wire.h"

#include <algorithm>
#include <numeric>

namespace radiowire {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kHeaderBytes = 3;  // destination, source, command
// Address (2 bytes), length (1), checksum (1) around the data of a record.
constexpr std::size_t kRecordOverhead = 4;
constexpr std::size_t kCountDigits = 2;

std::optional<std::uint8_t> DigitValue(std::uint8_t c, bool lowerCaseToo) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (lowerCaseToo && c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

// FE FE EF EE and the command, with room for `bodyBytes` and the end.
Bytes FrameStart(Command command, std::size_t bodyBytes) {
  Bytes frame;
  frame.reserve(5 + bodyBytes + 1);
  for (std::uint8_t byte : {kPreamble, kPreamble, kComputerAddress, kRadioAddress}) frame.push_back(byte);
  frame.push_back(static_cast<std::uint8_t>(command));
  return frame;
}

}  // namespace

std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = std::accumulate(bytes.begin(), bytes.end(), 0u);
  return static_cast<std::uint8_t>(0x100u - (sum & 0xFFu));
}

void AppendHex(Bytes& out, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    out.push_back(static_cast<std::uint8_t>(kHexDigits[byte >> 4]));
    out.push_back(static_cast<std::uint8_t>(kHexDigits[byte & 0x0F]));
  }
}

std::optional<Bytes> ParseHex(std::span<const std::uint8_t> text, bool lowerCaseToo) {
  if (text.size() % 2 != 0) return std::nullopt;
  Bytes bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    std::optional<std::uint8_t> high = DigitValue(text[i], lowerCaseToo);
    std::optional<std::uint8_t> low = DigitValue(text[i + 1], lowerCaseToo);
    if (!high || !low) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
  }
  return bytes;
}

Bytes RadioFrame(Command command, std::span<const std::uint8_t> body) {
  Bytes frame = FrameStart(command, body.size());
  frame.insert(frame.end(), body.begin(), body.end());
  frame.push_back(kFrameEnd);
  return frame;
}

Bytes DataRecord(int address, std::span<const std::uint8_t> data, int checksumOffset) {
  Bytes decoded{static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                static_cast<std::uint8_t>(data.size())};
  decoded.insert(decoded.end(), data.begin(), data.end());
  decoded.push_back(static_cast<std::uint8_t>(Checksum(decoded) + checksumOffset));
  Bytes frame = FrameStart(Command::kDataRecord, 2 * decoded.size());
  AppendHex(frame, decoded);
  frame.push_back(kFrameEnd);
  return frame;
}

Bytes EndOfData(int recordCount) {
  Bytes body(kMakerText.begin(), kMakerText.end());
  const std::uint8_t count[] = {static_cast<std::uint8_t>(recordCount & 0xFF)};
  AppendHex(body, count);
  return RadioFrame(Command::kEndOfData, body);
}

Bytes WriteConfirmation() {
  const std::uint8_t accepted[] = {0x00};
  return RadioFrame(Command::kWriteConfirmation, accepted);
}

std::optional<ReceivedFrame> FrameCollector::Take(std::uint8_t byte) {
  if (byte == kPreamble) {
    pending_.clear();
    inFrame_ = true;
    return std::nullopt;
  }
  if (!inFrame_) return std::nullopt;
  if (byte != kFrameEnd) {
    pending_.push_back(byte);
    if (pending_.size() > kMaxFrameBytes) {
      pending_.clear();
      inFrame_ = false;
    }
    return std::nullopt;
  }
  inFrame_ = false;
  Bytes bytes = std::move(pending_);
  pending_.clear();
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  return ReceivedFrame{bytes[0], bytes[1], bytes[2], Bytes(bytes.begin() + kHeaderBytes, bytes.end())};
}

std::optional<Record> ParseRecord(std::span<const std::uint8_t> body) {
  std::optional<Bytes> decoded = ParseHex(body);
  if (!decoded || decoded->size() < kRecordOverhead + 1) return std::nullopt;
  const Bytes& bytes = *decoded;
  std::size_t length = bytes[2];
  if (bytes.size() != length + kRecordOverhead) return std::nullopt;
  if (Checksum(std::span(bytes).first(bytes.size() - 1)) != bytes.back()) return std::nullopt;
  return Record{bytes[0] << 8 | bytes[1], Bytes(bytes.begin() + 3, bytes.end() - 1)};
}

EndOfDataCheck CheckEndOfData(std::span<const std::uint8_t> body, int recordsTaken) {
  if (body.size() < kMakerText.size() || !std::equal(kMakerText.begin(), kMakerText.end(), body.begin())) {
    return EndOfDataCheck::kWrongText;
  }
  std::span<const std::uint8_t> rest = body.subspan(kMakerText.size());
  if (rest.empty()) return EndOfDataCheck::kAccepted;
  if (rest.size() != kCountDigits) return EndOfDataCheck::kWrongText;
  std::optional<Bytes> count = ParseHex(rest);
  if (!count || count->front() != (recordsTaken & 0xFF)) return EndOfDataCheck::kWrongCount;
  return EndOfDataCheck::kAccepted;
}

}  // namespace radiowire
