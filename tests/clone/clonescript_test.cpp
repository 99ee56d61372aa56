#include "clone/clonescript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each segment as "(settings)" or as its bytes in hexadecimal.
std::vector<std::string> Segments(std::string_view text) {
  CloneScript script;
  script.Set(text);
  std::vector<std::string> out;
  while (std::optional<CloneScript::Segment> segment = script.TakeSegment()) {
    if (segment->kind == CloneScript::Segment::Kind::kSettings) {
      out.push_back("(" + segment->settings + ")");
    } else {
      std::string hex;
      for (std::uint8_t byte : segment->bytes.Bytes()) hex += std::to_string(byte) + " ";
      out.push_back(hex);
    }
  }
  EXPECT_TRUE(script.Empty());
  return out;
}

TEST(CloneScriptTest, SettingsSegmentsAndHexadecimalSegmentsAlternate) {
  EXPECT_EQ(Segments("(38400,N,8,1)FEFE(9600,N,8,1)"),
            (std::vector<std::string>{"(38400,N,8,1)", "254 254 ", "(9600,N,8,1)"}));
  EXPECT_EQ(Segments("fe fe EE EF E8 0a(9600,N,8,1)"),
            (std::vector<std::string>{"254 254 238 239 232 10 ", "(9600,N,8,1)"}));
  EXPECT_EQ(Segments("F"), (std::vector<std::string>{"240 "})) << "an odd last digit fills a high nibble";
  EXPECT_EQ(Segments(""), (std::vector<std::string>{}));
}

TEST(CloneScriptTest, AnUnclosedSettingsSegmentTakesTheRestAndEndsTheScript) {
  EXPECT_EQ(Segments("(9600,N,8,1"), (std::vector<std::string>{"(9600,N,8,1)"}));
  EXPECT_EQ(Segments("FE(38400"), (std::vector<std::string>{"254 ", "(38400)"}));
  EXPECT_EQ(Segments("()FE"), (std::vector<std::string>{"()", "254 "}));
}

}  // namespace
