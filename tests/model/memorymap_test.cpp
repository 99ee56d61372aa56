#include "model/memorymap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {

using memmap::Block;
using memmap::InitialFill;
namespace addr = memmap::addr;

struct RawEntry {
  int number, recordSize, count, start;
};

std::vector<RawEntry> RawDirectory(const cmcEeprom& image) {
  std::vector<RawEntry> entries;
  int at = image.GetWord(addr::kDirAddress);
  for (int i = 0; i < image.GetWord(addr::kDirEntryCount); ++i, at += 10) {
    entries.push_back({image.GetWord(at), image.GetWord(at + 2), image.GetWord(at + 4), image.GetWord(at + 6)});
  }
  return entries;
}

bool StoredFor(const Block& block, ModelType type) { return !block.storedFor || *block.storedFor == type; }

void SetBankSizes(cmcEeprom& image, std::initializer_list<int> sizes) {
  int bank = 0;
  for (int size : sizes) image.SetWord(addr::kBankSizes + 2 * bank++, static_cast<std::uint16_t>(size));
}

// An image whose every work slot holds random bytes, with `channels` channels
// in bank 0 and `aliases` entries of block 43.
cmcEeprom RandomWorkImage(unsigned seed, int channels, int aliases) {
  cmcEeprom image(cmcEeprom::kImageSize);
  std::mt19937 random(seed);
  for (int a = cmcEeprom::kRawSize; a < image.Size(); ++a) image.Data()[a] = static_cast<std::uint8_t>(random());
  SetBankSizes(image, {channels, 0, 0, 0, 0, 0, 0, 0});
  image.SetWord(addr::kAliasCount, static_cast<std::uint16_t>(aliases));
  return image;
}

int RecordsStored(const Block& block, int channels, int aliases) {
  if (block.count == memmap::RecordCount::kChannelsInUse) return channels;
  if (block.count == memmap::RecordCount::kAliasCount) return aliases;
  return block.slots;
}

}  // namespace

TEST(MemoryMapTable, DecodedSlotsLieInTheWorkAreaWithoutOverlap) {
  std::vector<std::pair<int, int>> spans;
  for (const Block& block : memmap::BlockTable()) {
    if (block.initial == InitialFill::kNotDecoded) continue;
    spans.push_back({block.workAddress, block.workAddress + block.slots * block.slotSize});
  }
  spans.push_back({addr::kDirectoryCopy, addr::kDirectoryCopy + 10 * memmap::kMaxDirEntries});
  spans.push_back({addr::kAliasCount, addr::kAliasCount + 2});
  std::sort(spans.begin(), spans.end());
  EXPECT_EQ(spans.front().first, 0x7F80);
  EXPECT_EQ(spans.back().second, cmcEeprom::kImageSize);
  for (std::size_t i = 1; i < spans.size(); ++i)
    EXPECT_LE(spans[i - 1].second, spans[i].first) << std::hex << spans[i].first;
  EXPECT_EQ(memmap::FindBlock(43)->slots, 100);
  EXPECT_EQ(memmap::FindBlock(1), nullptr);
}

// Encode lays the blocks of each model type out one after the other, and decode
// of the result gives back every stored slot.
TEST(MemoryMap, EncodeThenDecodeRoundTripsEveryModelType) {
  struct Case {
    ModelType type;
    int channels, aliases;
  };
  using enum ModelType;
  for (Case c : {Case{kLandMobile, 0, 0}, Case{kLandMobile, 128, 100}, Case{kPmr, 16, 3}, Case{kPmrVexl, 128, 100},
                 Case{kDpmr446, 40, 10}}) {
    SCOPED_TRACE(testing::Message() << "type " << ModelNumber(c.type) << " channels " << c.channels);
    cmcEeprom image =
        RandomWorkImage(static_cast<unsigned>(ModelNumber(c.type) * 1000 + c.channels), c.channels, c.aliases);
    ASSERT_TRUE(memmap::Encode(image, c.type));

    std::vector<RawEntry> directory = RawDirectory(image);
    int position = addr::kDataStart;
    std::size_t i = 0;
    for (const Block& block : memmap::BlockTable()) {
      if (!StoredFor(block, c.type)) continue;
      ASSERT_LT(i, directory.size());
      const RawEntry& entry = directory[i++];
      EXPECT_EQ(entry.number, block.number);
      EXPECT_EQ(entry.recordSize, block.slotSize);
      EXPECT_EQ(entry.count, RecordsStored(block, c.channels, c.aliases));
      EXPECT_EQ(entry.start, position);
      int length = entry.count * entry.recordSize;
      if (block.number == 39) {
        EXPECT_TRUE(
            std::all_of(image.Data() + position, image.Data() + position + length, [](auto b) { return b == 0; }));
      } else {
        EXPECT_EQ(std::memcmp(image.Data() + position, image.Data() + block.workAddress, length), 0) << block.number;
      }
      position += length;
      if (block.number == 49) {
        EXPECT_EQ(image.GetWord(addr::kLowGroupEnd), position);
      }
    }
    EXPECT_EQ(i, directory.size());
    EXPECT_EQ(image.GetWord(addr::kDirAddress), position);
    int end = position + 10 * static_cast<int>(directory.size()) + 8;
    EXPECT_EQ(image.GetWord(addr::kEndAddress), end);
    EXPECT_EQ(std::memcmp(image.Data() + end - 8, "TARN Inc", 8), 0);
    EXPECT_EQ(image.GetWord(addr::kBaseAddress), 0x0300);

    cmcEeprom decoded(cmcEeprom::kImageSize);
    decoded.WriteBlock(0, image.Data(), cmcEeprom::kRawSize);
    memmap::Decode(decoded);
    for (const Block& block : memmap::BlockTable()) {
      if (block.initial == InitialFill::kNotDecoded || !StoredFor(block, c.type)) continue;
      int length = RecordsStored(block, c.channels, c.aliases) * block.slotSize;
      EXPECT_EQ(std::memcmp(decoded.Data() + block.workAddress, image.Data() + block.workAddress, length), 0)
          << "block " << block.number;
    }
    EXPECT_EQ(decoded.GetWord(addr::kAliasCount), c.aliases);
  }
}

TEST(MemoryMap, TheFullIdentityCheckFindsTheMakerTextAtTheEnd) {
  cmcEeprom image = RandomWorkImage(7, 16, 0);
  image.SetWord(addr::kIdentity, 0x3620);
  image.SetByte(addr::kImageFormat, 1);
  image.WriteBlock(addr::kMakerText, reinterpret_cast<const std::uint8_t*>("TARN Inc"), 8);
  image.SetWord(addr::kModelCode, 0x3179);
  ASSERT_TRUE(memmap::Encode(image, ModelType::kPmr));
  EXPECT_EQ(memmap::IdentityCheck(image, memmap::IdentityLevel::kFull), 0);

  struct Damage {
    int address;
    std::uint8_t value;
    int basic, full;
  };
  int end = image.GetWord(addr::kEndAddress);
  for (Damage d :
       {Damage{0x0100, 0x37, 1, 1}, Damage{0x0102, 2, 1, 1}, Damage{0x0208, 8, 1, 1}, Damage{0x0200, 't', 0, 1},
        Damage{0x020B, 0x21, 0, 1}, Damage{end - 1, 'x', 0, 1}, Damage{addr::kEndAddress, 0xFF, 0, 1}}) {
    cmcEeprom damaged = image;
    damaged.SetByte(d.address, d.value);
    EXPECT_EQ(memmap::IdentityCheck(damaged, memmap::IdentityLevel::kBasic), d.basic) << std::hex << d.address;
    EXPECT_EQ(memmap::IdentityCheck(damaged, memmap::IdentityLevel::kFull), d.full) << std::hex << d.address;
  }
}

// Hand-made directories: more records than slots, records larger than a slot,
// a block named twice, 60 entries, the image's own base address.
TEST(MemoryMap, DecodeCapsAndUsesTheImagesOwnBase) {
  cmcEeprom image(cmcEeprom::kImageSize);
  const int base = 0x1000;  // radio address of image offset 0x0300
  image.SetWord(addr::kBaseAddress, base);
  image.SetWord(addr::kDirFormat, 1);
  image.SetWord(addr::kDirEntrySize, 12);  // entries 12 bytes apart, 10 read
  image.SetWord(addr::kDirEntryCount, 60);
  image.SetWord(addr::kDirAddress, 0x2000);
  auto entry = [&](int i, int number, int size, int count, int start) {
    int at = 0x2000 + 12 * i;
    image.SetWord(at, number);
    image.SetWord(at + 2, size);
    image.SetWord(at + 4, count);
    image.SetWord(at + 6, start);
  };
  // Block 8: 16 slots of 2 bytes; 20 records of 3 bytes at offset 0x0400.
  entry(0, 8, 3, 20, base + 0x100);
  for (int k = 0; k < 20; ++k) {
    image.SetByte(0x0400 + 3 * k, static_cast<std::uint8_t>(k));
    image.SetByte(0x0400 + 3 * k + 1, 0xEE);
    image.SetByte(0x0400 + 3 * k + 2, 0x77);  // beyond the slot size: cut
  }
  entry(1, 8, 2, 1, base + 0x500);  // the same block again: ignored
  for (int i = 2; i < 60; ++i) entry(i, 40, 4, 1, base + 0x600);
  image.SetByte(0x0900, 0x40);
  entry(50, 41, 12, 1, base + 0x700);  // the 51st entry is not read
  image.SetByte(0x0A00, 0x41);
  const int block8 = memmap::FindBlock(8)->workAddress;
  image.SetByte(block8 + 32, 0x5A);  // just after block 8's slots: untouched

  memmap::Decode(image);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(image.GetByte(block8 + 2 * k), k);
    EXPECT_EQ(image.GetByte(block8 + 2 * k + 1), 0xEE);
  }
  EXPECT_EQ(image.GetByte(block8 + 32), 0x5A);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(40)->workAddress), 0x40);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(41)->workAddress), 0);
}

TEST(MemoryMap, DecodeSkipsEntriesOutsideTheRawAreaAndCapsBlock43) {
  cmcEeprom image(cmcEeprom::kImageSize);
  image.SetWord(addr::kBaseAddress, 0x0300);
  image.SetWord(addr::kDirFormat, 1);
  image.SetWord(addr::kDirEntrySize, 10);
  image.SetWord(addr::kDirEntryCount, 4);
  image.SetWord(addr::kDirAddress, 0x0400);
  auto entry = [&](int i, int number, int size, int count, int start) {
    image.SetWord(0x0400 + 10 * i, number);
    image.SetWord(0x0400 + 10 * i + 2, size);
    image.SetWord(0x0400 + 10 * i + 4, count);
    image.SetWord(0x0400 + 10 * i + 6, start);
  };
  entry(0, 2, 22, 128, 0x7D00);  // runs past the raw area: skipped
  entry(1, 9, 128, 1, 0x7D40);   // its one record runs past the raw area: skipped
  entry(2, 43, 12, 0xFFFF, 0x0500);
  entry(3, 49, 0xFFFF, 1, 0x7D7F);
  std::fill(image.Data() + cmcEeprom::kRawSize, image.Data() + image.Size(), 0xCC);
  cmcEeprom before = image;
  memmap::Decode(image);
  EXPECT_EQ(std::memcmp(image.Data(), before.Data(), cmcEeprom::kRawSize), 0);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(2)->workAddress), 0xCC);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(9)->workAddress), 0xCC);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(49)->workAddress), 0xCC);
  EXPECT_EQ(image.GetWord(addr::kAliasCount), 100);
  EXPECT_EQ(image.GetByte(memmap::FindBlock(43)->workAddress), 0);
}

TEST(MemoryMap, DecodeWithoutADirectoryChangesNothing) {
  cmcEeprom image = RandomWorkImage(3, 0, 0);
  image.SetWord(addr::kDirFormat, 2);
  cmcEeprom before = image;
  memmap::Decode(image);
  EXPECT_EQ(image, before);
}

// Random images and single-byte mutations of good ones: decode writes nothing
// but the decoded slots, the directory copy and the block-43 count.
TEST(MemoryMap, DecodeOfDamagedImagesStaysInsideItsSlots) {
  std::vector<bool> writable(cmcEeprom::kImageSize, false);
  for (const Block& block : memmap::BlockTable()) {
    if (block.initial == InitialFill::kNotDecoded) continue;
    std::fill_n(writable.begin() + block.workAddress, block.slots * block.slotSize, true);
  }
  std::fill(writable.begin() + addr::kDirectoryCopy, writable.end(), true);

  cmcEeprom good = RandomWorkImage(11, 20, 5);
  ASSERT_TRUE(memmap::Encode(good, ModelType::kDpmr446));
  std::mt19937 random(2024);
  for (int round = 0; round < 3000; ++round) {
    cmcEeprom image = good;
    if (round % 3 == 0) {
      for (int a = 0; a < cmcEeprom::kRawSize; ++a) image.Data()[a] = static_cast<std::uint8_t>(random());
      image.SetWord(addr::kDirFormat, 1);
      image.SetWord(addr::kDirAddress, static_cast<std::uint16_t>(random() % 0x8000));
    } else {
      // Damage the header or the directory, where it hurts.
      int directory = good.GetWord(addr::kDirAddress);
      for (int hits = 0; hits < 4; ++hits) {
        int at = round % 2 ? 0x0210 + static_cast<int>(random() % 0x20) : directory + static_cast<int>(random() % 430);
        image.SetByte(at, static_cast<std::uint8_t>(random()));
      }
    }
    cmcEeprom before = image;
    memmap::Decode(image);
    memmap::DecodeInitial(image);
    for (int a = 0; a < image.Size(); ++a) {
      if (!writable[static_cast<std::size_t>(a)] && image.Data()[a] != before.Data()[a]) {
        FAIL() << "round " << round << " wrote " << std::hex << a;
      }
    }
  }
}

TEST(MemoryMap, EncodeIsAllOrNothingAndTheCapacityCountsEveryChannelBlock) {
  for (ModelType type : kAllModelTypes) {
    SCOPED_TRACE(testing::Message() << "type " << ModelNumber(type));
    cmcEeprom image = RandomWorkImage(5, 0, 100);
    int fit = memmap::ChannelsThatFit(image, type);
    SetBankSizes(image, {fit});
    EXPECT_TRUE(memmap::Encode(image, type));
    if (fit == memmap::kMaxChannels) continue;
    SetBankSizes(image, {fit + 1});
    cmcEeprom before = image;
    EXPECT_FALSE(memmap::Encode(image, type));
    EXPECT_EQ(image, before);
  }
  // The dPMR446 radio stores 58 raw bytes per channel (blocks 2, 22 and 3). A
  // rule that counts only 36 of them would let channels in that do not encode.
  cmcEeprom empty = RandomWorkImage(5, 0, 100);
  ASSERT_TRUE(memmap::Encode(empty, ModelType::kDpmr446));
  int spaceEnd = empty.GetWord(addr::kSpaceEnd);
  int rule36 = 0;
  while (memmap::kLowLimit - spaceEnd - 22 * (rule36 + 1) >= 14 * (rule36 + 1)) ++rule36;
  int fit = memmap::ChannelsThatFit(empty, ModelType::kDpmr446);
  EXPECT_LT(fit, rule36);
  EXPECT_LT(fit, memmap::ChannelsThatFit(empty, ModelType::kPmrVexl));
  SetBankSizes(empty, {rule36});
  EXPECT_FALSE(memmap::Encode(empty, ModelType::kDpmr446));
}

TEST(MemoryMap, BankSizesPastTheChannelSlotsAreCapped) {
  cmcEeprom image = RandomWorkImage(9, 0, 0);
  SetBankSizes(image, {100, 100, 0xFFFF, 0, 0, 0, 0, 0xFFFF});
  EXPECT_EQ(memmap::ChannelsInUse(image), 128);
  ASSERT_TRUE(memmap::Encode(image, ModelType::kLandMobile));
  EXPECT_EQ(RawDirectory(image)[1].count, 128);
}

TEST(MemoryMap, TheAliasCountNeverPassesTheAliasBlock) {
  cmcEeprom image = RandomWorkImage(10, 0, 0);
  EXPECT_EQ(memmap::AliasLimit(), 100);
  for (int stored : {0, 7, 100, 101, 0xFFFF}) {
    image.SetWord(addr::kAliasCount, static_cast<std::uint16_t>(stored));
    EXPECT_EQ(memmap::AliasCount(image), std::min(stored, 100)) << stored;
  }
}

TEST(MemoryMap, InitialDecodeFillsSlotsFromTheRecordsItHas) {
  cmcEeprom image = RandomWorkImage(13, 16, 1);
  ASSERT_TRUE(memmap::Encode(image, ModelType::kPmr));
  cmcEeprom initial(cmcEeprom::kImageSize);
  initial.WriteBlock(0, image.Data(), cmcEeprom::kRawSize);
  memmap::DecodeInitial(initial);
  const Block& channels = *memmap::FindBlock(2);
  const Block& options = *memmap::FindBlock(3);
  const Block& aliases = *memmap::FindBlock(43);
  auto slot = [&](const Block& block, int k) { return initial.Data() + block.workAddress + k * block.slotSize; };
  EXPECT_EQ(std::memcmp(slot(channels, 0), image.Data() + channels.workAddress, 16 * 22), 0);
  for (int k = 16; k < 128; ++k) EXPECT_EQ(std::memcmp(slot(channels, k), slot(channels, 15), 22), 0);
  for (int k = 0; k < 128; ++k) EXPECT_EQ(std::memcmp(slot(options, k), image.Data() + options.workAddress, 14), 0);
  for (int k = 0; k < 100; ++k) EXPECT_EQ(std::memcmp(slot(aliases, k), image.Data() + aliases.workAddress, 12), 0);
  EXPECT_EQ(initial.GetWord(addr::kAliasCount), 1);
}

TEST(MemoryMap, WriteEndModelTypesAndRangeLists) {
  cmcEeprom image(cmcEeprom::kImageSize);
  image.SetWord(addr::kEndAddress, 0x1234);
  EXPECT_EQ(memmap::WriteEnd(image), 0x127F);
  image.SetWord(addr::kEndAddress, 0x1280);
  EXPECT_EQ(memmap::WriteEnd(image), 0x12FF);

  for (ModelType type : kAllModelTypes) {
    memmap::SetModelFlags(image, type);
    EXPECT_EQ(memmap::ModelTypeFromFlags(image), type);
  }
  struct Flags {
    std::uint8_t first;
    ModelType type;
  };
  using enum ModelType;
  for (Flags f : {Flags{0x00, kLandMobile}, Flags{0x80, kLandMobile}, Flags{0x40, kPmr}, Flags{0xE0, kPmrVexl},
                  Flags{0xC4, kLandMobile}, Flags{0x44, kPmr}, Flags{0x04, kDpmr446}}) {
    image.SetByte(addr::kModelFlags, f.first);
    EXPECT_EQ(memmap::ModelTypeFromFlags(image), f.type) << int(f.first);
  }
  for (int stored : {-1, 4, 5, 7}) EXPECT_EQ(ModelTypeOrLandMobile(stored), ModelType::kLandMobile);
  EXPECT_EQ(ModelTypeOrLandMobile(3), ModelType::kDpmr446);

  using Ranges = std::vector<memmap::AddressRange>;
  EXPECT_EQ(memmap::RangeList(0), (Ranges{{0x0200, 0x7D7F}}));
  for (int kind : {1, 2, 3, 9}) EXPECT_EQ(memmap::RangeList(kind), (Ranges{{0x0000, 0x7D7F}}));
}

TEST(MemoryMap, NewerDataIsRefusedOnlyWithTheLockout) {
  cmcEeprom image = RandomWorkImage(17, 0, 0);
  image.SetByte(addr::kDataFormatMarker, 2);
  ASSERT_TRUE(memmap::Encode(image, ModelType::kLandMobile));
  image.SetByte(addr::kDataFormatMarker, 0);  // the decode, not the work area, decides
  EXPECT_TRUE(memmap::IsNewerData(image, true));
  EXPECT_FALSE(memmap::IsNewerData(image, false));
  image.SetByte(addr::kDataFormatMarker, 1);
  ASSERT_TRUE(memmap::Encode(image, ModelType::kLandMobile));
  EXPECT_FALSE(memmap::IsNewerData(image, true));
}
