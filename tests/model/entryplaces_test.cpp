#include "model/entryplaces.h"

#include <gtest/gtest.h>

#include "model/memorymap.h"

namespace {

TEST(EntryPlaces, EveryTableIsListedOnceAndLiesInTheWorkArea) {
  for (int table = 0; table <= static_cast<int>(EntryTable::kMdcSystem); ++table) {
    const EntryTable id = static_cast<EntryTable>(table);
    EXPECT_EQ(PlaceOf(id).table, id) << table;
  }
  EXPECT_EQ(EntryPlaces().size(), static_cast<std::size_t>(EntryTable::kMdcSystem) + 1);
  for (const EntryPlace& place : EntryPlaces()) {
    const int start = *place.AddressOf(place.first);
    const int end = *place.AddressOf(place.last) + place.stride;
    EXPECT_GE(start, cmcEeprom::kRawSize) << static_cast<int>(place.table);
    EXPECT_LE(end, 0xC187) << static_cast<int>(place.table);
  }
}

TEST(EntryPlaces, AnEntryOutsideItsTableHasNoPlace) {
  const struct {
    EntryTable table;
    std::int32_t entry;
    std::optional<int> address;
  } cases[] = {
      {EntryTable::kDtmf, 0, 0xACAE},
      {EntryTable::kDtmf, 7, 0xACAE + 7 * 21},
      {EntryTable::kDtmf, 8, std::nullopt},
      {EntryTable::kDtmf, -1, std::nullopt},
      {EntryTable::kTwoToneBounds, 0, std::nullopt},
      {EntryTable::kTwoToneBounds, 1, 0xAA1C},
      {EntryTable::kMdcSystem, 4, 0xBA2C + 4 * 29},
      {EntryTable::kMdcSystem, 5, std::nullopt},
      {EntryTable::kMdcAlias, 99, 0xBABD + 99 * 12},
      {EntryTable::kMdcAlias, 0x7FFFFFFF, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PlaceOf(c.table).AddressOf(c.entry), c.address) << c.entry;
}

}  // namespace
