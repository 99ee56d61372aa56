// `cell menu`: the record lists' pop-up menu commands from the command line,
// and `channels --refs` following them, on the PMR initial file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;
const std::string kInitialPmr = kDataDir + "/Initial_PMR.rwc";
constexpr int kScan1 = 0xAB7C;  // scan entry 1: priority channel 1 in byte 16, its mode in byte 13 bits 7-4

ChildResult Cli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {}) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli")};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv, {env, ""});
}

// The names of the channels `channels` lists, in order, joined by ",".
std::string ListedNames(const std::string& file) {
  ChildResult listed = Cli({"channels", file});
  EXPECT_EQ(listed.status, 0) << listed.err;
  std::istringstream lines(listed.out);
  std::string line;
  std::getline(lines, line);  // the header
  std::string names;
  while (std::getline(lines, line)) {
    const std::size_t at = line.find("PMR ");
    names += (names.empty() ? "" : ",") + (at == std::string::npos ? line : line.substr(at + 4, 2));
    while (!names.empty() && names.back() == ' ') names.pop_back();
  }
  return names;
}

// The PMR initial file with scan entry 1's priority channel 1 naming channel 3.
std::string FileWithAScanReference(TempDir& dir) {
  setenv("RWQ_DATA_DIR", (kDataDir + "/").c_str(), 1);
  cmcGTex overlay;
  overlay.Open(kDataDir + "/QZ5071KE.OVL");
  cmcEeprom image;
  cloneio::LoadInitialImage(overlay, ModelType::kPmr, image);
  image.SetByte(kScan1 + 13, 0x50);
  image.SetByte(kScan1 + 16, 3);
  const std::string file = dir.File("fleet.rwc");
  EXPECT_EQ(cloneio::Save(overlay, file, image, ModelType::kPmr), cloneio::SaveResult::kSaved);
  unsetenv("RWQ_DATA_DIR");
  return file;
}

std::string ReferenceLine(const std::string& file) {
  ChildResult listed = Cli({"channels", file, "--refs"});
  EXPECT_EQ(listed.status, 0) << listed.err;
  const std::size_t at = listed.out.find("scan 1 priority 1");
  return at == std::string::npos ? "" : listed.out.substr(at, listed.out.find('\n', at) - at);
}

TEST(CellMenuCommand, ReordersTheChannelsOfAFileStepByStep) {
  TempDir dir;
  const std::string file = FileWithAScanReference(dir);
  EXPECT_EQ(ListedNames(file), "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16");
  EXPECT_EQ(ReferenceLine(file), "scan 1 priority 1    1-  4");

  struct Step {
    std::vector<std::string> args;  // after "cell menu FILE CT_Mch CL_Mch_No"
    int status;
    std::string out;
    std::string err;  // a part of the standard error
    std::string names;
    std::string reference;
  };
  // A delete or an insert rewrites rows (13) and the list sheets follow its
  // events; a carry or a paste asks for a rebuild (41).
  const Step steps[] = {
      {{"3", "CL_PMenu_CarryDown"},
       0,
       "1-  4\nmarks=0 colour=none\nchanges=41 editor=0 result=done cursor=4\n",
       "",
       "1,2,3,5,4,6,7,8,9,10,11,12,13,14,15,16",
       "scan 1 priority 1    1-  5"},
      {{"7", "CL_PMenu_Delete"},
       0,
       "1-  8\nmarks=0 colour=none\nchanges=13 editor=0 result=done selection=none cursor=7\n",
       "Deleted.",
       "1,2,3,5,4,6,7,9,10,11,12,13,14,15,16",
       "scan 1 priority 1    1-  5"},
      {{"0", "CL_PMenu_Delete"},
       1,
       "1-  1\nmarks=0 colour=none\nchanges=1 editor=0 result=refused\n",
       "The A channel and the B channel cannot be deleted.",
       "1,2,3,5,4,6,7,9,10,11,12,13,14,15,16",
       "scan 1 priority 1    1-  5"},
      {{"5", "CL_PMenu_Insert"},
       0,
       "1-  6\nmarks=0 colour=none\nchanges=13 editor=0 result=done\n",
       "Inserted.",
       "1,2,3,5,4,6,6,7,9,10,11,12,13,14,15,16",
       "scan 1 priority 1    1-  5"},
      {{"10", "CL_PMenu_Paste", "--from", "0-1"},
       0,
       "1- 11\nmarks=0 colour=none\nchanges=41 editor=0 result=done selection=10-11\n",
       "Pasted from the clipboard.",
       "1,2,3,5,4,6,6,7,9,10,1,2,13,14,15,16",
       "scan 1 priority 1    1-  5"},
      {{"3", "CL_PMenu_CarryUp", "--rows", "3-4"},
       0,
       "1-  4\nmarks=0 colour=none\nchanges=41 editor=0 result=done selection=2-3 cursor=2\n",
       "",
       "1,2,5,4,3,6,6,7,9,10,1,2,13,14,15,16",
       "scan 1 priority 1    1-  4"},
  };
  for (const Step& step : steps) {
    std::vector<std::string> args = {"--yes", "cell", "menu", file, "CT_Mch", "CL_Mch_No"};
    args.insert(args.end(), step.args.begin(), step.args.end());
    args.insert(args.end(), {"--out", file});
    ChildResult run = Cli(args);
    const std::string what = step.args[0] + " " + step.args[1];
    EXPECT_EQ(run.status, step.status) << what << ": " << run.err;
    EXPECT_EQ(run.out, step.out) << what;
    EXPECT_NE(run.err.find(step.err), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(ListedNames(file), step.names) << what;
    EXPECT_EQ(ReferenceLine(file), step.reference) << what;
  }
}

TEST(CellMenuCommand, QuestionsAreCancelledWithoutYesAndDisabledItemsDoNothing) {
  TempDir dir;
  const std::string file = dir.File("out.rwc");
  ChildResult cancelled =
      Cli({"cell", "menu", kInitialPmr, "CT_Mch", "CL_Mch_No", "4", "CL_PMenu_Delete", "--out", file});
  EXPECT_EQ(cancelled.status, 1);
  EXPECT_NE(cancelled.out.find("result=cancelled"), std::string::npos) << cancelled.out;
  EXPECT_NE(cancelled.err.find("Do you want to delete them?"), std::string::npos) << cancelled.err;
  EXPECT_EQ(Cli({"channels", file}).status, 1);  // nothing was saved

  const std::string log = dir.File("boxes.log");
  ChildResult answered =
      Cli({"cell", "menu", kInitialPmr, "CT_Mch", "CL_Mch_No", "4", "CL_PMenu_Delete", "--out", file},
          {{"RWQ_MSGBOX_LOG", log}, {"RWQ_MSGBOX_ANSWERS", "ok"}});
  EXPECT_EQ(answered.status, 0) << answered.err;
  EXPECT_EQ(ListedNames(file), "1,2,3,4,6,7,8,9,10,11,12,13,14,15,16");

  ChildResult disabled = Cli({"cell", "menu", kInitialPmr, "CT_Mch", "CL_Mch_No", "15", "CL_PMenu_CarryDown"});
  EXPECT_EQ(disabled.status, 1);
  EXPECT_EQ(disabled.out, "");
  EXPECT_NE(disabled.err.find("CL_PMenu_CarryDown is disabled on this row"), std::string::npos) << disabled.err;
  ChildResult empty = Cli({"cell", "menu", kInitialPmr, "CT_Mch", "CL_Mch_No", "3", "CL_PMenu_Paste"});
  EXPECT_EQ(empty.status, 1);  // nothing copied
}

TEST(CellMenuCommand, BadOperandsAreUsageErrors) {
  const std::vector<std::string> cell = {"cell", "menu", kInitialPmr, "CT_Mch", "CL_Mch_No", "3"};
  const std::vector<std::vector<std::string>> wrong = {
      {"CL_Mch_Dup"},                                       // not a pop-up menu command of the lists
      {"CL_PMenu_Copy", "--rows", "5-3"},                   // a range the wrong way round
      {"CL_PMenu_Copy", "--rows", "x"},                     //
      {"CL_PMenu_Copy", "--rows", "1-2", "--rows", "1-2"},  // twice
      {"CL_PMenu_Copy", "--out"},                           // no value
      {},                                                   // no command
  };
  for (const std::vector<std::string>& tail : wrong) {
    std::vector<std::string> args = cell;
    args.insert(args.end(), tail.begin(), tail.end());
    EXPECT_EQ(Cli(args).status, 2) << (tail.empty() ? "" : tail[0]);
  }
  EXPECT_EQ(Cli({"cell", "key", kInitialPmr, "CT_Mch", "CL_Mch_No", "3", "13", "--rows", "1-2"}).status, 2);
  EXPECT_EQ(Cli({"channels", kInitialPmr, "--rfs"}).status, 2);
}

}  // namespace
