#include "core/textutil.h"

#include <gtest/gtest.h>

namespace {

TEST(TextUtil, PrintableAndRange) {
  EXPECT_TRUE(IsPrintable(' '));
  EXPECT_TRUE(IsPrintable('~'));
  EXPECT_FALSE(IsPrintable(0x1F));
  EXPECT_FALSE(IsPrintable(0x7F));
  EXPECT_FALSE(IsPrintable(0xE4));
  EXPECT_TRUE(InRange(5, 5, 7));
  EXPECT_TRUE(InRange(7, 5, 7));
  EXPECT_FALSE(InRange(8, 5, 7));
  EXPECT_FALSE(InRange(4, 5, 7));
}

TEST(TextUtil, Nibbles) {
  std::vector<std::uint8_t> bytes = {0x12, 0x34};
  const std::uint8_t expected[] = {1, 2, 3, 4};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(GetNibble(bytes, i), expected[i]);
  EXPECT_EQ(GetNibble(bytes, 4), std::nullopt);
  EXPECT_TRUE(SetNibble(bytes, 0, 0xA));
  EXPECT_TRUE(SetNibble(bytes, 3, 0x1F));  // only the low four bits count
  EXPECT_FALSE(SetNibble(bytes, 4, 0));
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xA2, 0x3F}));
}

TEST(TextUtil, HexTextAndBack) {
  const std::vector<std::uint8_t> bytes = {0x00, 0x7F, 0xA5, 0xFF};
  EXPECT_EQ(BytesToHex(bytes), "007FA5FF");
  EXPECT_EQ(HexToBytes("007FA5FF"), bytes);
  EXPECT_EQ(HexToBytes("007fa5ff"), bytes);
  EXPECT_EQ(HexToBytes(""), std::vector<std::uint8_t>{});
  for (const char* bad : {"0", "0G", "1-", " 1", "123"}) EXPECT_EQ(HexToBytes(bad), std::nullopt) << bad;
}

}  // namespace

TEST(TextUtil, HexNumber) {
  struct Case {
    const char* digits;
    std::optional<std::uint32_t> value;
  };
  const Case cases[] = {
      {"0", 0u},          {"3620", 0x3620u},    {"fF", 0xFFu},        {"FFFFFFFF", 0xFFFFFFFFu},
      {"", std::nullopt}, {"1G", std::nullopt}, {" 1", std::nullopt}, {"123456789", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(HexNumber(c.digits), c.value) << c.digits;
}
