#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The tables of entries in the work area that the signalling and settings
// cells address by their parameter (the entry number): the record kinds 5 to
// 20 (14 aside) and the MDC system entries. A cell whose parameter lies outside
// its table's entries has no place: it must neither show nor write anything,
// or its keys would land in the next table.
enum class EntryTable {
  kUserCharacter,          // kind 5: 16-bit segment patterns
  kDtmf,                   // kind 6: name, 24 digits, count
  kScanEntry,              // kind 7: the scan lists
  kToneSetting,            // kind 8: receive and transmit tone settings
  kReceiveCode,            // kinds 9 and 12: five-tone or two-tone receive codes
  kTransmitDigits,         // kind 10: five-tone transmit digits
  kTransmitEntry,          // kind 10: name and flags of the transmit code
  kUserToneEncode,         // kind 11: encode frequency
  kUserToneDecode,         // kind 11: decode low and high bound
  kTwoToneBounds,          // kind 12, entries 1 and up: decode bounds of both tones
  kTwoToneNominal,         // kind 12, entries 1 and up: nominal frequencies
  kTwoTonePeriod,          // kind 12, entries 1 and up: tone periods
  kTwoToneTransmit,        // kind 12, entries 1 and up: the transmit entry
  kMskIdGroup,             // kind 15
  kMskCallAddress,         // kind 16: the address digits
  kMskCallEntry,           // kind 16: name, digit set and flags
  kMskStatusReceive,       // kind 17: receive text and its byte 8
  kMskStatusTransmit,      // kind 17: transmit text and its byte 8
  kMskShortText,           // kind 18: name
  kMskShortTextFlag,       // kind 18: selection flag
  kDigitalStatusReceive,   // kind 19: receive long text
  kDigitalStatusTransmit,  // kind 19: transmit long text
  kMdcAlias,               // kind 20
  kMdcSystem,              // no record kind: the 29-byte MDC system entries
};

struct EntryPlace {
  EntryTable table;
  int recordKind;  // the cell type's record kind; 0 for the MDC systems
  int base;        // work-area address of entry 0 (which may lie before `first`)
  int stride;      // bytes per entry
  int first;       // the first and last entry numbers
  int last;

  // The address of entry n, or nothing when n is no entry of the table.
  std::optional<int> AddressOf(std::int32_t entry) const;
};

std::span<const EntryPlace> EntryPlaces();
const EntryPlace& PlaceOf(EntryTable table);
