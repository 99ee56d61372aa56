#include "core/scrblock.h"

#include <gtest/gtest.h>

namespace {

TEST(ScrBlock, SplitsCommandAndArguments) {
  struct Case {
    std::string text;
    std::string command;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"SPEED 38400", "SPEED", {"38400"}},
      {"SEND  a , b,,\tc ", "SEND", {"a", "b", "", "c"}},
      {"RESET", "RESET", {}},
      {"RESET   ", "RESET", {}},
      {"\tWAIT\t 10", "WAIT", {"10"}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    cmcScrBlock block(c.text);
    EXPECT_EQ(block.Command(), c.command) << c.text;
    ASSERT_EQ(block.ArgCount(), c.args.size()) << c.text;
    for (std::size_t i = 0; i < c.args.size(); ++i) EXPECT_EQ(block.Arg(i), c.args[i]) << c.text;
    EXPECT_EQ(block.Arg(c.args.size()), "");
  }
}

}  // namespace
