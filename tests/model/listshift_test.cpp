#include "model/listshift.h"

#include <gtest/gtest.h>

#include "channel_images.h"
#include "model/chlayout.h"
#include "model/memorymap.h"

namespace {

using channelimages::Images;
using channelimages::kKind;

constexpr int kPriority1Of3 = 0xAB7C + 18 * 3 + 16;

RecordList Bank(Images& images, int bank) {
  const int first = datCh::FirstChannel(images.image, bank);
  return {kKind, first, first + datCh::BankSize(images.image, bank) - 1, bank};
}

// Banks of 4 and 3 channels, CH0-CH6; one command and what the channels read afterwards.
TEST(ListShifter, InsertAndDeleteShiftEveryChannelBehindThePosition) {
  struct Case {
    const char* what;
    bool insert;
    int bank;
    int position;
    bool banksInUse;
    const char* names;  // channels 0-8
    int size0;
    int size1;
  };
  const Case cases[] = {
      {"insert into bank 0", true, 0, 1, true, "CH0 INI1 CH1 CH2 CH3 CH4 CH5 CH6 FREE7", 5, 3},
      {"insert at the end of bank 0", true, 0, 4, true, "CH0 CH1 CH2 CH3 INI4 CH4 CH5 CH6 FREE7", 5, 3},
      {"insert into bank 1", true, 1, 4, true, "CH0 CH1 CH2 CH3 INI4 CH4 CH5 CH6 FREE7", 4, 4},
      {"delete from bank 0", false, 0, 1, true, "CH0 CH2 CH3 CH4 CH5 CH6 FREE7 FREE8 FREE9", 3, 3},
      {"delete the last channel", false, 1, 6, true, "CH0 CH1 CH2 CH3 CH4 CH5 FREE7 FREE8 FREE9", 4, 2},
      // Without banks only the channels in use move: the list grows on insert;
      // a delete keeps its length and refills its last place from the initial image.
      {"insert without banks", true, 0, 1, false, "CH0 INI1 CH1 CH2 CH3 CH4 CH5 CH6 FREE8", 5, 3},
      {"delete without banks", false, 0, 1, false, "CH0 CH2 CH3 CH4 CH5 CH6 INI6 FREE7 FREE8", 4, 3},
  };
  for (const Case& c : cases) {
    Images images;
    ListShifter shifter(images.image, images.initial, c.banksInUse);
    if (c.insert) {
      shifter.Insert(Bank(images, c.bank), c.position);
    } else {
      shifter.Delete(Bank(images, c.bank), c.position);
    }
    EXPECT_EQ(images.Names(0, 8), c.names) << c.what;
    EXPECT_EQ(datCh::BankSize(images.image, 0), c.size0) << c.what;
    EXPECT_EQ(datCh::BankSize(images.image, 1), c.size1) << c.what;
  }
}

TEST(ListShifter, MarkersTravelWithTheirChannelsAndBankFlagsStay) {
  Images images;
  images.image.SetByte(chlayout::kAtrA, 2);
  images.image.SetByte(chlayout::kAtrB, 5);
  images.image.SetByte(chlayout::kAtrE, 3);
  images.image.SetByte(chlayout::kAtrEActive, chlayout::kAtrEActiveBit);
  datCh::SetBankFlag(images.image, 1, true);
  ListShifter shifter(images.image, images.initial, true);
  shifter.Insert(Bank(images, 0), 0);
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrA), 3);
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrB), 6);
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrE), 4);
  EXPECT_FALSE(datCh::BankFlag(images.image, 0));
  EXPECT_TRUE(datCh::BankFlag(images.image, 1));
  shifter.Delete(Bank(images, 0), 1);  // CH0 goes; CH1 (with A) and the rest move down
  EXPECT_EQ(images.Names(0, 3), "INI0 CH1 CH2 CH3");
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrA), 2);
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrB), 5);
  EXPECT_EQ(images.image.GetByte(chlayout::kAtrE), 3);
  EXPECT_EQ(images.Channel(3).atrLetters(), "E");
  EXPECT_TRUE(datCh::BankFlag(images.image, 1));
}

TEST(ListShifter, ChannelReferencesFollowTheShift) {
  Images images;
  images.image.SetByte(kPriority1Of3, 5);
  ListShifter shifter(images.image, images.initial, true);
  shifter.Insert(Bank(images, 0), 2);
  EXPECT_EQ(images.image.GetByte(kPriority1Of3), 6);
  shifter.Delete(Bank(images, 0), 0);
  EXPECT_EQ(images.image.GetByte(kPriority1Of3), 5);
  EXPECT_EQ(images.Name(5), "CH5");
}

TEST(ListShifter, AliasEntriesShiftWithinTheCountInUse) {
  Images images;
  for (int n = 0; n < 100; ++n) images.SetAlias(images.initial, n, 'z');
  for (int n = 0; n < 4; ++n) images.SetAlias(images.image, n, static_cast<char>('a' + n));
  memmap::SetAliasCount(images.image, 4);
  const RecordList aliases{recordkind::kAlias, 0, 3};
  ListShifter shifter(images.image, images.initial, true);
  shifter.Insert(aliases, 1);
  EXPECT_EQ(images.AliasLetters(0, 5), std::string("azbcd") + '\0');
  EXPECT_EQ(memmap::AliasCount(images.image), 5);
  shifter.Delete(aliases, 0);
  EXPECT_EQ(images.AliasLetters(0, 4), "zbcdz");
  EXPECT_EQ(memmap::AliasCount(images.image), 4);
  // Places outside the entries in use change nothing.
  const cmcEeprom before = images.image;
  shifter.Insert(aliases, 5);
  shifter.Delete(aliases, 4);
  EXPECT_EQ(images.image, before);
}

}  // namespace
