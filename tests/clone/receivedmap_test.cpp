#include "clone/receivedmap.h"

#include <gtest/gtest.h>

namespace {

using receivedmap::Ranges;

TEST(ReceivedMapTest, MarksBitAddressMod8OfByteAddressDiv8) {
  cmcBuff map;
  receivedmap::Mark(map, 9, 3);
  ASSERT_EQ(map.Length(), 2u);
  EXPECT_EQ(map.Data()[0], 0x00);
  EXPECT_EQ(map.Data()[1], 0x0E);
  EXPECT_TRUE(receivedmap::IsMarked(map, 11));
  EXPECT_FALSE(receivedmap::IsMarked(map, 12));
  EXPECT_FALSE(receivedmap::IsMarked(map, 1000));
  EXPECT_FALSE(receivedmap::IsMarked(map, -1));
}

TEST(ReceivedMapTest, TheListEndsAtTheFirstRangeWhoseEndIsBelowItsStart) {
  const memmap::AddressRange list[] = {{0, 15}, {32, 47}, {1, 0}, {64, 79}};
  EXPECT_EQ(receivedmap::ActiveRanges(list), (Ranges{{0, 15}, {32, 47}}));
}

TEST(ReceivedMapTest, CoverageComparesTheReceivedAddressesWithTheRanges) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> received;  // address, length
    Ranges ranges;
    CloneCode code;
  };
  const Case cases[] = {
      {"exact", {{0, 16}, {16, 16}, {32, 4}}, {{0, 0x23}}, CloneCode::kSuccess},
      {"two ranges", {{0x10, 16}, {0x40, 8}}, {{0x10, 0x1F}, {0x40, 0x47}}, CloneCode::kSuccess},
      {"one missing", {{0, 16}, {16, 16}, {32, 3}}, {{0, 0x23}}, CloneCode::kAddressesMissing},
      {"one beyond", {{0, 16}, {16, 16}, {32, 5}}, {{0, 0x23}}, CloneCode::kAddressOutside},
      {"outside and missing", {{0x100, 1}}, {{0, 0x23}}, CloneCode::kAddressOutside},
      {"range beyond the map", {{0, 16}}, {{0, 0x7FFFFFFF}}, CloneCode::kAddressesMissing},
      {"negative range", {{0, 16}}, {{-4, 15}}, CloneCode::kAddressesMissing},
  };
  for (const Case& c : cases) {
    cmcBuff map;
    for (auto [address, length] : c.received) receivedmap::Mark(map, address, length);
    EXPECT_EQ(receivedmap::Coverage(map, c.ranges), c.code) << c.what;
  }
}

}  // namespace
