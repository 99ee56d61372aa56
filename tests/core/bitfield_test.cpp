#include "core/bitfield.h"

#include <gtest/gtest.h>

#include "model/eeprom.h"

namespace {

TEST(BitField, WritesKeepEveryOtherBitOfTheirBytes) {
  cmcEeprom image(16);
  image.Fill(0xFF);
  const BitField middle{4, 1, 2, 2};  // bits 3-2
  middle.Set(image.Bytes(), 1);
  EXPECT_EQ(image.GetByte(4), 0xF7);
  EXPECT_EQ(middle.Get(image.Bytes()), 1u);
  middle.Set(image.Bytes(), 0x7);  // wider than the field: only its two bits count
  EXPECT_EQ(image.GetByte(4), 0xFF);

  const BitField across{6, 2, 4, 8};  // a byte straddling two big-endian bytes
  across.Set(image.Bytes(), 0x00);
  EXPECT_EQ(image.GetByte(6), 0xF0);
  EXPECT_EQ(image.GetByte(7), 0x0F);
  across.Set(image.Bytes(), 0xA5);
  EXPECT_EQ(across.Get(image.Bytes()), 0xA5u);
  EXPECT_EQ(image.GetByte(6), 0xFA);
  EXPECT_EQ(image.GetByte(7), 0x5F);

  const BitField word{8, 4, 0, 32};
  word.Set(image.Bytes(), 146520000);
  EXPECT_EQ(word.Get(image.Bytes()), 146520000u);
}

TEST(BitField, AFieldOutsideTheImageReadsZeroAndIgnoresWrites) {
  cmcEeprom image(4);
  image.Fill(0x55);
  const BitField outside{3, 2, 0, 16};
  EXPECT_EQ(outside.Get(image.Bytes()), 0u);
  outside.Set(image.Bytes(), 0xFFFF);
  EXPECT_EQ(image.GetByte(3), 0x55);
  EXPECT_EQ((BitField{-1, 1, 0, 8}.Get(image.Bytes())), 0u);
}

}  // namespace
