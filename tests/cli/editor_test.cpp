#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

ChildResult Editor(const std::vector<std::string>& operands) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli"), "editor"};
  argv.insert(argv.end(), operands.begin(), operands.end());
  return RunChild(argv, {{{"RWQ_DATA_DIR", kDataDir}}, ""});
}

struct BitsCase {
  std::vector<std::string> operands;
  int status;
  std::string out;
};

TEST(EditorCommand, BitFieldFormsPrintTheirLabelsAndReply) {
  for (const BitsCase& c : std::vector<BitsCase>{
           {{"bits", "1", "4", "5", "0", "--toggle", "1,3"}, 0, "A\tB\tC\tD\n41943040\n"},
           {{"bits", "8", "17", "4", "0"}, 0, "8\t9\tA\tB\tC\tD\tE\tF\tG\tZ\n0\n"},
           {{"bits", "1", "4", "7", "0"}, 0, "B3\tB2\tB1\tB0\n0\n"},
           {{"bits", "9", "11", "2", "33554432", "--toggle", "1"}, 0, "9\t0\t11\n0\n"},
           {{"bits", "1", "5", "6", "0", "--toggle", "1,2,3"}, 0, "RMC\tGGA\tGLL\tGSA\tVTG\n58720256\n"},
           // Four sentence types: OK is disabled, nothing is replied.
           {{"bits", "1", "5", "6", "0", "--toggle", "1,2,3,4"}, 1, "RMC\tGGA\tGLL\tGSA\tVTG\n"},
           {{"bits", "1", "27", "0", "0"}, 1, ""},
           {{"bits", "1", "4", "0", "0", "--toggle", "5"}, 1, ""},
           {{"bits", "1", "4", "x", "0"}, 2, ""},
       }) {
    const ChildResult run = Editor(c.operands);
    EXPECT_EQ(run.status, c.status) << c.operands[4] << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(EditorCommand, TheGeneratedOverlayOfTwoOptions) {
  const ChildResult run = Editor({"bits", "0", "1", "0", "0", "--overlay"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("0\t1\n#GI_Sheet_FBitsR_Style\n(FixedCols=1)(FixedRows=1)\n"), std::string::npos) << run.out;
  EXPECT_NE(
      run.out.find("\n|{($iChI)}0||{($iChI)}1|\n\n|{($eWh)^(%CL_FBits[1])}9|{($iQp)}|{($eWh)^(%CL_FBits[2])}9|\n"),
      std::string::npos);
  EXPECT_NE(run.out.find("\n#End_Of_Ovl\n\n"), std::string::npos);
}

struct SegmentsCase {
  std::vector<std::string> clicks;
  std::string out;
};

TEST(EditorCommand, SegmentClicksToggleTheFirstSegmentUnderThePoint) {
  TempDir dir;
  const std::string overlay = dir.Write("segments.ovl",
                                        "#GI_PCG_Seg_Data\n1|(0,0)(90,0)(0,60)|\n1|(90,0)(90,60)(0,60)|\n"
                                        "1|(0,60)(90,60)(0,180)|\n#\n#End_Of_Ovl\n");
  for (const SegmentsCase& c : std::vector<SegmentsCase>{{{}, "on=0,2\n5\n"},
                                                         {{"55,100"}, "on=0\n4\n"},
                                                         {{"55,40"}, "on=2\n1\n"},  // on the edge of 0 and 1
                                                         {{"55,40", "55,40"}, "on=0,2\n5\n"},
                                                         {{"5,5"}, "on=0,2\n5\n"},  // outside every segment
                                                         {{"150,150"}, "on=0,2\n5\n"}}) {
    std::vector<std::string> operands = {"segments", "--overlay", overlay, "--pattern", "5"};
    for (const std::string& click : c.clicks) {
      operands.push_back("--click");
      operands.push_back(click);
    }
    const ChildResult run = Editor(operands);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << (c.clicks.empty() ? "" : c.clicks[0]);
  }
}

TEST(EditorCommand, SegmentsOfAnOverlayWithoutTheBlockAreTheFatalStop) {
  TempDir dir;
  const std::string overlay = dir.Write("empty.ovl", "#Other\nline\n#End_Of_Ovl\n");
  const ChildResult run = Editor({"segments", "--overlay", overlay});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("GI_PCG_Seg_Data"), std::string::npos) << run.err;
}

}  // namespace
