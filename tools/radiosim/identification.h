#pragma once

#include <array>
#include <cstdint>

#include "radiosim/radiomemory.h"

// The 78-byte identification record the radio puts in its information reply.
namespace identification {

constexpr int kSize = 78;
using Record = std::array<std::uint8_t, kSize>;

// What the radio tells about itself beyond its memory.
struct Traits {
  int topAddress = RadioMemory::kSize - 1;  // the last address of its memory
  bool passwordForWriteOnly = false;        // a read needs no clone password
};

// Byte places of the record.
constexpr int kLength = 0;
constexpr int kComment1 = 2;
constexpr int kComment2 = 18;
constexpr int kRevision = 34;
constexpr int kHeaderValue = 35;  // mirrors memory byte 0x0208
constexpr int kSerialNumber = 37;
constexpr int kFlags = 53;
constexpr int kTopAddress = 62;
constexpr int kChecksum = 66;

constexpr std::uint8_t kPasswordSetFlag = 0x08;
constexpr std::uint8_t kWriteOnlyFlag = 0x10;
constexpr int kHeaderValueAddress = 0x0208;

Record Build(const RadioMemory& memory, const Traits& traits);

}  // namespace identification
