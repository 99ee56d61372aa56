#include "core/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

TEST(Csv, QuotesOnlyTheFieldsThatNeedIt) {
  struct Case {
    std::string text;
    std::string written;
  };
  const Case cases[] = {{"plain", "plain"},
                        {"", ""},
                        {"a,b", "\"a,b\""},
                        {"say \"hi\"", "\"say \"\"hi\"\"\""},
                        {"two\nlines", "\"two\nlines\""},
                        {"cr\r", "\"cr\r\""},
                        {" spaced ", " spaced "}};
  for (const Case& c : cases) EXPECT_EQ(csv::Field(c.text), c.written) << c.text;
  EXPECT_EQ(csv::Line(Fields{"1", "a,b", ""}), "1,\"a,b\",\r\n");
}

TEST(Csv, ReadsWhatItWritesWhateverTheLineEnds) {
  const Fields fields = {"x", "a,b", "say \"hi\"", "", "two\nlines"};
  std::string written = csv::Line(fields) + csv::Line(Fields{"last"});
  for (std::string text : {written, "\xEF\xBB\xBF" + written}) {
    csv::Table table = csv::Parse(text);
    EXPECT_EQ(table.unterminatedLine, 0);
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[0].fields, fields);
    EXPECT_EQ(table.records[0].line, 1);
    EXPECT_EQ(table.records[1].fields, Fields{"last"});
    EXPECT_EQ(table.records[1].line, 3);  // the quoted line break counts
  }
}

TEST(Csv, TakesLfCrAndCrLfAndSkipsBlankLines) {
  for (std::string end : {"\n", "\r", "\r\n"}) {
    csv::Table table = csv::Parse("a,b" + end + end + "c" + end);
    ASSERT_EQ(table.records.size(), 2u) << end.size();
    EXPECT_EQ(table.records[0].fields, (Fields{"a", "b"}));
    EXPECT_EQ(table.records[1].fields, Fields{"c"});
    EXPECT_EQ(table.records[1].line, 3);
  }
  // The last line needs no end, and a lone byte-order mark is no record.
  EXPECT_EQ(csv::Parse("a").records.size(), 1u);
  EXPECT_TRUE(csv::Parse("\xEF\xBB\xBF").records.empty());
}

TEST(Csv, IsLenientWithStrayQuotesAndReportsAnOpenOne) {
  csv::Table stray = csv::Parse("ab\"c,\"q\"x\n");
  ASSERT_EQ(stray.records.size(), 1u);
  EXPECT_EQ(stray.records[0].fields, (Fields{"ab\"c", "qx"}));
  csv::Table open = csv::Parse("a\nb,\"never\nclosed");
  EXPECT_EQ(open.unterminatedLine, 2);
}

}  // namespace
