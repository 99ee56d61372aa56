#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/bitfield.h"

// Where a channel's fields lie in the work area: the three per-channel slots,
// the list bitmaps, the attribute places, the banks. Load and store read the
// field table; nothing else knows a channel's byte layout.
namespace chlayout {

enum class Slot { kRadio, kSetting, kOption };

struct SlotTable {
  int address;  // slot of channel 0
  int size;     // bytes per channel
};
constexpr SlotTable kRadioSlots{0x7F80, 22};    // block 2
constexpr SlotTable kSettingSlots{0x8CF4, 20};  // block 49
constexpr SlotTable kOptionSlots{0xA24A, 14};   // block 3
constexpr int kListBitmaps = 0x8AA0;            // block 12: 17 bitmaps of 16 bytes
constexpr int kListBitmapSize = 16;

constexpr int kAtrA = 0x0295;        // raw header: number of the A channel
constexpr int kAtrB = 0x0296;        // raw header: number of the B channel
constexpr int kAtrE = 0xBF6E;        // number of the E channel
constexpr int kAtrEActive = 0xBF6F;  // bit 6: the E marker is on
constexpr int kAtrEActiveBit = 0x40;
constexpr int kBankFlags = 0xA960;  // bank 0 in the most significant bit
// The spare byte after the bank flags: may the user select the bank freely on
// the radio; bank 0 in the most significant bit.
constexpr int kBankFreeSelection = 0xA961;

// Radio record: bytes 0-3 and 4-7 hold the effective frequencies, bit 7 of
// byte 0 the inhibit flag; 12-19 the name.
constexpr int kRadioFirst = 0;
constexpr int kRadioSecond = 4;
constexpr std::uint8_t kInhibitBit = 0x80;
constexpr int kRadioName = 12;
// Setting record: 0-3 receive frequency, 4-7 duplex offset.
constexpr int kSettingFreq = 0;
constexpr int kSettingOffset = 4;

// Channel numbers that other settings hold, renumbered when channels move:
// four in each entry of the scan entries (block 13), each tied to a mode
// nibble of the entry, and the favourite channels of the raw header.
constexpr int kScanEntryBlock = 13;
constexpr int kChannelMode = 5;  // the mode in which the reference names a channel
struct ScanReference {
  std::string_view name;
  int offset;             // the channel number's byte in the entry
  int modeByte;           // the byte holding its mode
  int modeShift;          // 4: the high nibble, 0: the low one
  int fallbackMode;       // the mode when the named channel is deleted
  int flagByte;           // a byte whose flag records that the mode is not 0; -1 none
  std::uint8_t flagMask;  // that flag's bit
};
constexpr ScanReference kScanReferences[] = {
    {"transmit", 14, 12, 4, 0, -1, 0},
    {"further", 15, 12, 0, 0, -1, 0},
    {"priority 1", 16, 13, 4, 1, -1, 0},
    {"priority 2", 17, 13, 0, 0, 8, 0x80},
};
constexpr int kFavouriteChannels = 0x02A2;  // raw header: 16 channel numbers
constexpr int kFavouriteCount = 16;

// Digital signalling address record (block 26).
constexpr int kVexlOwnId = 0xAFFE;
constexpr int kVexlRanges = 0xB000;  // pairs of big-endian words (first, last)

// Record kinds a field applies to, as a bit per kind.
constexpr unsigned Kind(int kind) { return 1u << kind; }
constexpr unsigned kAllChannelKinds = Kind(1) | Kind(2) | Kind(3) | Kind(4);
constexpr unsigned kPmrKinds = Kind(2) | Kind(3);   // option bytes 6-10
constexpr unsigned kCodeKinds = Kind(1) | Kind(4);  // option bytes 10-11

// The plain integer fields of a channel record, each placed by the field
// table; the channel record carries them as its own.
struct ChannelFields {
  int inh = 0;    // channel inhibit
  int txInh = 0;  // transmit inhibit
  int dup = 0;    // 0 off, 1 plus, 2 minus
  int reverse = 0;
  int ts = 0;    // tuning step index
  int tone = 0;  // tone mode
  int dtcsPolarity = 0;
  int rfPo = 0;  // transmit power
  int toneFreq = 0;
  int tsqlFreq = 0;
  int dtcs = 0;
  int pwrSave = 0;
  int nar = 0;  // bandwidth
  int tot = 0;
  int lockout = 0;
  int wnm = 0;  // wide/narrow/middle
  int sqlTight = 0;
  int busyLockout = 0;
  int scanMode = 0;
  int compander = 0;
  int scrambler = 0;
  int optionBits = 0;    // radio byte 20, bits 1-0
  int optionByte = 0;    // radio byte 21
  int freeEntry = 0;     // radio byte 20, bit 4: the PMR446 frequency was typed freely
  int signalling = 0;    // kinds 2 and 3: option byte 10
  int signallingId = 0;  // kinds 1 and 4: 10 bits of option bytes 10-11
};

// An unsigned bit field inside a big-endian run of `length` bytes of a slot.
struct FieldPlace {
  std::string_view name;  // the field's name in the channel record
  int ChannelFields::*member;
  Slot slot;
  int offset;
  int length;  // bytes, 1 to 4
  int shift;   // of the field's low bit, counted from the run's low bit
  int bits;
  unsigned kinds;

  BitField Field() const { return {offset, length, shift, bits}; }
};

// Every plain integer field of a channel record.
std::span<const FieldPlace> FieldTable();

// The two two-byte tone settings of the PMR kinds (option bytes 6-7 receive, 8-9 transmit).
constexpr int kOptionToneR = 6;
constexpr int kOptionToneT = 8;

}  // namespace chlayout
