#include "control/startupchoices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "support/fatal_trap.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::string> LanguageList(const std::vector<std::string>& languages) {
  std::vector<std::string> lines = {"#GI_Sys_Language"};
  lines.insert(lines.end(), languages.begin(), languages.end());
  lines.insert(lines.end(), {"#", "#End_Of_Ovl"});
  return lines;
}

TEST(StartupChoices, LanguageCountStopsAtTheBlockEndAndAt256) {
  cmcGTex two;
  two.OpenLines(LanguageList({"English\tE.OVL", "Deutsch\tD.OVL"}));
  EXPECT_EQ(CountLanguages(two), 2);
  cmcGTex many;
  many.OpenLines(LanguageList(std::vector<std::string>(300, "Many\tM.OVL")));
  EXPECT_EQ(CountLanguages(many), 256);
}

TEST(StartupChoices, StoredLanguageFallsBackToTheFirstWhenTheListOrItsFileLacksIt) {
  TempDir data;
  const std::string dir = data.path().string() + "/";
  data.Write("E.OVL", "#End_Of_Ovl\n");
  data.Write("D.OVL", "#End_Of_Ovl\n");
  std::filesystem::create_directory(data.path() / "N.OVL");
  struct Case {
    int stored;
    int expected;
  };
  // Language 2 names a file that is not installed, language 3 names none, language 4 a folder.
  const Case cases[] = {{0, 0}, {1, 1}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {-1, 0}, {1000, 0}};
  for (const Case& c : cases) {
    cmcGTex list;
    list.OpenLines(LanguageList({"English\tE.OVL", "Deutsch\tD.OVL", "Français\tF.OVL", "Nederlands", "Norsk\tN.OVL"}));
    const LanguageChoice choice = ChooseLanguage(list, c.stored, dir);
    EXPECT_EQ(choice.index, c.expected) << c.stored;
    EXPECT_EQ(choice.mainOverlayPath, dir + (c.expected == 1 ? "D.OVL" : "E.OVL")) << c.stored;
  }
}

TEST(StartupChoices, FirstLanguageWithoutAFileNameOpensTheBareFolderAndAMissingListIsFatal) {
  cmcGTex list;
  list.OpenLines(LanguageList({"English"}));
  EXPECT_EQ(ChooseLanguage(list, 0, "/data/").mainOverlayPath, "/data/");
  cmcGTex missing;
  missing.Open("/nonexistent/QZ5071K.OVL");
  EXPECT_EQ(FatalTextOf([&] { CountLanguages(missing); }), "GTEX Error !\nThe index 'GI_Sys_Language' was not found.");
}

class ModelTypeChoice : public testing::Test {
 protected:
  void SetUp() override { setenv("RWQ_DATA_DIR", data.path().c_str(), 1); }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  int Choose(int stored, const std::vector<std::string>& files) {
    std::vector<std::string> lines = {"#GI_App_InitialFile"};
    lines.insert(lines.end(), files.begin(), files.end());
    lines.insert(lines.end(), {"#", "#End_Of_Ovl"});
    cmcGTex overlay;
    overlay.OpenLines(lines);
    return ModelNumber(ChooseModelType(overlay, stored));
  }

  TempDir data;
};

TEST_F(ModelTypeChoice, StoredTypeFallsBackToZeroWithoutItsInitialFile) {
  for (const char* name : {"L.rwc", "P.rwc", "D.rwc"}) data.Write(name, "x");
  std::filesystem::create_directory(data.path() / "Folder");
  const std::vector<std::string> all = {"L.rwc", "P.rwc", "V.rwc", "D.rwc"};
  struct Case {
    int stored;
    std::vector<std::string> files;
    int expected;
  };
  const Case cases[] = {
      {1, all, 1},
      {3, all, 3},
      {2, all, 0},                 // its file is not installed
      {3, {"L.rwc", "P.rwc"}, 0},  // the overlay names no file for it
      {7, all, 0},
      {-1, all, 0},
      {4, all, 0},                  // past the models the memory map knows
      {1, {"L.rwc", "Folder"}, 0},  // a folder by the file's name is no initial file
  };
  for (const Case& c : cases) EXPECT_EQ(Choose(c.stored, c.files), c.expected) << c.stored;
}

TEST(StartupChoices, BetaNoticeUnlessTheNumberZero) {
  struct Case {
    const char* line;
    bool expected;
  };
  const Case cases[] = {{"0", false},   {" 0 ", false}, {"1", true}, {"", true},
                        {"beta", true}, {"0x", true},   {"-3", true}};
  for (const Case& c : cases) EXPECT_EQ(WantsBetaNotice(c.line), c.expected) << "'" << c.line << "'";
}

}  // namespace
