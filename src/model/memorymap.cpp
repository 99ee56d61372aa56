#include "model/memorymap.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "core/bitfield.h"

namespace memmap {

namespace {

using F = InitialFill;
using C = RecordCount;
constexpr std::optional<ModelType> kAll{};
constexpr ModelType kVexl = ModelType::kPmrVexl;
constexpr ModelType kDpmr = ModelType::kDpmr446;
constexpr int kLow = kLowLimit;
constexpr int kHigh = kHighLimit;

// Block number, work address of slot 0, slots, bytes per slot, stored for,
// initial fill, records the encode stores, fit limit. Blocks 39, 21, 22 and 23
// are never decoded: 39 is the cleared scratch region, 21 comes from the raw
// header, 22 and 23 repeat the sources of blocks 2 and 5 for the dPMR446 radio.
constexpr Block kBlockTable[] = {
    {39, addr::kScratch, 1, 512, kAll, F::kNotDecoded, C::kAllSlots, kLow},
    {2, 0x7F80, 128, 22, kAll, F::kFirstSixteen, C::kChannelsInUse, kLow},
    {5, 0x8A80, 1, 32, kAll, F::kSingle, C::kAllSlots, kLow},
    {12, 0x8AA0, 17, 16, kAll, F::kEachSlot, C::kAllSlots, kLow},
    {15, 0x8BB0, 32, 4, kAll, F::kEachSlot, C::kAllSlots, kLow},
    {27, 0x8C30, 32, 4, kVexl, F::kRepeatFirst, C::kAllSlots, kLow},
    {32, 0x8CB0, 8, 8, kVexl, F::kEachSlot, C::kAllSlots, kLow},
    {40, 0x8CF0, 1, 4, kAll, F::kSingle, C::kAllSlots, kHigh},
    {49, 0x8CF4, 128, 20, kAll, F::kEachSlot, C::kAllSlots, kLow},
    {21, 0x0280, 1, 54, kDpmr, F::kNotDecoded, C::kAllSlots, kHigh},
    {22, 0x7F80, 128, 22, kDpmr, F::kNotDecoded, C::kChannelsInUse, kHigh},
    {23, 0x8A80, 1, 32, kDpmr, F::kNotDecoded, C::kAllSlots, kHigh},
    {3, 0xA24A, 128, 14, kAll, F::kRepeatFirst, C::kChannelsInUse, kHigh},
    {6, 0xA94A, 1, 146, kAll, F::kSingle, C::kAllSlots, kHigh},
    {7, 0xA9DC, 1, 32, kAll, F::kSingle, C::kAllSlots, kHigh},
    {8, 0xA9FC, 16, 2, kAll, F::kRepeatFirst, C::kAllSlots, kHigh},
    {9, 0xAA1C, 1, 128, kAll, F::kSingle, C::kAllSlots, kHigh},
    {10, addr::kBankNames, 8, 8, kAll, F::kRepeatFirst, C::kAllSlots, kHigh},
    {11, 0xAADC, 40, 4, kAll, F::kRepeatFirst, C::kAllSlots, kHigh},
    {13, 0xAB7C, 17, 18, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {14, 0xACAE, 8, 21, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {16, 0xAD56, 32, 10, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {17, 0xAE96, 11, 18, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {18, 0xAF5C, 1, 8, kAll, F::kSingle, C::kAllSlots, kHigh},
    {19, 0xAF64, 2, 8, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {20, 0xAF74, 1, 10, kAll, F::kSingle, C::kAllSlots, kHigh},
    {28, 0xB00C, 32, 10, kVexl, F::kRepeatFirst, C::kAllSlots, kHigh},
    {29, 0xAF7E, 8, 16, kVexl, F::kEachSlot, C::kAllSlots, kHigh},
    {26, 0xAFFE, 1, 14, kVexl, F::kSingle, C::kAllSlots, kHigh},
    {25, 0xB14C, 1, 24, kVexl, F::kSingle, C::kAllSlots, kHigh},
    {24, 0xB164, 1, 16, kVexl, F::kSingle, C::kAllSlots, kHigh},
    {30, 0xB174, 24, 12, kVexl, F::kEachSlot, C::kAllSlots, kHigh},
    {31, 0xB294, 24, 12, kVexl, F::kEachSlot, C::kAllSlots, kHigh},
    {33, 0xB3B4, 8, 2, kVexl, F::kEachSlot, C::kAllSlots, kHigh},
    {34, 0xB3C4, 32, 20, kDpmr, F::kEachSlot, C::kAllSlots, kHigh},
    {35, 0xB644, 32, 20, kDpmr, F::kEachSlot, C::kAllSlots, kHigh},
    {36, 0xB8C4, 1, 16, kDpmr, F::kSingle, C::kAllSlots, kHigh},
    {37, 0xB8D4, 1, 4, kDpmr, F::kSingle, C::kAllSlots, kHigh},
    {38, 0xB8D8, 41, 8, kDpmr, F::kEachSlot, C::kAllSlots, kHigh},
    {41, 0xBA20, 1, 12, kAll, F::kSingle, C::kAllSlots, kHigh},
    {42, 0xBA2C, 5, 29, kAll, F::kEachSlot, C::kAllSlots, kHigh},
    {43, 0xBABD, 100, 12, kAll, F::kRepeatFirst, C::kAliasCount, kHigh},
    {48, 0xBF6D, 1, 36, kAll, F::kSingle, C::kAllSlots, kHigh},
};

constexpr int kLowGroupLastBlock = 49;
constexpr int kSpaceCheckBlock = kAliasBlock;
constexpr int kDirectoryBlock = 48;  // placed after the space check, its entry last

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(ReadBigEndian(std::span(p, 2))); }
void PutWord(std::uint8_t* p, int value) { WriteBigEndian(std::span(p, 2), static_cast<std::uint32_t>(value)); }

bool StoredFor(const Block& block, ModelType modelType) { return !block.storedFor || *block.storedFor == modelType; }

}  // namespace

int AliasLimit() { return FindBlock(kSpaceCheckBlock)->slots; }

int AliasCount(const cmcEeprom& image) { return std::min<int>(image.GetWord(addr::kAliasCount), AliasLimit()); }

namespace {

struct Placement {
  const Block* block;
  int records;
  int address;
};

// Where the encode puts everything; computed without touching the image, so the
// capacity question and the encode cannot disagree.
struct Layout {
  bool fits = true;
  std::vector<Placement> placements;  // directory order
  int lowGroupEnd = 0;
  int spaceEnd = 0;
  int directoryAddress = 0;
  int endAddress = 0;
};

Layout PlanLayout(const cmcEeprom& image, ModelType modelType, int channels) {
  Layout layout;
  int position = addr::kDataStart;
  auto place = [&](const Block& block) {
    int records = block.slots;
    if (block.count == C::kChannelsInUse) records = channels;
    if (block.count == C::kAliasCount) records = AliasCount(image);
    int end = position + records * block.slotSize;
    if (end > block.fitLimit) return false;
    layout.placements.push_back({&block, records, position});
    position = end;
    return true;
  };
  for (const Block& block : kBlockTable) {
    if (block.number == kDirectoryBlock || !StoredFor(block, modelType)) continue;
    if (!place(block)) {
      layout.fits = false;
      return layout;
    }
    if (block.number == kLowGroupLastBlock) layout.lowGroupEnd = position;
    if (block.number == kSpaceCheckBlock) {
      layout.spaceEnd = position + kDirEntryBytes * static_cast<int>(layout.placements.size()) + kMakerTextSize;
      if (layout.spaceEnd > kLowLimit) {
        layout.fits = false;
        return layout;
      }
    }
  }
  if (!place(*FindBlock(kDirectoryBlock))) {
    layout.fits = false;
    return layout;
  }
  layout.directoryAddress = position;
  position += kDirEntryBytes * static_cast<int>(layout.placements.size());
  layout.endAddress = position + kMakerTextSize;
  layout.fits = layout.endAddress <= kHighLimit;
  return layout;
}

struct DirEntry {
  int number;
  int recordSize;
  int count;
  int start;
};

// Copies the raw directory into the work area and returns the entries that lie
// wholly inside the raw area. Entries are read at most 10 bytes long but lie
// as far apart as the stored entry size says.
std::vector<DirEntry> CopyDirectory(cmcEeprom& image) {
  std::vector<DirEntry> entries;
  std::uint8_t* bytes = image.Data();
  if (Word(bytes + addr::kDirFormat) != 0x0001) return entries;
  int rawEntrySize = Word(bytes + addr::kDirEntrySize);
  int entrySize = std::min(rawEntrySize, kDirEntryBytes);
  int count = std::min<int>(Word(bytes + addr::kDirEntryCount), kMaxDirEntries);
  long long source = Word(bytes + addr::kDirAddress);
  for (int i = 0; i < count; ++i, source += rawEntrySize) {
    if (source + entrySize > cmcEeprom::kRawSize) break;
    std::uint8_t* slot = bytes + addr::kDirectoryCopy + kDirEntryBytes * i;
    std::memmove(slot, bytes + source, static_cast<std::size_t>(entrySize));
    entries.push_back({Word(slot), Word(slot + 2), Word(slot + 4), Word(slot + 6)});
  }
  return entries;
}

// The record that fills `slot` in the initial decode, or none.
std::optional<int> InitialRecord(InitialFill fill, int slot, int records) {
  if (records <= 0) return std::nullopt;
  int wanted = slot;
  if (fill == F::kRepeatFirst) wanted = 0;
  if (fill == F::kFirstSixteen) wanted = std::min(slot, 15);
  // Only records that the directory lists are read.
  return std::min(wanted, records - 1);
}

void DecodeWith(cmcEeprom& image, int base, bool initial) {
  if (image.Size() < cmcEeprom::kImageSize) return;
  std::uint8_t* bytes = image.Data();
  std::vector<DirEntry> entries = CopyDirectory(image);
  if (entries.empty()) return;
  for (const Block& block : kBlockTable) {
    if (block.initial == F::kNotDecoded) continue;
    auto entry =
        std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.number == block.number; });
    if (entry == entries.end()) continue;
    long long first = static_cast<long long>(entry->start) - base + addr::kDataStart;
    int copyLength = initial ? block.slotSize : std::min(entry->recordSize, block.slotSize);
    int slots = initial ? block.slots : std::min(entry->count, block.slots);
    auto sourceOf = [&](int slot) -> std::optional<long long> {
      std::optional<int> record = initial ? InitialRecord(block.initial, slot, entry->count) : slot;
      if (!record) return std::nullopt;
      return first + static_cast<long long>(*record) * entry->recordSize;
    };
    // A block whose records do not lie wholly inside the raw area is skipped whole.
    bool inside = true;
    for (int slot = 0; slot < slots && inside; ++slot) {
      std::optional<long long> source = sourceOf(slot);
      inside = !source || (*source >= 0 && *source + copyLength <= cmcEeprom::kRawSize);
    }
    if (!inside) continue;
    for (int slot = 0; slot < slots; ++slot) {
      std::optional<long long> source = sourceOf(slot);
      if (!source) break;
      std::memcpy(bytes + block.workAddress + slot * block.slotSize, bytes + *source,
                  static_cast<std::size_t>(copyLength));
    }
    if (block.number == kSpaceCheckBlock)
      image.SetWord(addr::kAliasCount, static_cast<std::uint16_t>(std::min(entry->count, block.slots)));
  }
}

}  // namespace

void SetAliasCount(cmcEeprom& image, int count) {
  image.SetWord(addr::kAliasCount, static_cast<std::uint16_t>(std::clamp(count, 0, AliasLimit())));
}

std::span<const Block> BlockTable() { return kBlockTable; }

const Block* FindBlock(int number) {
  for (const Block& block : kBlockTable) {
    if (block.number == number) return &block;
  }
  return nullptr;
}

bool IsStoredAt(int address, ModelType modelType) {
  bool inBlock = false;
  for (const Block& block : kBlockTable) {
    if (address < block.workAddress || address >= block.workAddress + block.slots * block.slotSize) continue;
    if (StoredFor(block, modelType)) return true;
    inBlock = true;
  }
  return !inBlock;
}

void Decode(cmcEeprom& image) {
  if (image.Size() < cmcEeprom::kImageSize) return;
  DecodeWith(image, image.GetWord(addr::kBaseAddress), false);
}

void DecodeInitial(cmcEeprom& image) { DecodeWith(image, addr::kDataStart, true); }

bool Encode(cmcEeprom& image, ModelType modelType) {
  if (image.Size() < cmcEeprom::kImageSize) return false;
  Layout layout = PlanLayout(image, modelType, ChannelsInUse(image));
  if (!layout.fits) return false;

  std::uint8_t* bytes = image.Data();
  std::fill(bytes + addr::kDataStart, bytes + cmcEeprom::kRawSize, 0);
  std::fill(bytes + addr::kScratch, bytes + addr::kScratch + addr::kScratchSize, 0);
  PutWord(bytes + addr::kBaseAddress, addr::kDataStart);
  for (std::size_t i = 0; i < layout.placements.size(); ++i) {
    const Placement& placed = layout.placements[i];
    std::uint8_t* entry = bytes + addr::kDirectoryCopy + kDirEntryBytes * static_cast<int>(i);
    PutWord(entry, placed.block->number);
    PutWord(entry + 2, placed.block->slotSize);
    PutWord(entry + 4, placed.records);
    PutWord(entry + 6, placed.address);
    std::memcpy(bytes + placed.address, bytes + placed.block->workAddress,
                static_cast<std::size_t>(placed.records * placed.block->slotSize));
  }
  int entries = static_cast<int>(layout.placements.size());
  PutWord(bytes + addr::kLowGroupEnd, layout.lowGroupEnd);
  PutWord(bytes + addr::kSpaceEnd, layout.spaceEnd);
  PutWord(bytes + addr::kDirFormat, 0x0001);
  PutWord(bytes + addr::kDirEntrySize, kDirEntryBytes);
  PutWord(bytes + addr::kDirEntryCount, entries);
  PutWord(bytes + addr::kDirAddress, layout.directoryAddress);
  std::memcpy(bytes + layout.directoryAddress, bytes + addr::kDirectoryCopy,
              static_cast<std::size_t>(kDirEntryBytes * entries));
  std::memcpy(bytes + layout.endAddress - kMakerTextSize, kMakerText, kMakerTextSize);
  PutWord(bytes + addr::kEndAddress, layout.endAddress);
  return true;
}

bool IsModelCode(int code) {
  return code == kMainModelCode || std::ranges::find(kFurtherModelCodes, code) != kFurtherModelCodes.end();
}

int IdentityCheck(const cmcEeprom& image, IdentityLevel level) {
  if (image.Size() < cmcEeprom::kRawSize) return 1;
  const std::uint8_t* bytes = image.Data();
  if (Word(bytes + addr::kIdentity) != kIdentityWord || bytes[addr::kImageFormat] != 1 ||
      bytes[addr::kHeaderLimitByte] > 7) {
    return 1;
  }
  if (level == IdentityLevel::kBasic) return 0;
  if (std::memcmp(bytes + addr::kMakerText, kMakerText, kMakerTextSize) != 0) return 1;
  std::uint16_t model = Word(bytes + addr::kModelCode);
  if (!IsModelCode(model)) return 1;
  long long tail = static_cast<long long>(Word(bytes + addr::kEndAddress)) - Word(bytes + addr::kBaseAddress) +
                   addr::kDataStart - kMakerTextSize;
  if (tail < 0 || tail + kMakerTextSize > cmcEeprom::kRawSize) return 1;
  return std::memcmp(bytes + tail, kMakerText, kMakerTextSize) == 0 ? 0 : 1;
}

bool IsNewerData(const cmcEeprom& image, bool lockoutNewerData) {
  if (!lockoutNewerData) return false;
  cmcEeprom decoded = image;
  Decode(decoded);
  return decoded.IsValidAddress(addr::kDataFormatMarker) && decoded.GetByte(addr::kDataFormatMarker) > 1;
}

std::vector<AddressRange> RangeList(int kind) {
  if (kind == 0) return {{0x0200, cmcEeprom::kRawSize - 1}};
  return {{0x0000, cmcEeprom::kRawSize - 1}};
}

int WriteEnd(const cmcEeprom& image) { return (image.GetWord(addr::kEndAddress) & ~0x7F) | 0x7F; }

namespace {
// The flag bit of each model type, bits counted from the most significant bit
// of the first flag byte; checked in this order.
constexpr std::array<std::pair<int, ModelType>, 4> kModelFlagBits = {
    {{2, ModelType::kPmrVexl}, {0, ModelType::kLandMobile}, {1, ModelType::kPmr}, {5, ModelType::kDpmr446}}};

bool FlagBit(const cmcEeprom& image, int bit) {
  return (image.GetByte(addr::kModelFlags + bit / 8) & (0x80 >> (bit % 8))) != 0;
}
}  // namespace

ModelType ModelTypeFromFlags(const cmcEeprom& image) {
  for (auto [bit, type] : kModelFlagBits) {
    if (FlagBit(image, bit)) return type;
  }
  return ModelType::kLandMobile;
}

void SetModelFlags(cmcEeprom& image, ModelType modelType) {
  for (auto [bit, type] : kModelFlagBits) {
    int address = addr::kModelFlags + bit / 8;
    std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (bit % 8));
    std::uint8_t value = image.GetByte(address);
    image.SetByte(address, type == modelType ? value | mask : value & ~mask);
  }
}

int ChannelsInUse(const cmcEeprom& image) {
  int sum = 0;
  for (int bank = 0; bank < kBankCount; ++bank) sum += image.GetWord(addr::kBankSizes + 2 * bank);
  return std::min(sum, kMaxChannels);
}

int ChannelsThatFit(const cmcEeprom& image, ModelType modelType) {
  int inUse = ChannelsInUse(image);
  for (int more = kMaxChannels - inUse; more > 0; --more) {
    if (PlanLayout(image, modelType, inUse + more).fits) return more;
  }
  return 0;
}

}  // namespace memmap
