#include "sheet/segmenttext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/charset.h"

namespace {

Charset SmallTable() {
  std::string why;
  std::optional<Charset> charset =
      Charset::Parse("20\tU+0020\t0000\n2E\t.\t0400\n41\tA\t0001\n42\tB\t0002\n43\tC\t0003\nA0\t\xC2\xB7\t0004\n", why);
  EXPECT_TRUE(charset) << why;
  return *charset;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

TEST(SegmentText, OpensOnTheTextWithoutPadding) {
  const Charset table = SmallTable();
  const std::vector<std::uint8_t> field = Bytes("AB  ");
  SegmentText atEnd(table, field, 4, true);
  EXPECT_EQ(atEnd.Text(), "AB");
  EXPECT_EQ(atEnd.Caret(), 2u);
  EXPECT_EQ(atEnd.SelectionLength(), 0u);
  SegmentText selected(table, field, 4, false);
  EXPECT_EQ(selected.SelectionStart(), 0u);
  EXPECT_EQ(selected.SelectionLength(), 2u);
  EXPECT_EQ(selected.Patterns(), (std::vector<std::uint16_t>{1, 2}));
}

TEST(SegmentText, InsertionReplacesTheSelection) {
  const Charset table = SmallTable();
  SegmentText text(table, Bytes("ABC"), 4, false);
  ASSERT_TRUE(text.Insert('B'));
  EXPECT_EQ(text.Text(), "B");
  text.Select(0, 0);
  ASSERT_TRUE(text.Insert('A'));
  EXPECT_EQ(text.Text(), "AB");
  EXPECT_EQ(text.Caret(), 1u);
}

TEST(SegmentText, InsertionStopsAtTheMaximum) {
  const Charset table = SmallTable();
  SegmentText text(table, Bytes("ABC"), 3, true);
  EXPECT_FALSE(text.Insert('A'));
  EXPECT_FALSE(text.Type('B'));
  EXPECT_EQ(text.Text(), "ABC");
  // Over a selection the same insertion fits.
  text.Select(1, 2);
  ASSERT_TRUE(text.Insert('A'));
  EXPECT_EQ(text.Text(), "AAC");
}

TEST(SegmentText, TheDotKeyGivesCodeA0AsACharacter) {
  const Charset table = SmallTable();
  SegmentText text(table, Bytes("A"), 4, true);
  ASSERT_TRUE(text.Type('.'));
  EXPECT_EQ(text.Codes(), (std::vector<std::uint8_t>{'A', 0xA0}));
  EXPECT_EQ(text.Text(), "A\xC2\xB7");  // "·", valid UTF-8, not a lone byte A0
  EXPECT_FALSE(text.Type('z'));         // not in the table
  EXPECT_EQ(text.Codes().size(), 2u);
}

TEST(SegmentText, EditedTextIsTakenOnlyWhenTheFieldHoldsIt) {
  const Charset table = SmallTable();
  SegmentText text(table, Bytes("AB"), 3, true);
  struct Case {
    std::string typed;
    bool taken;
  };
  for (const Case& c : std::vector<Case>{
           {"CBA", true}, {"ABCA", false}, {"AxB", false}, {"A\xC2\xB7", true}, {"\xA0", false}, {"", true}}) {
    const std::string before = text.Text();
    EXPECT_EQ(text.SetText(c.typed, 1), c.taken) << c.typed;
    EXPECT_EQ(text.Text(), c.taken ? c.typed : before) << c.typed;
  }
  EXPECT_EQ(text.Caret(), 0u);  // held to the empty text
}

TEST(SegmentText, AFieldLongerThanTheMaximumIsCut) {
  const Charset table = SmallTable();
  SegmentText text(table, Bytes("ABCAB"), 3, true);
  EXPECT_EQ(text.Text(), "ABC");
}

}  // namespace
