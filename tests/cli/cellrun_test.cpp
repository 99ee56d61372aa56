// `cell show|key|type|choose`: the evaluator from the command line, and a new
// channel made on the land-mobile initial file step by step.

#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

ChildResult Cli(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli")};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv);
}

const std::string kInitialLmr = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_LMR.rwc";

TEST(CellRunCommand, ANewChannelIsMadeOnTheBlankRowAndListedAfterSaving) {
  TempDir dir;
  const std::string created = dir.File("created.rwc");
  struct Step {
    std::vector<std::string> args;  // after "cell"
    std::string out;
  };
  const std::string file = created;
  const Step steps[] = {
      {{"show", kInitialLmr, "CT_Mch", "CL_Mch_No", "0"}, "New\nmarks=0 colour=none\n"},
      // A digit on any cell of the blank row begins entering its frequency.
      {{"key", kInitialLmr, "CT_Mch", "CL_Mch_Dup", "0", "49"},
       "1\nmarks=0 colour=none\nchanges=1 editor=2 caret=1 redirect=CL_Mch_Operating_Freq\n"},
      {{"type", kInitialLmr, "CT_Mch", "CL_Mch_Operating_Freq", "0", "146.52", "--out", file},
       "146.520000\nmarks=0 colour=none\nchanges=13 editor=0\n"},
      {{"show", file, "CT_Mch", "CL_Mch_Offset_Freq", "0"}, "0.000000\nmarks=0 colour=192,192,192\n"},
      {{"key", file, "CT_Mch", "CL_Mch_Tone", "0", "13"},
       "Off\nmarks=0 colour=none\nchanges=1 editor=1 choice GI_Sheet_Sel_Mch_Tone column=Flex0(1) current=0\n"},
      {{"choose", file, "CT_Mch", "CL_Mch_Tone", "0", "Flex0", "1", "--out", file},
       "Tone\nmarks=0 colour=none\nchanges=9 editor=0\n"},
      {{"choose", file, "CT_Mch", "CL_Mch_Tone_Freq", "0", "Flex0", "12", "--out", file},
       "100.0\nmarks=0 colour=none\nchanges=9 editor=0\n"},
      {{"choose", file, "CT_Mch", "CL_Mch_RfPo", "0", "1", "2", "--out", file},  // column by number
       "Low (1 W)\nmarks=0 colour=none\nchanges=9 editor=0\n"},
      {{"key", file, "CT_Mch", "CL_Mch_Dup", "0", "32", "--out", file},
       "Plus\nmarks=0 colour=none\nchanges=9 editor=0\n"},
      {{"type", file, "CT_Mch", "CL_Mch_Offset_Freq", "0", "0.6", "--out", file},
       "0.600000\nmarks=0 colour=none\nchanges=9 editor=0\n"},
      {{"show", file, "CT_Mch", "CL_Mch_FreqT", "0"}, "147.120000\nmarks=0 colour=none\n"},
  };
  for (const Step& step : steps) {
    std::vector<std::string> args = {"cell"};
    args.insert(args.end(), step.args.begin(), step.args.end());
    ChildResult result = Cli(args);
    EXPECT_EQ(result.status, 0) << step.args[0] << ' ' << step.args[3] << ": " << result.err;
    EXPECT_EQ(result.out, step.out) << step.args[0] << ' ' << step.args[3];
  }
  ChildResult listed = Cli({"channels", created});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("1-  1   146.520000  147.120000  +   0.600000   1  12   0   0 0          2"),
            std::string::npos)
      << listed.out;
  // The initial file itself is untouched.
  EXPECT_EQ(Cli({"cell", "show", kInitialLmr, "CT_Mch", "CL_Mch_No", "0"}).out, "New\nmarks=0 colour=none\n");
}

TEST(CellRunCommand, BadOperandsAreUsageErrorsAndUnbuiltLinksSayYet) {
  EXPECT_EQ(Cli({"cell", "show", kInitialLmr, "CT_Mch", "CL_Nope", "0"}).status, 2);
  EXPECT_EQ(Cli({"cell", "show", kInitialLmr, "CT_Nope", "CL_Mch_No", "0"}).status, 2);
  EXPECT_EQ(Cli({"cell", "key", kInitialLmr, "CT_Mch", "CL_Mch_No", "0", "x"}).status, 2);
  EXPECT_EQ(Cli({"cell", "show", kInitialLmr, "CT_Mch", "CL_Mch_No", "0", "--out", "x"}).status, 2);
  EXPECT_EQ(Cli({"cell", "show", "/nonexistent.rwc", "CT_Mch", "CL_Mch_No", "0"}).status, 1);
  ChildResult yet = Cli({"cell", "show", kInitialLmr, "CT_Null", "CL_Mch_2Tone", "0"});
  EXPECT_EQ(yet.status, 0);
  EXPECT_EQ(yet.out, "164 *Yet*\nmarks=0 colour=none\n");
}

}  // namespace
