#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "model/ch.h"
#include "support/child_process.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ChildResult Channels(const std::vector<std::string>& operands) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli"), "channels"};
  argv.insert(argv.end(), operands.begin(), operands.end());
  return RunChild(argv, {{{"RWQ_DATA_DIR", kDataDir}}, ""});
}

}  // namespace

TEST(ChannelsCommand, ListsTheSixteenPmr446ChannelsOfThePmrInitialFile) {
  ChildResult run = Channels({kDataDir + "/Initial_PMR.rwc"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 17u) << run.out;
  EXPECT_TRUE(lines[0].starts_with("No ")) << lines[0];
  for (int channel = 0; channel < 16; ++channel) {
    const std::string& row = lines[channel + 1];
    char number[16];
    std::snprintf(number, sizeof number, "1-%3d", channel + 1);
    EXPECT_TRUE(row.starts_with(number)) << row;
    std::uint32_t hertz = 446006250 + 12500 * channel;
    char mhz[16];
    std::snprintf(mhz, sizeof mhz, "%u.%06u", hertz / 1000000, hertz % 1000000);
    EXPECT_NE(row.find(std::string(mhz) + "  " + mhz), std::string::npos) << row;
    EXPECT_NE(row.find("PMR " + std::to_string(channel + 1)), std::string::npos) << row;
  }
  EXPECT_TRUE(lines[1].ends_with("AB")) << lines[1];
}

TEST(ChannelsCommand, ListsNothingForTheLandMobileInitialFile) {
  ChildResult run = Channels({kDataDir + "/Initial_LMR.rwc"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out).size(), 1u) << run.out;
}

TEST(ChannelsCommand, AMissingFileFailsAndWrongArgumentsAreAUsageError) {
  ChildResult missing = Channels({kDataDir + "/no such file.rwc"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("The file cannot be opened."), std::string::npos) << missing.err;
  EXPECT_EQ(Channels({}).status, 2);
  EXPECT_EQ(Channels({"a", "b"}).status, 2);
}
