#include "markup/overlaychecker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/required_blocks.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> Lines(const std::vector<OverlayProblem>& problems, const std::string& prefix) {
  std::vector<std::string> lines;
  for (const OverlayProblem& problem : problems) {
    std::string line = problem.ToString();
    if (line.starts_with(prefix)) line.erase(0, prefix.size());
    lines.push_back(line);
  }
  return lines;
}

// The problems of every block the program asks of a main overlay but those in `present`.
std::vector<std::string> MissingMainBlocks(const std::set<std::string_view>& present) {
  std::vector<std::string> lines;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (block.overlay == OverlayKind::kMain && !present.contains(block.name)) {
      lines.push_back("0: block '" + std::string(block.name) + "' that the program asks for is missing");
    }
  }
  return lines;
}

}  // namespace

TEST(OverlayChecker, ReportsEveryFaultWithItsLine) {
  TempDir dir;
  const std::string path = dir.Write("BAD.OVL",
                                     "#GI_Sys_AppTitle\r\n"                                 // 1: not closed
                                     "RW-M52-Q\r\n"                                         // 2
                                     "#GI_Sheet_T_BasicCell\n"                              // 3: not closed
                                     "{($Basic)(%CT_Mch.)}\n"                               // 4
                                     "#GI_Sheet_T_Cells\n"                                  // 5
                                     ":(LoopStart)(@ch0 is no cell)\n"                      // 6: a control line
                                     "{(%CL_Mch_No[@ch0])}|{(%CL_Mch_Nope)}|x\n"            // 7
                                     "{(@ch12++)}\n"                                        // 8
                                     "#\n"                                                  // 9
                                     "#GI_Menu_Main_Body\n"                                 // 10
                                     "+File\t{(%CT_PopupMenu.CL_Menu_File_Open:Ctrl+O)}\n"  // 11
                                     " +Open\t{(%CT_Nope.CL_Menu_File_Open)($Loop)}\n"      // 12
                                     "#\n"                                                  // 13
                                     "#CellModel_Basic\n"                                   // 14
                                     "<-(Color=clWindow)(PopupMenu=GI_PMenu_None)\n"        // 15
                                     "#\n"                                                  // 16
                                     "#CellModel_Loop\n"                                    // 17
                                     "($Loop)\n"                                            // 18
                                     "#\n"                                                  // 19
                                     "#CellModel_Empty\n"                                   // 20
                                     "#\n"                                                  // 21
                                     "#GI_Sys_AppTitle\n"                                   // 22: repeated
                                     "Other\n"                                              // 23
                                     "#\n" +                                                // 24
                                         std::string(8191, 'x') +
                                         "#GI_Sys_AppTitle\n");  // 25: too long, no end mark
  const OverlayChecker checker;
  std::vector<std::string> expected = {
      "1: block 'GI_Sys_AppTitle' is not closed by a lone '#' line",
      "3: block 'GI_Sheet_T_BasicCell' is not closed by a lone '#' line",
      "22: block 'GI_Sys_AppTitle' repeats the block of line 1; only the first is ever read",
      "25: line of 8207 bytes: the reader cuts a line longer than 8191 bytes into several lines",
      "0: no #End_Of_Ovl line ends the overlay",
      "15: pop-up menu 'GI_PMenu_None' has no block 'GI_PMenu_None_BasicCell'",
      "15: pop-up menu 'GI_PMenu_None' has no block 'GI_PMenu_None_Body'",
      "20: cell model 'CellModel_Empty' has no line",
      "18: GTEX Error ! The index 'CellModel_Loop' was not found.",
      "12: Cannot use the specified category. 'CT_Nope'",
      "12: GTEX Error ! The index 'CellModel_Loop' was not found.",
      "4: pop-up menu 'GI_PMenu_None' has no block 'GI_PMenu_None_BasicCell'",
      "4: pop-up menu 'GI_PMenu_None' has no block 'GI_PMenu_None_Body'",
      "7: Cannot use the specified cell. 'CL_Mch_Nope'",
      "8: Ch No. Error",
  };
  const std::vector<std::string> missing = MissingMainBlocks({"GI_Sys_AppTitle", "GI_Menu_Main_Body"});
  ASSERT_FALSE(missing.empty());
  expected.insert(expected.begin() + 5, missing.begin(), missing.end());
  EXPECT_EQ(Lines(checker.Check({path, OverlayKind::kMain}), path + ":"), expected);
}

TEST(OverlayChecker, ACleanOverlayAndTheBlocksAfterTheEndMark) {
  TempDir dir;
  const std::string path = dir.Write("GOOD.OVL",
                                     "#GI_Sys_MyHelpOvl\nHELP.OVL\n#\n"
                                     "#GI_PMenu_Edit_BasicCell\n{($Basic)(%CT_PopupMenu.)}\n#\n"
                                     "#GI_PMenu_Edit_Body\n+Edit...\t{(%CL_PMenu_Edit:Enter)}\nNo mark-up here\n#\n"
                                     "#CellModel_Basic\n<-(PopupMenu=GI_PMenu_Edit)\n#\n" +
                                         RequiredMainBlocks({"GI_Sys_MyHelpOvl"}) +
                                         "#End_Of_Ovl\n"
                                         "#GI_Never_Read_Cells\n{(%CL_Nope)}\n");
  EXPECT_TRUE(OverlayChecker().Check({path, OverlayKind::kMain}).empty());
  const std::vector<OverlayProblem> asList = OverlayChecker().Check({path, OverlayKind::kLanguageList});
  ASSERT_EQ(asList.size(), 1u);
  EXPECT_EQ(asList[0].text, "block 'GI_Sys_Language' that the program asks for is missing");
  EXPECT_EQ(OverlayChecker().Check({dir.File("NONE.OVL"), OverlayKind::kHelp})[0].text, "the file cannot be read");
  // An endless source is refused, not read until memory runs out.
  EXPECT_EQ(OverlayChecker().Check({"/dev/zero", OverlayKind::kMain})[0].text, "the file cannot be read");
}

TEST(OverlayChecker, ASelectionSheetNeedsItsStyleBasicCellAndCellsBlocks) {
  TempDir dir;
  const std::string path = dir.Write("SHEET.OVL", "#GI_Sheet_Sel_Mch_Dup_Cells\n{(%Flex0[0])}Off\n#\n#End_Of_Ovl\n");
  const std::vector<std::string> problems = Lines(OverlayChecker().Check({path, OverlayKind::kMain}), path + ":");
  const auto reported = [&](const std::string& block) {
    return std::find(problems.begin(), problems.end(),
                     "0: block '" + block + "' that the program asks for is missing") != problems.end();
  };
  EXPECT_TRUE(reported("GI_Sheet_Sel_Mch_Dup_Style"));
  EXPECT_TRUE(reported("GI_Sheet_Sel_Mch_Dup_BasicCell"));
  EXPECT_FALSE(reported("GI_Sheet_Sel_Mch_Dup_Cells"));
  EXPECT_FALSE(reported("GI_Sheet_Sel_Mch_Dup"));  // the sheet's name itself is no block
}

TEST(OverlayChecker, EveryShippedOverlayIsClean) {
  std::vector<OverlayProblem> problems;
  const std::vector<OverlayFile> files =
      OverlayChecker::ShippedOverlays(std::string(RWQ_SOURCE_DATA_DIR) + "/", problems);
  ASSERT_EQ(files.size(), 3u);  // the language list, the English main overlay and its help overlay
  EXPECT_EQ(files[1].kind, OverlayKind::kMain);
  EXPECT_EQ(files[2].kind, OverlayKind::kHelp);
  for (const OverlayFile& file : files) {
    for (OverlayProblem& problem : OverlayChecker().Check(file)) problems.push_back(std::move(problem));
  }
  for (const OverlayProblem& problem : problems) ADD_FAILURE() << problem.ToString();
}

TEST(OverlayChecker, FollowsTheLanguageListToMainAndHelpOverlays) {
  TempDir dir;
  dir.Write("QZ5071K.OVL", "#GI_Sys_Language\nEnglish\tA.OVL\nBroken\nAgain\tA.OVL\nGerman\tB.OVL\n#\n#End_Of_Ovl\n");
  dir.Write("A.OVL", "#GI_Sys_MyHelpOvl\nH.OVL\n#\n#End_Of_Ovl\n");
  dir.Write("B.OVL", "#GI_Sys_MyHelpOvl\nH.OVL\n#\n#End_Of_Ovl\n");
  std::vector<OverlayProblem> problems;
  const std::string root = dir.path().string() + "/";
  const std::vector<OverlayFile> files = OverlayChecker::ShippedOverlays(root, problems);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[1].path, root + "A.OVL");
  EXPECT_EQ(files[2].path, root + "H.OVL");
  EXPECT_EQ(files[2].kind, OverlayKind::kHelp);
  EXPECT_EQ(files[3].path, root + "B.OVL");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].ToString(), root + "QZ5071K.OVL:3: the language line names no main overlay");
}

TEST(OverlayChecker, NamesTheSheetsThatCallSheetCellsOpen) {
  TempDir dir;
  const std::string path = dir.Write("TREE.OVL",
                                     "#GI_Tree_Main_BasicCell\n{(%CT_Null.CallSheet)}\n#\n"
                                     "#GI_Tree_Main_Body\n"
                                     "+Top\t{(%CallSheet:GI_Sheet_TopPage)}\n"
                                     " +Bank 1\t{(%CT_Null.CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0)}\n"
                                     " +Not a sheet\t{(%CL_Menu_File_Open:GI_Sheet_No)}\n"
                                     " +No argument\n"
                                     "#\n"
                                     "#GI_Sheet_A_Cells\n"
                                     ":(%CallSheet:GI_Sheet_Control)\n"
                                     "x|{(%CallSheet:GI_Sheet_B)}More\n"
                                     "#\n"
                                     "#End_Of_Ovl\n");
  const std::vector<std::string> expected = {"GI_Sheet_B", "GI_Sheet_TopPage", "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"};
  EXPECT_EQ(OverlayChecker().NamedSheets({path, OverlayKind::kMain}), expected);
  EXPECT_TRUE(OverlayChecker().NamedSheets({dir.File("NONE.OVL"), OverlayKind::kMain}).empty());
}
