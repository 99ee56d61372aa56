#include <gtest/gtest.h>

#include "core/overlaynames.h"
#include "support/child_process.h"
#include "support/required_blocks.h"
#include "support/temp_dir.h"

namespace {

ChildResult Cli(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli")};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChild(argv);
}

TEST(CellCommand, PrintsEveryCellWithTypeAndLinkNames) {
  ChildResult result =
      Cli({"cell", "parse", "{(%CT_Mch.CL_Mch_FreqR[5]:a\\)b)S(Color=clRed)}x\\_y||{($iChI)(@ch1=4)}\\(@ch1+1)\\nz"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "CT_Mch(2)\tCL_Mch_FreqR(129)\t5\t<~S\t0x000000FF\t-\t-\ta)b\tx y\n"
            "none(28)\tnone(1613)\t0\t<~\t0x80000005\t-\t-\t-\t\n"
            "none(28)\tnone(1613)\t0\t^-WH\t0x00808080\t1,,0x00FFFFFF,0,0,1,0\t-\t-\t5\\nz\n");
}

TEST(CellCommand, UnknownNamesAreFatalAndBadUsageIsReported) {
  ChildResult wrongCase = Cli({"cell", "parse", "{(%CT_mch.CL_Mch_FreqR)}"});
  EXPECT_EQ(wrongCase.status, 3);
  EXPECT_NE(wrongCase.err.find("Cannot use the specified category.\n'CT_mch'"), std::string::npos);
  EXPECT_EQ(Cli({"cell", "parse", "{(%CL_Null.)}"}).status, 3);  // a link name is no type
  EXPECT_EQ(Cli({"cell", "parse"}).status, 2);
  EXPECT_EQ(Cli({"cell", "show", "x"}).status, 2);
}

TEST(OverlayCheckCommand, TheShippedOverlaysAreClean) {
  ChildResult result = Cli({"overlay", "check"});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_EQ(result.out, "3 overlays checked, no problems\n");
}

TEST(OverlayCheckCommand, ReportsOneLinePerProblemOfAFile) {
  TempDir dir;
  const std::string file = dir.Write("NEW.OVL",
                                     "#GI_Sys_MyHelpOvl\nQZ5071KEH.OVL\n#\n"
                                     "#GI_Sheet_X_Cells\n{(%CT_Mch.CL_Mch_FreqRR)}|{($Nope)}\n" +
                                         RequiredMainBlocks({gi::GI_Sys_MyHelpOvl}) + "#End_Of_Ovl\n");
  ChildResult result = Cli({"overlay", "check", file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, file + ":4: block 'GI_Sheet_X_Cells' is not closed by a lone '#' line\n" + file +
                            ":5: Cannot use the specified cell. 'CL_Mch_FreqRR'\n" + file +
                            ":5: GTEX Error ! The index 'CellModel_Nope' was not found.\n");
  ChildResult shipped = Cli({"overlay", "check", std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071K.OVL"});
  EXPECT_EQ(shipped.status, 0) << shipped.out;
  EXPECT_EQ(Cli({"overlay", "check", "a", "b"}).status, 2);
}

TEST(OverlayCheckCommand, BuildsTheSheetsOfASoundMainOverlay) {
  TempDir dir;
  std::string text = ReadWholeFile(std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071KE.OVL");
  // The top page keeps a control line only, and a menu opens a sheet that is not there.
  const std::string header = "#GI_Sheet_TopPage_Cells\n";
  const std::size_t body = text.find(header) + header.size();
  text.replace(body, text.find("\n#\n", body) + 1 - body, ":(SelectOFF)\n");
  text.insert(text.find("#End_Of_Ovl"),
              "#GI_Menu_Check_BasicCell\n{($Basic)}\n#\n#GI_Menu_Check_Body\n+Open\t{(%CallSheet:GI_Sheet_None)}\n#\n");
  const std::string file = dir.Write("NEW.OVL", text);
  ChildResult result = RunChild({BuiltProgram("rw-m52-q-cli"), "overlay", "check", file},
                                {{{"RWQ_DATA_DIR", std::string(RWQ_SOURCE_DATA_DIR) + "/"}}, ""});
  EXPECT_EQ(result.status, 1) << result.err;
  for (const char* word : {"Lmr", "Pmr", "PmrB", "DPmr446"}) {
    const std::string onImage = std::string(" on the ") + word + " initial image: ";
    EXPECT_NE(result.out.find(file + ":0: sheet 'GI_Sheet_TopPage'" + onImage + "Illegal Cell assign\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(file + ":0: sheet 'GI_Sheet_None'" + onImage + "the overlay has no block"),
              std::string::npos)
        << result.out;
  }
}

}  // namespace
