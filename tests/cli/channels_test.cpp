#include <gtest/gtest.h>

#include <cstdio>
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

namespace {

std::string Temp(const std::string& name) { return ::testing::TempDir() + "/channels_" + name; }

void Write(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

}  // namespace

TEST(ChannelsCommand, WritesThePmrChannelsAsCommaSeparatedText) {
  ChildResult run = Channels({kDataDir + "/Initial_PMR.rwc", "--csv"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(run.out.starts_with(
      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Power,"
      "Comment,Bank,rec.inh,"))
      << run.out;
  EXPECT_NE(run.out.find("\r\n1,PMR 1,446.006250,,0.000000,TSQL,67.0,67.0,023,NN,FM,5,S,High (5 W),,1,0,"),
            std::string::npos);
  EXPECT_EQ(Lines(run.out).size(), 17u);
}

TEST(ChannelsCommand, ImportsAndSavesAndExportsTheSameTextAgain) {
  ChildResult exported = Channels({kDataDir + "/Initial_PMR.rwc", "--csv"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string csvPath = Temp("pmr.csv");
  const std::string out = Temp("pmr.rwc");
  Write(csvPath, exported.out);
  ChildResult imported = Channels({"import", kDataDir + "/Initial_VexlPMR.rwc", csvPath, "--out", out});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "16 channel lines imported into " + out + "\n");
  ChildResult again = Channels({out, "--csv"});
  EXPECT_EQ(again.out, exported.out);
}

TEST(ChannelsCommand, ARefusedLineIsReportedAndNothingSavedUnlessSkipped) {
  const std::string csvPath = Temp("bad.csv");
  const std::string out = Temp("bad.rwc");
  std::remove(out.c_str());
  Write(csvPath, "Frequency,Name\n146.52,GOOD\n150,HIGH\n146.5213,GRID\n");
  ChildResult refused = Channels({"import", kDataDir + "/Initial_LMR.rwc", csvPath, "--out", out});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find(csvPath + ": line 3: Frequency 150 MHz is outside the radio's range"), std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find(csvPath + ": line 4: Frequency 146.5213 MHz is not on the channel grid"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(std::fopen(out.c_str(), "rb"), nullptr);

  ChildResult skipped = Channels({"import", kDataDir + "/Initial_LMR.rwc", csvPath, "--out", out, "--skip-bad"});
  EXPECT_EQ(skipped.status, 0) << skipped.err;
  EXPECT_NE(skipped.err.find("line 3: skipped: "), std::string::npos) << skipped.err;
  ChildResult listed = Channels({out, "--csv"});
  ASSERT_EQ(Lines(listed.out).size(), 2u) << listed.out;
  EXPECT_TRUE(Lines(listed.out)[1].starts_with("1,GOOD,146.520000,")) << listed.out;
}

TEST(ChannelsCommand, ImportNeedsItsOperandsAndAReadableFile) {
  EXPECT_EQ(Channels({kDataDir + "/Initial_PMR.rwc", "--xml"}).status, 2);
  EXPECT_EQ(Channels({"import", kDataDir + "/Initial_PMR.rwc", "x.csv"}).status, 2);
  EXPECT_EQ(Channels({"import", kDataDir + "/Initial_PMR.rwc", "x.csv", "--out"}).status, 2);
  EXPECT_EQ(Channels({"import", kDataDir + "/Initial_PMR.rwc", "x.csv", "--to", "o.rwc"}).status, 2);
  ChildResult missing = Channels({"import", kDataDir + "/Initial_PMR.rwc", Temp("none.csv"), "--out", Temp("o.rwc")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
}
