#include "model/eeprom.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

TEST(Eeprom, ResizeClearsAndCopiesCompareBytes) {
  cmcEeprom image(16);
  image.Fill(0xAA);
  image.Resize(16);
  EXPECT_EQ(image.GetByte(15), 0);
  image.Resize(0);
  EXPECT_EQ(image.Size(), 0);
  image.Fill(1);  // no array: nothing happens

  cmcEeprom a(cmcEeprom::kImageSize);
  cmcEeprom b = a;
  EXPECT_EQ(a, b);
  b.SetByte(cmcEeprom::kImageSize - 1, 1);
  EXPECT_NE(a, b);
  a = b;
  EXPECT_EQ(a, b);
  EXPECT_NE(cmcEeprom(4), cmcEeprom(5));
}

TEST(Eeprom, WordsAreBigEndian) {
  cmcEeprom image(4);
  image.SetWord(1, 0x3620);
  EXPECT_EQ(image.GetByte(1), 0x36);
  EXPECT_EQ(image.GetByte(2), 0x20);
  EXPECT_EQ(image.GetWord(1), 0x3620);
}

TEST(Eeprom, BlockCopiesOutsideTheImageDoNothing) {
  cmcEeprom image(8);
  const std::uint8_t source[4] = {1, 2, 3, 4};
  image.WriteBlock(5, source, 4);  // would end past the image
  image.WriteBlock(-1, source, 4);
  image.WriteBlock(0, source, 0);
  EXPECT_EQ(image, cmcEeprom(8));
  image.WriteBlock(4, source, 4);
  std::uint8_t back[4] = {9, 9, 9, 9};
  image.ReadBlock(6, back, 4);
  EXPECT_EQ(back[0], 9);
  image.ReadBlock(4, back, 4);
  EXPECT_EQ(back[3], 4);
}

TEST(Eeprom, OutOfImageByteAccessIsFatal) {
  FatalTrap trap;
  cmcEeprom image(8);
  EXPECT_TRUE(image.IsValidAddress(7));
  EXPECT_FALSE(image.IsValidAddress(8));
  EXPECT_FALSE(image.IsValidAddress(-1));
  try {
    image.SetByte(8, 0);
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Out of EEPROM image address (SetByte).");
  }
  try {
    image.GetByte(-1);
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Out of EEPROM image address (GetByte).");
  }
}
