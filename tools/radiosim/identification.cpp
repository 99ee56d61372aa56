#include "radiosim/identification.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace identification {

namespace {

constexpr std::uint8_t kRevisionValue = 0x10;         // firmware 1.0
constexpr std::string_view kSerial = "000100012345";  // 12 hexadecimal characters

void PutText(Record& record, int at, std::string_view text) {
  std::copy(text.begin(), text.end(), record.begin() + at);
}

// Comment bytes travel raw inside the reply, so anything but a printable
// character (a stray frame byte among them) goes out as a blank.
void PutComment(Record& record, int at, const std::string& comment) {
  for (std::size_t i = 0; i < comment.size(); ++i) {
    auto byte = static_cast<std::uint8_t>(comment[i]);
    record[at + i] = byte >= 0x20 && byte <= 0x7E ? byte : ' ';
  }
}

void PutHexWord(Record& record, int at, unsigned value) {
  char text[5];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFFu);
  PutText(record, at, text);
}

// The sum of the memory bytes up to the top address, 16 bits wide.
unsigned MemorySum(const RadioMemory& memory, int top) {
  unsigned sum = 0;
  for (std::uint8_t byte : memory.Bytes(0, std::clamp(top + 1, 0, RadioMemory::kSize))) sum += byte;
  return sum & 0xFFFFu;
}

}  // namespace

Record Build(const RadioMemory& memory, const Traits& traits) {
  Record record{};
  record[kLength] = kSize;
  PutComment(record, kComment1, memory.Comment(0));
  PutComment(record, kComment2, memory.Comment(1));
  record[kRevision] = kRevisionValue;
  record[kHeaderValue] = memory.Byte(kHeaderValueAddress);
  PutText(record, kSerialNumber, kSerial);
  if (!memory.ClonePassword().empty()) {
    record[kFlags] |= kPasswordSetFlag;
    if (traits.passwordForWriteOnly) record[kFlags] |= kWriteOnlyFlag;
  }
  PutHexWord(record, kTopAddress, static_cast<unsigned>(traits.topAddress));
  PutHexWord(record, kChecksum, MemorySum(memory, traits.topAddress));
  return record;
}

}  // namespace identification
