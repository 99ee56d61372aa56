// `warnings FILE` and `cell reply`: the tree's warning check and an editor's
// text reply from the command line.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/cli.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

struct Result {
  int status;
  std::string out;
};

Result RunCli(std::vector<std::string> words) {
  setenv("RWQ_DATA_DIR", kDataDir.c_str(), 1);
  words.insert(words.begin(), "rw-m52-q-cli");
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  std::ostringstream out, err;
  const int status = cli::Run(static_cast<int>(argv.size()), argv.data(), out, err);
  unsetenv("RWQ_DATA_DIR");
  return {status, out.str()};
}

TEST(WarningsCommand, EachInitialFilePrintsNothing) {
  for (const char* name : {"Initial_LMR.rwc", "Initial_PMR.rwc", "Initial_VexlPMR.rwc", "Initial_dPMR446.rwc"}) {
    const Result result = RunCli({"warnings", kDataDir + "/" + name});
    EXPECT_EQ(result.status, 0) << name;
    EXPECT_EQ(result.out, "") << name;
  }
  EXPECT_EQ(RunCli({"warnings"}).status, 2);
  EXPECT_EQ(RunCli({"warnings", kDataDir + "/none.rwc"}).status, 1);
}

TEST(CellReplyCommand, AnEditorsTextReplyNamesAChannel) {
  TempDir dir;
  const std::string file = dir.File("named.rwc");
  ASSERT_EQ(RunCli({"cell", "type", kDataDir + "/Initial_LMR.rwc", "CT_Mch", "CL_Mch_Operating_Freq", "0", "146.52",
                    "--out", file})
                .status,
            0);
  const Result reply = RunCli({"cell", "reply", file, "CT_Mch", "CL_Mch_Text", "0", "BASE", "--out", file});
  EXPECT_EQ(reply.status, 0);
  EXPECT_EQ(reply.out, "BASE    \nmarks=0 colour=none\nchanges=9 editor=0\n");
  EXPECT_EQ(RunCli({"cell", "show", file, "CT_Mch", "CL_Mch_Text", "0"}).out, "BASE    \nmarks=0 colour=none\n");
  EXPECT_EQ(RunCli({"cell", "reply", file, "CT_Mch", "CL_Mch_Text", "0"}).status, 2);
}

}  // namespace
