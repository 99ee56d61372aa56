#include "sheet/sheetchecker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/gtex.h"
#include "support/temp_dir.h"

namespace {

const std::string kData = std::string(RWQ_SOURCE_DATA_DIR) + "/";

class SheetCheckerTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("RWQ_DATA_DIR", kData.c_str(), 1); }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  // The shipped main overlay with each text `what` replaced, and `extra`
  // blocks before the end mark.
  std::string Variant(const std::vector<std::pair<std::string, std::string>>& replacements, const std::string& extra) {
    std::string text = ReadWholeFile(kData + "QZ5071KE.OVL");
    for (const auto& [what, replace] : replacements) {
      const std::size_t at = text.find(what);
      EXPECT_NE(at, std::string::npos) << what;
      if (at != std::string::npos) text.replace(at, what.size(), replace);
    }
    text.insert(text.find("#End_Of_Ovl"), extra);
    return dir_.Write("QZ5071KE.OVL", text);
  }
  static std::vector<std::string> Texts(const std::vector<OverlayProblem>& problems) {
    std::vector<std::string> texts;
    for (const OverlayProblem& problem : problems) texts.push_back(problem.text);
    return texts;
  }

  TempDir dir_;
};

TEST_F(SheetCheckerTest, EveryShippedSheetBuildsOnEveryModelsInitialImage) {
  std::vector<OverlayProblem> problems;
  for (const OverlayFile& file : OverlayChecker::ShippedOverlays(kData, problems)) {
    if (file.kind != OverlayKind::kMain) continue;
    for (const OverlayProblem& problem : SheetChecker().Check(file)) ADD_FAILURE() << problem.ToString();
    cmcGTex overlay;
    overlay.Open(file.path);
    for (ModelType type : kAllModelTypes) {
      const std::vector<SheetRef> refs = SheetChecker::NamedSheets(file, overlay, type);
      const auto named = [&](const std::string& text) {
        return std::count(refs.begin(), refs.end(), SheetRef::Parse(text)) == 1;
      };
      EXPECT_TRUE(named("GI_Sheet_TopPage"));
      EXPECT_TRUE(named("GI_Sheet_Sel_Mch_Dup"));
      for (int bank = 0; bank < 8; ++bank) {
        EXPECT_TRUE(named("[St_ChBank]GI_Sheet_Mch_" + std::string(ModelWord(type)) + ",Bank " + std::to_string(bank)));
      }
    }
  }
  EXPECT_TRUE(problems.empty());
}

TEST_F(SheetCheckerTest, NamesSegmentDataOfMoreThanSixteenLines) {
  const std::string segment = "2|(2,0)(29,0)(29,8)|(2,0)(29,8)(2,8)|\n";
  const std::string path = Variant({{"#GI_PCG_Seg_Data\n", "#GI_PCG_Seg_Data\n" + segment + "// a note\n0\n"}}, "");
  EXPECT_EQ(Texts(SheetChecker().Check({path, OverlayKind::kMain})),
            std::vector<std::string>{"block 'GI_PCG_Seg_Data' has 17 segment lines; only the first 16 are read"});
  // Lines that do not count leave the shipped 16 as they are.
  const std::string notes = Variant({{"#GI_PCG_Seg_Data\n", "#GI_PCG_Seg_Data\n// a note\n0\n"}}, "");
  EXPECT_TRUE(SheetChecker().Check({notes, OverlayKind::kMain}).empty());
}

TEST_F(SheetCheckerTest, ReportsEachSheetThatDoesNotBuildOrIsNotThere) {
  const std::string path =
      Variant({{"#GI_Sheet_Mch_DPmr446_Cells\n", "#GI_Sheet_Mch_DPmr446_Cells\n:(Only_notDPmr446 9)\n"},
               // The bank nodes' line, in place of the shipped one.
               {"#GI_Tree_Branch_Mch_Bank\n+{(%CallSheet:[St_ChBank]GI_Sheet_Mch_%s,Bank %d)(ImageIndex=4)}Bank\n",
                "#GI_Tree_Branch_Mch_Bank\n  +Bank\t{(%CT_Null.CallSheet:[St_ChBank]GI_Sheet_Bank_%s,Bank %d)}\n"}},
              "#GI_Menu_Check_BasicCell\n{($Basic)(%CT_PopupMenu.)}\n#\n"
              "#GI_Menu_Check_Body\n"
              "+Broken\t{(%CallSheet:GI_Sheet_Broken)}\n"
              "+Missing\t{(%CallSheet:GI_Sheet_Missing)}\n"
              "+No bank\t{(%CallSheet:[St_ChBank]GI_Sheet_Mch_Lmr,Bank 9)}\n"
              "#\n"
              "#GI_Sheet_Broken_Style\n\n#\n#GI_Sheet_Broken_BasicCell\n{($Basic)}\n#\n"
              "#GI_Sheet_Broken_Cells\n:(LoopFrom 2)\n:(LoopTo)\n#\n");
  const std::vector<std::string> texts = Texts(SheetChecker().Check({path, OverlayKind::kMain}));
  const auto reported = [&](const std::string& text) { return std::count(texts.begin(), texts.end(), text); };
  for (const char* word : {"Lmr", "Pmr", "PmrB", "DPmr446"}) {
    const std::string onImage = std::string(" on the ") + word + " initial image: ";
    EXPECT_EQ(reported("sheet 'GI_Sheet_Broken'" + onImage + "Illegal Cell assign"), 1) << word;
    EXPECT_EQ(reported("sheet 'GI_Sheet_Missing'" + onImage +
                       "the overlay has no block 'GI_Sheet_Missing_Style' of the sheet 'GI_Sheet_Missing'"),
              1)
        << word;
    EXPECT_EQ(reported("sheet '[St_ChBank]GI_Sheet_Mch_Lmr,Bank 9'" + onImage +
                       "the bank sheet '[St_ChBank]GI_Sheet_Mch_Lmr,Bank 9' names no bank (its kind must be \"Bank "
                       "0\" to \"Bank 7\")"),
              1)
        << word;
  }
  // The bank nodes of the tree open a sheet of the model word for each bank.
  for (const char* word : {"Lmr", "Pmr", "PmrB", "DPmr446"}) {
    for (int bank = 0; bank < 8; ++bank) {
      EXPECT_EQ(reported("sheet '[St_ChBank]GI_Sheet_Bank_" + std::string(word) + ",Bank " + std::to_string(bank) +
                         "' on the " + word + " initial image: the overlay has no block 'GI_Sheet_Bank_" + word +
                         "_Style' of the sheet 'GI_Sheet_Bank_" + word + "'"),
                1)
          << word << ' ' << bank;
    }
  }
  // The dPMR446 channel sheet has no row left on its own model.
  for (int bank = 0; bank < 8; ++bank) {
    EXPECT_EQ(reported("sheet '[St_ChBank]GI_Sheet_Mch_DPmr446,Bank " + std::to_string(bank) +
                       "' on the DPmr446 initial image: Illegal Cell assign"),
              1)
        << bank;
  }
  EXPECT_EQ(texts.size(), 12u + 8u + 32u);
}

}  // namespace
