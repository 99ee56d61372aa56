#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The clone line as the radio sees it: the bytes, frames and records it sends
// and the ones it takes from the programming computer. Written on its own,
// apart from the program's driver, so that a fault cannot hide in both.
namespace radiowire {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kPreamble = 0xFE;
constexpr std::uint8_t kFrameEnd = 0xFD;
constexpr std::uint8_t kRadioAddress = 0xEE;
constexpr std::uint8_t kComputerAddress = 0xEF;
constexpr std::uint8_t kGoOn = 0xFB;
constexpr std::uint8_t kRefuse = 0xFA;

enum class Command : std::uint8_t {
  kInformation = 0xE0,
  kInformationReply = 0xE1,
  kRead = 0xE2,
  kWrite = 0xE3,
  kDataRecord = 0xE4,
  kEndOfData = 0xE5,
  kWriteConfirmation = 0xE6,
  kSetting = 0xE8,
};

// The settings commands of the transfer preparation, the byte after A and B.
enum class Setting : std::uint8_t { kSpeed = 0x01, kMode = 0x55, kPassword = 0x99 };

constexpr std::string_view kMakerText = "Tarn Inc.";
// The longest frame the radio collects; a longer one is line noise.
constexpr std::size_t kMaxFrameBytes = 600;
// The largest data length one record can carry (an even count).
constexpr int kMaxRecordLength = 254;

// Two's complement of the sum, modulo 256, so that all bytes plus it sum to 0.
std::uint8_t Checksum(std::span<const std::uint8_t> bytes);

// Upper-case hexadecimal text, two characters per byte, as bytes for the line.
void AppendHex(Bytes& out, std::span<const std::uint8_t> bytes);
// Pairs of hexadecimal characters back to bytes. Nothing for an odd count or a
// character outside 0-9 and A-F (and a-f when lowerCaseToo).
std::optional<Bytes> ParseHex(std::span<const std::uint8_t> text, bool lowerCaseToo = false);

// A frame from the radio: FE FE EF EE, the command, the body, FD.
Bytes RadioFrame(Command command, std::span<const std::uint8_t> body);
// A data record from the radio. checksumOffset is added to the right checksum
// (0 for a good record).
Bytes DataRecord(int address, std::span<const std::uint8_t> data, int checksumOffset = 0);
// The end of a read: the maker text and the record count modulo 256 as text.
Bytes EndOfData(int recordCount);
// The answer to a finished write.
Bytes WriteConfirmation();

// A frame received from the computer, without its preamble and end:
// the destination, the source, the command and the body.
struct ReceivedFrame {
  std::uint8_t destination = 0;
  std::uint8_t source = 0;
  std::uint8_t command = 0;
  Bytes body;
};

// Assembles frames from the bytes of the line: a preamble byte starts a frame
// afresh, bytes outside a frame are dropped, the end byte closes it. An
// overlong frame is dropped whole.
class FrameCollector {
 public:
  // The frame that this byte closes, if it closes one with at least a header.
  std::optional<ReceivedFrame> Take(std::uint8_t byte);

 private:
  Bytes pending_;
  bool inFrame_ = false;
};

// A data record's body from the computer: address, length, data and checksum
// as upper-case hexadecimal text. Nothing when the text or the checksum is bad
// or the length does not match.
struct Record {
  int address = 0;
  Bytes data;
};
std::optional<Record> ParseRecord(std::span<const std::uint8_t> body);

// How an end-of-data body from the computer compares with the records taken:
// the maker text, then optionally the count modulo 256 as two upper-case
// hexadecimal characters.
enum class EndOfDataCheck { kAccepted, kWrongText, kWrongCount };
EndOfDataCheck CheckEndOfData(std::span<const std::uint8_t> body, int recordsTaken);

}  // namespace radiowire
