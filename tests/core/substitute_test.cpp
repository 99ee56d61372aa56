#include "core/substitute.h"

#include <gtest/gtest.h>

TEST(Substitute, FillsInOrderAndLeavesEverythingElseAsItStands) {
  struct Case {
    std::string pattern;
    std::string expected;
  };
  const Case cases[] = {
      {"Cannot open '%s'.", "Cannot open 'a.rwc'."},
      {"%s has %d channels", "a.rwc has 16 channels"},
      {"100%% sure: %s", "100% sure: a.rwc"},
      {"%x and %n stay", "%x and %n stay"},
      {"%s %d %s", "a.rwc 16 %s"},  // a conversion without an argument is copied
      {"trailing %", "trailing %"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Substitute(c.pattern, {"a.rwc", std::int64_t{16}}), c.expected) << c.pattern;
  }
}

TEST(Substitute, NegativeNumbers) { EXPECT_EQ(Substitute("%d Hz", {std::int64_t{-5}}), "-5 Hz"); }
