#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "model/eeprom.h"
#include "model/modeltype.h"

// The memory map: the block table and the conversions between the raw area
// (self-describing, packed, what the radio holds) and the work area (every
// block at a fixed place). Everything here reads the one table, kBlockTable.
namespace memmap {

// How the initial decode fills a block's slots from the records of its entry.
enum class InitialFill {
  kNotDecoded,    // the decode leaves the block alone
  kEachSlot,      // slot k takes record k
  kRepeatFirst,   // every slot takes record 0
  kFirstSixteen,  // slots 0-15 take records 0-15, the rest record 15
  kSingle,        // one slot, one record
};

// How many records the encode stores.
enum class RecordCount { kAllSlots, kChannelsInUse, kAliasCount };

struct Block {
  std::uint16_t number;
  int workAddress;  // slot 0; for the encode-only blocks the image address of their source
  int slots;
  int slotSize;
  std::optional<ModelType> storedFor;  // nothing: stored for every model type
  InitialFill initial;
  RecordCount count;
  int fitLimit;  // the block must end at or below this address
};

// In encode order.
std::span<const Block> BlockTable();
const Block* FindBlock(int number);
// False when every block whose slots hold `address` is stored for another
// model type only: the encode leaves that byte out of what the radio gets.
// An address outside every block (the raw header) is stored.
bool IsStoredAt(int address, ModelType modelType);

// Fixed places of the raw header and the work area.
namespace addr {
constexpr int kIdentity = 0x0100;
constexpr int kImageFormat = 0x0102;
constexpr int kMakerText = 0x0200;
constexpr int kHeaderLimitByte = 0x0208;
constexpr int kModelCode = 0x020A;
constexpr int kLowGroupEnd = 0x0210;
constexpr int kEndAddress = 0x0212;
constexpr int kBaseAddress = 0x0214;
constexpr int kSpaceEnd = 0x0216;
constexpr int kDirFormat = 0x0220;
constexpr int kDirEntrySize = 0x0222;
constexpr int kDirEntryCount = 0x0224;
constexpr int kDirAddress = 0x0226;
constexpr int kDataStart = 0x0300;
constexpr int kScratch = 0x7D80;  // 512 bytes that the encode clears
constexpr int kScratchSize = 0x200;
constexpr int kDirectoryCopy = 0xBF91;
constexpr int kAliasCount = 0xC185;
constexpr int kModelFlags = 0xA9AA;
constexpr int kAccessoryFlags = 0x010B;   // bit 3 and bit 4: accessories the sheets offer settings for
constexpr int kBankSizes = 0xA99A;        // 8 big-endian words
constexpr int kBankNames = 0xAA9C;        // block 10: 8 names of 8 characters
constexpr int kMiddleBandwidth = 0xA9BC;  // bit 4: the middle bandwidth may be chosen
constexpr int kDataFormatMarker = 0xAF5C;
constexpr int kCommentLine1 = 0xA9DC;
constexpr int kCommentLine2 = 0xA9EC;
constexpr int kClonePassword = 0xA9CA;  // 16 bytes, ended early by a 0
constexpr int kClonePasswordSize = 16;
constexpr int kKeyFunctions = 0x8A80;       // block 5: the normal function of 16 key positions
constexpr int kEmergencySettings = 0xBF6F;  // bit 5: the emergency call is silent
constexpr int kEmergencyRepeatCycle = 0xBF82;
}  // namespace addr

constexpr int kLowLimit = 0x3B7F;
constexpr int kHighLimit = 0x3D7F;
constexpr int kDirEntryBytes = 10;
constexpr int kMaxDirEntries = 50;
constexpr int kBankCount = 8;
constexpr int kMaxChannels = 128;
// The model codes of this product's radios and images: the main code first,
// then the two further codes. The identity word of an image is the main code.
constexpr std::uint16_t kMainModelCode = 0x3620;
constexpr std::array<std::uint16_t, 2> kFurtherModelCodes = {0x2926, 0x3179};
constexpr std::uint16_t kIdentityWord = kMainModelCode;
bool IsModelCode(int code);
constexpr char kMakerText[] = "TARN Inc";
constexpr int kMakerTextSize = 8;

// Raw area to work area, with the image's own base address. Nothing outside
// the raw area is read and nothing outside a block's slots is written.
void Decode(cmcEeprom& image);
// The initial image: base 0x0300, every slot filled whole (InitialFill).
void DecodeInitial(cmcEeprom& image);
// Work area to raw area. All or nothing: on failure (the data does not fit)
// the image is unchanged and the result is false.
bool Encode(cmcEeprom& image, ModelType modelType);

enum class IdentityLevel { kBasic, kFull };
// 0 when acceptable, 1 otherwise.
int IdentityCheck(const cmcEeprom& image, IdentityLevel level);
// True when the image must be refused as data of a newer format.
bool IsNewerData(const cmcEeprom& image, bool lockoutNewerData);

// Inclusive (first, last) address pairs of the raw area, by kind.
using AddressRange = std::pair<int, int>;
std::vector<AddressRange> RangeList(int kind);
// The last address a clone write sends: the end address with its low seven bits set.
int WriteEnd(const cmcEeprom& image);

// The model type that the flag bits at work 0xA9AA name.
ModelType ModelTypeFromFlags(const cmcEeprom& image);
// Sets the flag bit of modelType, clearing the other model bits.
void SetModelFlags(cmcEeprom& image, ModelType modelType);

// The sum of the bank sizes, never more than the 128 channel slots.
int ChannelsInUse(const cmcEeprom& image);
// The alias entries the alias block (the MDC alias list) holds, and those in
// use by the count word (never more than the block holds); setting the count
// keeps it within the block too.
constexpr int kAliasBlock = 43;
int AliasLimit();
int AliasCount(const cmcEeprom& image);
void SetAliasCount(cmcEeprom& image, int count);
// How many more channels the image can take and still encode (the raw bytes
// of every per-channel block of the model type count).
int ChannelsThatFit(const cmcEeprom& image, ModelType modelType);

}  // namespace memmap
