#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kMissingPrefix = "GTEX Error !\nThe index '";

ChildResult Cli(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli")};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv);
}

TEST(OverlayCommand, PrintsLinesAndBlocksOfTheShippedFiles) {
  const std::string main = std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071KE.OVL";
  const std::string list = std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071K.OVL";
  struct Case {
    std::vector<std::string> args;
    std::string out;
  };
  const Case cases[] = {
      {{"overlay", "line", main, "GI_Sys_AppTitle", "0"}, "RW-M52-Q\n"},
      {{"overlay", "line", main, "GI_Sys_AppTitle", "1"}, "#\n"},
      {{"overlay", "block", main, "GI_Sys_MyHelpOvl"}, "QZ5071KEH.OVL\n"},
      {{"overlay", "block", list, "GI_Sys_Language"}, "English\tQZ5071KE.OVL\n"},
  };
  for (const Case& c : cases) {
    ChildResult result = Cli(c.args);
    EXPECT_EQ(result.status, 0) << c.args[3] << result.err;
    EXPECT_EQ(result.out, c.out);
  }
}

TEST(OverlayCommand, BlockOfSeveralLinesFromAFixture) {
  TempDir dir;
  const std::string file = dir.Write("f.OVL", "#GI_Two\r\none\r\n\r\nthree\r\n#\r\n#End_Of_Ovl\r\n");
  ChildResult result = Cli({"overlay", "block", file, "GI_Two"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "one\n\nthree\n");
}

TEST(OverlayCommand, MissingIndexOrFileIsFatal) {
  TempDir dir;
  const std::string file = dir.Write("f.OVL", "#GI_A\na\n#\n#End_Of_Ovl\n#GI_Late\nx\n#\n");
  const std::vector<std::string> cases[] = {
      {"overlay", "line", file, "GI_Missing", "0"},
      {"overlay", "block", file, "GI_Late"},
      {"overlay", "line", file, "GI_A", "9"},
      {"overlay", "block", dir.File("absent.OVL"), "GI_A"},
  };
  for (const auto& args : cases) {
    ChildResult result = Cli(args);
    EXPECT_EQ(result.status, 3) << args[3];
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(kMissingPrefix + args[3] + "' was not found."), std::string::npos) << result.err;
  }
}

TEST(OverlayCommand, WrongUsage) {
  const std::vector<std::string> cases[] = {
      {"overlay"},
      {"overlay", "line", "f", "GI_A"},
      {"overlay", "line", "f", "GI_A", "-1"},
      {"overlay", "line", "f", "GI_A", "x"},
      {"overlay", "page", "f", "GI_A"},
  };
  for (const auto& args : cases) {
    ChildResult result = Cli(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("usage: rw-m52-q-cli overlay"), std::string::npos);
  }
}

}  // namespace
