#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/buff.h"

// The frames of the clone protocol as the computer builds them, and the wire
// constants both sides share. A frame is preamble bytes 0xFE, the destination
// and source addresses, a command byte, its body and the end byte 0xFD. The
// computer's command frames are written as hexadecimal texts, which FromHex
// turns into bytes; data travels as upper-case ASCII hexadecimal.
namespace cloneframe {

inline constexpr std::uint8_t kPreamble = 0xFE;
inline constexpr std::uint8_t kEnd = 0xFD;
// Flow control during a write: the radio goes on, or refuses.
inline constexpr std::uint8_t kGoOn = 0xFB;
inline constexpr std::uint8_t kRefuse = 0xFA;

enum class Command : std::uint8_t {
  kInformationRequest = 0xE0,
  kInformationReply = 0xE1,
  kReadRequest = 0xE2,
  kWriteRequest = 0xE3,
  kDataRecord = 0xE4,
  kEndOfData = 0xE5,
  kWriteConfirmation = 0xE6,
  kAdjust = 0xE8,
};

// A frame from the radio as the receiver keeps it: one preamble byte, the
// computer's address, the radio's address, then the command.
inline constexpr std::uint8_t kFromRadio[] = {0xFE, 0xEF, 0xEE};
inline constexpr std::size_t kCommandIndex = 3;
// The longest frame the receiver keeps (without its end byte): a record of
// 255 data bytes.
inline constexpr std::size_t kMaxFrame = 522;

// The maker text that opens the body of every end-of-data frame.
inline constexpr std::string_view kMakerText = "Tarn Inc.";
// Image bytes per data record the computer sends; records never cross a
// boundary of this size.
inline constexpr int kRecordBlockSize = 16;

// Upper-case hexadecimal of the low `digits` nibbles of value.
std::string Hex(unsigned value, int digits);

// `preamble` extra 0xFE bytes, then the request frame "FEFE EE EF cmd A B FD".
cmcBuff Request(Command command, std::uint16_t a, std::uint16_t b, int preamble);

// The checksum that makes the bytes of a record sum to 0 modulo 256.
std::uint8_t RecordChecksum(int address, std::span<const std::uint8_t> data);
// `preamble` extra 0xFE bytes, then "FEFE EE EF E4" and the ASCII text of the
// address (4 digits), the length (2), each data byte (2) and the checksum (2),
// then 0xFD. At most 255 data bytes.
cmcBuff DataRecord(int address, std::span<const std::uint8_t> data, int preamble);

// The body of an end-of-data frame: the maker text and, when a count is
// given, two digits of the count modulo 256.
std::string EndOfDataText(std::optional<int> frameCount);
// "FEFE EE EF E5", the body above as ASCII, 0xFD.
cmcBuff EndOfData(std::optional<int> frameCount);

// "FEFE EE EF E8 A B command value FD", the value as its two ASCII hexadecimal
// characters (0x3C travels as 0x33 0x43).
cmcBuff AdjustCommand(std::uint16_t a, std::uint16_t b, std::uint8_t command, std::uint8_t value);

}  // namespace cloneframe
