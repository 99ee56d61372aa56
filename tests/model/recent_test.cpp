#include "model/recent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const cmcRecent& recent) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < recent.Count(); ++i) names.push_back(recent.At(i));
  return names;
}

using NameList = std::vector<std::string>;

TEST(RecentTest, AddingAgainMovesToTheFrontAndTheEleventhPushesOutTheOldest) {
  cmcRecent recent(10);
  for (int i = 0; i < 10; ++i) recent.AddFirst("/d/" + std::to_string(i) + ".rwc");
  recent.AddFirst("/d/3.rwc");
  EXPECT_EQ(recent.Count(), 10u);
  EXPECT_EQ(recent.At(0), "/d/3.rwc");
  EXPECT_EQ(recent.At(9), "/d/0.rwc");
  recent.AddFirst("/d/new.rwc");
  EXPECT_EQ(recent.Count(), 10u);
  EXPECT_EQ(recent.At(0), "/d/new.rwc");
  EXPECT_EQ(recent.At(9), "/d/1.rwc");
  EXPECT_EQ(recent.At(10), "");
}

TEST(RecentTest, NamesDifferingInCaseAreDifferentFiles) {
  cmcRecent recent(10);
  recent.AddFirst("/d/radio.rwc");
  recent.AddFirst("/d/RADIO.rwc");
  EXPECT_EQ(Names(recent), (NameList{"/d/RADIO.rwc", "/d/radio.rwc"}));
  recent.Remove("/d/Radio.rwc");
  EXPECT_EQ(recent.Count(), 2u);
}

TEST(RecentTest, AddLastKeepsStoredOrderAndIgnoresOverflow) {
  cmcRecent recent(3);
  for (const char* name : {"a", "b", "a", "c", "d"}) recent.AddLast(name);
  EXPECT_EQ(Names(recent), (NameList{"b", "a", "c"}));
  recent.Remove("a");
  EXPECT_EQ(Names(recent), (NameList{"b", "c"}));
  recent.Clear();
  EXPECT_EQ(recent.Count(), 0u);
}

TEST(RecentTest, DisplayNameShortensFilesOfTheCurrentFolder) {
  cmcRecent recent(10);
  recent.AddFirst("/home/u/other/b.rwc");
  recent.AddFirst("/home/u/radios/a.rwc");
  recent.AddFirst("plain.rwc");
  struct Case {
    std::size_t index;
    std::string folder;
    std::string shown;
  };
  for (const Case& c : std::vector<Case>{
           {1, "/home/u/radios", "a.rwc"},
           {1, "/home/u/radios/", "a.rwc"},
           {1, "/home/u/Radios", "/home/u/radios/a.rwc"},
           {2, "/home/u/radios", "/home/u/other/b.rwc"},
           {0, "/home/u/radios", "plain.rwc"},
           {3, "/home/u/radios", ""},
       }) {
    EXPECT_EQ(recent.DisplayName(c.index, c.folder), c.shown) << c.index << " in " << c.folder;
  }
}

}  // namespace
