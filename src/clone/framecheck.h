#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "clone/cloneresult.h"

// The checks of the frames a radio sends, as the receiver keeps them: one
// preamble byte, the addresses EF EE, the command, the body (no end byte).
// Nothing in a frame is used before the check that bounds it.
namespace framecheck {

// The shortest and longest data or end-of-data frame a read accepts.
inline constexpr std::size_t kMinReadFrame = 12;

struct DataRecord {
  int address = 0;
  std::size_t length = 0;
  std::array<std::uint8_t, 255> bytes{};
  std::span<const std::uint8_t> Data() const { return {bytes.data(), length}; }
};

// The frame is 12 to 522 bytes long and comes from the radio to the computer.
bool IsReadFrame(std::span<const std::uint8_t> frame);
// The command byte of a frame that IsReadFrame accepted.
std::uint8_t CommandOf(std::span<const std::uint8_t> frame);

// A data record's hexadecimal body decoded into `record`: kSuccess, or
// kBadFrame for a body that is not upper-case hexadecimal in groups of four
// digits, whose length byte disagrees with its size, or whose sum is not 0.
CloneCode DecodeDataRecord(std::span<const std::uint8_t> frame, DataRecord& record);

// An end-of-data frame against the maker text and, when given, the count:
// kSuccess, kBadFrame (size or maker text) or kFrameCountMismatch.
CloneCode CheckEndOfData(std::span<const std::uint8_t> frame, std::optional<int> frameCount);

struct InformationReply {
  int a = 0;  // model code
  int b = 0;  // revision word
  std::span<const std::uint8_t> identification;
};
// kSuccess with the reply's parts, or kBadFrame for any other frame or a
// number byte that is not packed BCD.
CloneCode DecodeInformationReply(std::span<const std::uint8_t> frame, InformationReply& reply);

// The frame is exactly FE EF EE E6 00.
bool IsWriteConfirmation(std::span<const std::uint8_t> frame);

}  // namespace framecheck
