#include "core/hash.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/hash2.h"
#include "support/fatal_trap.h"

namespace {

TEST(HashBucket, FollowsTheStepRule) {
  // Worked by hand for m = 101 (step 50):
  // "A": h = 0*2 + 50 + 65 = 115; the terminator is even, step stays; 115 % 101 = 14.
  // "AC": 'C' (67) is odd, so after 'A' step = 25; h = 115*2 + 25 + 67 = 322; 322 % 101 = 19.
  EXPECT_EQ(HashBucket("A", 101), 14u);
  EXPECT_EQ(HashBucket("AC", 101), 19u);
  // "a" then 'a' (97, odd): h = 50+97 = 147, step 25; h = 294+25+97 = 416; 416 % 101 = 12.
  EXPECT_EQ(HashBucket("aa", 101), 12u);
  // A byte above 127 counts as negative: 0xFF is -1, h = 50 - 1 = 49.
  EXPECT_EQ(HashBucket("\xFF", 101), 49u);
  // The step halves down to 0 and starts again at m / 2: "aaa" with m = 4 (step 2).
  // h = 2+97 = 99, step 1; h = 198+1+97 = 296, step 0 -> 2; h = 592+2+97 = 691; 691 % 4 = 3.
  EXPECT_EQ(HashBucket("aaa", 4), 3u);
  EXPECT_EQ(HashBucket("", 0), 0u);
  EXPECT_EQ(HashBucket("A", 0), 580u);  // 0 buckets mean 1,031 (step 515)
}

TEST(Hash, InsertFindAndOverlap) {
  FatalTrap trap;
  cmcHash table(101);
  const std::pair<const char*, std::int32_t> entries[] = {{"clRed", 1}, {"clBlue", 2}, {"clred", 3}, {"", 4}};
  for (auto [key, value] : entries) table.Insert(key, value);
  for (auto [key, value] : entries) {
    ASSERT_NE(table.Find(key), nullptr) << key;
    EXPECT_EQ(*table.Find(key), value);
  }
  EXPECT_EQ(table.Find("clGreen"), nullptr);
  EXPECT_EQ(table.Find("clRed "), nullptr);
  try {
    table.Insert("clBlue", 9);
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Overlapped Hash table.");
  }
  EXPECT_EQ(*table.Find("clBlue"), 2);
  EXPECT_EQ(cmcHash().BucketCount(), 1031u);
}

TEST(Hash2, HoldsOwnedEntriesAndRefusesOverlap) {
  FatalTrap trap;
  cmcHash2<std::unique_ptr<std::string>> table(1);  // one bucket: every key collides
  table.Insert("GI_Sheet_A#5", std::make_unique<std::string>("five"));
  table.Insert("GI_Sheet_A#6", std::make_unique<std::string>("six"));
  EXPECT_EQ(**table.Find("GI_Sheet_A#5"), "five");
  EXPECT_EQ(**table.Find("GI_Sheet_A#6"), "six");
  EXPECT_EQ(table.Find("GI_Sheet_A#7"), nullptr);
  try {
    table.Insert("GI_Sheet_A#5", nullptr);
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Overlapped Hash2 table.");
  }
}

}  // namespace
