#include "model/chrefs.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kScanEntries = 0xAB7C;
constexpr int kEntrySize = 18;
constexpr int kFavourites = 0x02A2;

int Entry(int n) { return kScanEntries + kEntrySize * n; }

// References with these values, in scan entry 5 (transmit channel) and in
// favourite 3, renumbered by one operation.
struct RenumberCase {
  const char* operation;
  std::function<void(cmcEeprom&)> run;
  std::vector<std::pair<int, int>> before_after;
};

TEST(ChannelReferences, FollowTheirChannelsThroughCarryInsertAndDelete) {
  const cmcEeprom initial(cmcEeprom::kImageSize);
  const RenumberCase cases[] = {
      {"carry 4-6 down",
       [](cmcEeprom& image) { chrefs::Carry(image, 4, 6, true); },
       {{3, 3}, {4, 5}, {6, 7}, {7, 4}, {8, 8}, {127, 127}, {200, 200}}},
      {"carry 4-6 up",
       [](cmcEeprom& image) { chrefs::Carry(image, 4, 6, false); },
       {{2, 2}, {3, 6}, {4, 3}, {6, 5}, {7, 7}, {0xFF, 0xFF}}},
      {"carry 126-126 down",
       [](cmcEeprom& image) { chrefs::Carry(image, 126, 126, true); },
       {{126, 127}, {127, 126}, {128, 128}}},
      {"insert at 10",
       [](cmcEeprom& image) { chrefs::Insert(image, 10); },
       {{9, 9}, {10, 11}, {126, 127}, {127, 127}, {128, 128}, {0xFF, 0xFF}}},
      {"delete 10",
       [&initial](cmcEeprom& image) { chrefs::Delete(image, initial, 10); },
       {{9, 9}, {11, 10}, {127, 126}, {128, 128}, {0xFF, 0xFF}}},
  };
  for (const RenumberCase& c : cases) {
    for (auto [before, after] : c.before_after) {
      cmcEeprom image(cmcEeprom::kImageSize);
      image.SetByte(Entry(5) + 14, static_cast<std::uint8_t>(before));
      image.SetByte(kFavourites + 3, static_cast<std::uint8_t>(before));
      c.run(image);
      EXPECT_EQ(image.GetByte(Entry(5) + 14), after) << c.operation << " of " << before;
      EXPECT_EQ(image.GetByte(kFavourites + 3), after) << c.operation << " of " << before;
    }
  }
}

TEST(ChannelReferences, EveryReferencePlaceIsRenumbered) {
  cmcEeprom image(cmcEeprom::kImageSize);
  std::vector<int> places;
  for (int entry = 0; entry < 17; ++entry) {
    for (int offset = 14; offset <= 17; ++offset) places.push_back(Entry(entry) + offset);
  }
  for (int i = 0; i < 16; ++i) places.push_back(kFavourites + i);
  for (int place : places) image.SetByte(place, 20);
  image.SetByte(Entry(17) + 14, 20);  // past the last entry: not a reference
  image.SetByte(kFavourites + 16, 20);
  chrefs::Insert(image, 3);
  for (int place : places) EXPECT_EQ(image.GetByte(place), 21) << std::hex << place;
  EXPECT_EQ(image.GetByte(Entry(17) + 14), 20);
  EXPECT_EQ(image.GetByte(kFavourites + 16), 20);
}

// Deleting channel 9 that a reference names: the reference becomes 0 and a
// mode nibble that named the channel (5) falls back.
TEST(ChannelReferences, AReferenceToADeletedChannelIsResetWithItsMode) {
  struct Case {
    int offset;  // the reference byte in the entry
    int byte8;   // entry bytes 8, 12 and 13 before and after
    int byte12;
    int byte13;
    int byte8After;
    int byte12After;
    int byte13After;
  };
  const Case cases[] = {
      {14, 0x80, 0x55, 0x55, 0x80, 0x05, 0x55},  // transmit channel: the high nibble of 12 cleared
      {15, 0x80, 0x55, 0x55, 0x80, 0x50, 0x55},  // further channel: the low nibble of 12 cleared
      {16, 0x80, 0x55, 0x55, 0x80, 0x55, 0x15},  // priority 1: mode 1
      {17, 0x80, 0x55, 0x55, 0x00, 0x55, 0x50},  // priority 2: mode 0 and its flag off
      {16, 0x80, 0x55, 0x35, 0x80, 0x55, 0x35},  // a mode other than 5 stays
      {17, 0x80, 0x55, 0x53, 0x80, 0x55, 0x53},
  };
  for (const Case& c : cases) {
    cmcEeprom image(cmcEeprom::kImageSize);
    const int entry = Entry(2);
    image.SetByte(entry + 8, static_cast<std::uint8_t>(c.byte8));
    image.SetByte(entry + 12, static_cast<std::uint8_t>(c.byte12));
    image.SetByte(entry + 13, static_cast<std::uint8_t>(c.byte13));
    image.SetByte(entry + c.offset, 9);
    chrefs::Delete(image, cmcEeprom(cmcEeprom::kImageSize), 9);
    EXPECT_EQ(image.GetByte(entry + c.offset), 0) << c.offset;
    EXPECT_EQ(image.GetByte(entry + 8), c.byte8After) << c.offset;
    EXPECT_EQ(image.GetByte(entry + 12), c.byte12After) << c.offset;
    EXPECT_EQ(image.GetByte(entry + 13), c.byte13After) << c.offset;
  }
}

TEST(ChannelReferences, AFavouriteOfADeletedChannelTakesTheInitialValue) {
  cmcEeprom initial(cmcEeprom::kImageSize);
  initial.SetByte(kFavourites + 7, 42);
  cmcEeprom image(cmcEeprom::kImageSize);
  image.SetByte(kFavourites + 7, 9);
  image.SetByte(kFavourites + 8, 9);
  initial.SetByte(kFavourites + 8, 5);
  chrefs::Delete(image, initial, 9);
  EXPECT_EQ(image.GetByte(kFavourites + 7), 42);
  EXPECT_EQ(image.GetByte(kFavourites + 8), 5);
}

}  // namespace
