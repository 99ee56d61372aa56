#include "core/buff.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

namespace {

std::vector<std::uint8_t> Live(const cmcBuff& buffer) { return {buffer.Bytes().begin(), buffer.Bytes().end()}; }

TEST(Buff, BuildsAndConsumes) {
  cmcBuff buffer;
  EXPECT_EQ(buffer.Length(), 0u);
  EXPECT_EQ(buffer.PopFront(), -1);
  const std::uint8_t bytes[] = {1, 2, 3};
  buffer.Assign(bytes);
  buffer.PushByte(0xFF);
  buffer.AppendFill(7, 2);
  EXPECT_EQ(Live(buffer), (std::vector<std::uint8_t>{1, 2, 3, 0xFF, 7, 7}));
  EXPECT_EQ(buffer.PopFront(), 1);
  EXPECT_EQ(buffer.PopFront(), 2);
  buffer.Append(buffer);  // appending itself doubles the live bytes
  EXPECT_EQ(Live(buffer), (std::vector<std::uint8_t>{3, 0xFF, 7, 7, 3, 0xFF, 7, 7}));
  EXPECT_EQ(buffer.PopFront(), 3);
  EXPECT_EQ(buffer.PopFront(), 0xFF);  // a byte above 127 stays positive
  cmcBuff copy;
  copy.Assign(buffer);
  buffer.Compact();
  EXPECT_EQ(Live(buffer), Live(copy));
  buffer.Clear();
  EXPECT_EQ(buffer.Length(), 0u);
  EXPECT_EQ(buffer.PopFront(), -1);
}

TEST(Buff, GrowthFillsWithTheFillByteAfterShrinkingAndConsuming) {
  cmcBuff buffer;
  buffer.AppendFill(0xAA, 16);
  buffer.Resize(4);
  buffer.Resize(10);
  EXPECT_EQ(Live(buffer), (std::vector<std::uint8_t>{0xAA, 0xAA, 0xAA, 0xAA, 0, 0, 0, 0, 0, 0}));
  buffer.AppendFill(0xBB, 4);
  for (int i = 0; i < 6; ++i) buffer.PopFront();
  buffer.Resize(2);
  buffer.Resize(5);
  EXPECT_EQ(Live(buffer), (std::vector<std::uint8_t>{0, 0, 0, 0, 0}));
}

TEST(Buff, LongConsumptionKeepsTheRestIntact) {
  cmcBuff buffer;
  for (int i = 0; i < 10000; ++i) buffer.PushByte(static_cast<std::uint8_t>(i));
  for (int i = 0; i < 9000; ++i) ASSERT_EQ(buffer.PopFront(), i & 0xFF);
  ASSERT_EQ(buffer.Length(), 1000u);
  for (int i = 9000; i < 10000; ++i) ASSERT_EQ(buffer.PopFront(), i & 0xFF);
  EXPECT_EQ(buffer.PopFront(), -1);
}

TEST(Buff, AtChecksBothEnds) {
  FatalTrap trap;
  cmcBuff buffer;
  buffer.AppendFill(5, 3);
  buffer.PopFront();
  *buffer.At(1) = 9;
  EXPECT_EQ(*buffer.At(0), 5);
  EXPECT_EQ(*buffer.At(1), 9);
  for (std::ptrdiff_t bad : {std::ptrdiff_t{2}, std::ptrdiff_t{-1}, std::ptrdiff_t{-2}}) {
    try {
      buffer.At(bad);
      ADD_FAILURE() << "no fatal stop for " << bad;
    } catch (const FatalStop& stop) {
      EXPECT_STREQ(stop.what(), "Out of cmcBuff element !");
    }
  }
}

TEST(Buff, FromHex) {
  const std::pair<std::string, std::vector<std::uint8_t>> cases[] = {
      {"1A2", {0x1A, 0x20}}, {"1a-2b", {0x1A, 0x2B}}, {"", {}},
      {"xyz", {}},           {"F", {0xF0}},           {"00 ff\r\nFe", {0x00, 0xFF, 0xFE}},
  };
  for (const auto& [text, bytes] : cases) EXPECT_EQ(Live(cmcBuff::FromHex(text)), bytes) << text;
}

}  // namespace
