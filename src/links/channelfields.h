#pragma once

#include <cstdint>
#include <string>

#include "links/bitfield.h"
#include "model/eeprom.h"

// Where the channel links find their fields: one of the three per-channel slots
// of the work area, and the bank table around them.
namespace chfield {

enum class Slot { kRadio, kSetting, kOption };

struct SlotLayout {
  int base;
  int size;
};
constexpr SlotLayout kRadioSlot{0x7F80, 22};
constexpr SlotLayout kSettingSlot{0x8CF4, 20};
constexpr SlotLayout kOptionSlot{0xA24A, 14};
constexpr int kListBitmaps = 0x8AA0;  // 17 bitmaps of 16 bytes, channel n at bit 7 - n % 8 of byte n / 8
constexpr int kListBitmapSize = 16;
constexpr int kBankFlags = 0xA960;    // bank 0 in the most significant bit
constexpr int kBankNames = 0xAA9C;    // 8 characters per bank
constexpr int kBankNameSize = 8;
constexpr int kNameSize = 8;

// A field of one channel's slot.
struct Field {
  Slot slot;
  int offset;
  int bytes;
  int shift;
  int width;
};

// The field of channel `channel` as a bit field of the image.
cmcBitField At(const Field& field, int channel);
// Bit `channel` of list bitmap `list` (0 to 16).
cmcBitField ListBit(int list, int channel);

// The fields the channel links name. Setting record.
constexpr Field kReceive{Slot::kSetting, 0, 4, 0, 32};
constexpr Field kOffset{Slot::kSetting, 4, 4, 0, 32};
constexpr Field kDuplex{Slot::kSetting, 8, 1, 6, 2};
constexpr Field kReverse{Slot::kSetting, 8, 1, 5, 1};
constexpr Field kTxInhibit{Slot::kSetting, 8, 1, 4, 1};
constexpr Field kStep{Slot::kSetting, 9, 1, 0, 8};
constexpr Field kToneMode{Slot::kSetting, 10, 1, 4, 4};
constexpr Field kPolarity{Slot::kSetting, 10, 1, 2, 2};
constexpr Field kPower{Slot::kSetting, 10, 1, 0, 2};
constexpr Field kToneIndex{Slot::kSetting, 11, 1, 0, 8};
constexpr Field kTsqlIndex{Slot::kSetting, 12, 1, 0, 8};
constexpr Field kDtcsIndex{Slot::kSetting, 13, 1, 0, 8};
// The receive and transmit tone settings, each in the two-byte tone form, in
// the signalling bytes 14-17 of the setting record.
constexpr Field kReceiveTone{Slot::kSetting, 14, 2, 0, 16};
constexpr Field kTransmitTone{Slot::kSetting, 16, 2, 0, 16};
// Radio record.
constexpr Field kInhibit{Slot::kRadio, 0, 1, 7, 1};
constexpr Field kWidth{Slot::kRadio, 20, 1, 0, 2};  // bandwidth: the option field of byte 20
constexpr Field kFreeEntry{Slot::kRadio, 20, 1, 4, 1};
// Option record.
constexpr Field kPowerSave{Slot::kOption, 0, 1, 7, 1};
constexpr Field kTimeOut{Slot::kOption, 0, 1, 4, 1};
constexpr Field kLockout{Slot::kOption, 0, 1, 2, 2};
constexpr Field kScanOnOff{Slot::kOption, 1, 1, 7, 1};
constexpr Field kAutoChannelScan{Slot::kOption, 1, 1, 6, 1};
constexpr Field kAutoReset{Slot::kOption, 1, 1, 5, 1};
constexpr Field kChannelMute{Slot::kOption, 1, 1, 4, 1};
constexpr Field kScanInclude{Slot::kOption, 1, 1, 3, 1};
constexpr Field kTightSquelch{Slot::kOption, 1, 1, 2, 1};
constexpr Field kCompander{Slot::kOption, 3, 1, 4, 1};

}  // namespace chfield
