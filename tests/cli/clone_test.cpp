#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "cli/cli.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

struct CloneRun {
  int status;
  std::string out;
};

CloneRun RunClone(std::vector<std::string> words) {
  setenv("RWQ_DATA_DIR", kDataDir.c_str(), 1);
  words.insert(words.begin(), {"rw-m52-q-cli", "clone"});
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  std::ostringstream out, err;
  int status = cli::Run(static_cast<int>(argv.size()), argv.data(), out, err);
  unsetenv("RWQ_DATA_DIR");
  return {status, out.str()};
}

std::string Initial(const char* name) { return kDataDir + "/" + name; }

}  // namespace

TEST(CloneCommand, CheckPrintsModelCodeMapRevisionAndModelType) {
  CloneRun run = RunClone({"check", Initial("Initial_VexlPMR.rwc")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "model code 3620\nmap revision 7\nmodel type 2\n");
  for (std::vector<std::string> wrong :
       {std::vector<std::string>{}, {"check"}, {"dump", "a", "--raw"}, {"diff", "a"}, {"frob", "a"}}) {
    EXPECT_EQ(RunClone(wrong).status, 2);
  }
}

TEST(CloneCommand, CheckOfABadFileFailsWithTheMessageOnStderr) {
  TempDir dir;
  std::string bad = dir.Write("bad.rwc", "36200006\r\nnot hex\r\n");
  ChildResult result =
      RunChild({BuiltProgram("rw-m52-q-cli"), "clone", "check", bad}, {{{"RWQ_DATA_DIR", kDataDir}}, ""});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("The file is damaged or is not a clone file."), std::string::npos) << result.err;
}

TEST(CloneCommand, CheckOfAFileWithAMapRevisionAfterItsDataPrintsNothing) {
  TempDir dir;
  const std::string late = dir.Write("late.rwc", ReadWholeFile(Initial("Initial_LMR.rwc")) + "#MapRev=99999999999\r\n");
  CloneRun run = RunClone({"check", late});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
}

TEST(CloneCommand, DumpShowsSixteenBytesALine) {
  CloneRun raw = RunClone({"dump", Initial("Initial_LMR.rwc")});
  EXPECT_EQ(raw.status, 0);
  EXPECT_TRUE(raw.out.starts_with("0000: 00 00")) << raw.out.substr(0, 60);
  EXPECT_NE(raw.out.find("\n0100: 36 20 01 00"), std::string::npos);
  EXPECT_EQ(std::count(raw.out.begin(), raw.out.end(), '\n'), 0x7D8);
  CloneRun work = RunClone({"dump", Initial("Initial_PMR.rwc"), "--work"});
  EXPECT_TRUE(work.out.starts_with("7D80: 00"));
  EXPECT_NE(work.out.find("\n7F80: 1A 95 83 EA 1A 95 83 EA"), std::string::npos);  // 446.006250 MHz
  EXPECT_NE(work.out.find("\nC180: "), std::string::npos);
}

TEST(CloneCommand, RoundTripKeepsTheFileAndDiffListsChangedBytes) {
  TempDir dir;
  for (const char* name : {"Initial_LMR.rwc", "Initial_dPMR446.rwc"}) {
    ASSERT_EQ(RunClone({"roundtrip", Initial(name), dir.File(name)}).status, 0);
    EXPECT_EQ(ReadWholeFile(dir.File(name)), ReadWholeFile(Initial(name)));
  }
  EXPECT_EQ(RunClone({"diff", Initial("Initial_PMR.rwc"), Initial("Initial_PMR.rwc")}).out, "");
  CloneRun diff = RunClone({"diff", Initial("Initial_PMR.rwc"), Initial("Initial_VexlPMR.rwc")});
  EXPECT_EQ(diff.status, 0);
  EXPECT_FALSE(diff.out.empty());
  EXPECT_TRUE(diff.out.starts_with("0211 ")) << diff.out.substr(0, 40);  // the Vexl blocks move the low-group end
  EXPECT_EQ(RunClone({"diff", Initial("Initial_PMR.rwc"), dir.File("none.rwc")}).status, 1);
}

TEST(CloneCommand, SetWritesRawOrWorkBytesAndDiffListsExactlyThem) {
  TempDir dir;
  const std::string set = dir.File("set.rwc");
  ASSERT_EQ(RunClone({"set", Initial("Initial_LMR.rwc"), "0x010B", "5A", "--out", set}).status, 0);
  EXPECT_EQ(RunClone({"diff", Initial("Initial_LMR.rwc"), set}).out, "010B 00 5A\n");
  const std::string work = dir.File("work.rwc");
  ASSERT_EQ(RunClone({"set", Initial("Initial_LMR.rwc"), "A965", "a0", "01", "--out", work}).status, 0);
  const std::string dump = RunClone({"dump", work, "--work"}).out;
  EXPECT_NE(dump.find("A960: 00 00 00 00 00 A0 01 00"), std::string::npos);
  // Bad operands change nothing and write no file.
  const std::string none = dir.File("none.rwc");
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"set", Initial("Initial_LMR.rwc"), "C187", "00", "--out", none},
           {"set", Initial("Initial_LMR.rwc"), "C186", "00", "00", "--out", none},
           {"set", Initial("Initial_LMR.rwc"), "10G", "00", "--out", none},
           {"set", Initial("Initial_LMR.rwc"), "0100", "100", "--out", none},
           {"set", Initial("Initial_LMR.rwc"), "0100", "--out", none},
           {"set", Initial("Initial_LMR.rwc"), "0100", "00", none},
       }) {
    EXPECT_EQ(RunClone(bad).status, 2) << bad[2] << ' ' << bad[3];
  }
  EXPECT_FALSE(std::filesystem::exists(none));
}
