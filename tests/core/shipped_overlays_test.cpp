#include <gtest/gtest.h>

#include "core/gtex.h"
#include "support/fatal_trap.h"
#include "support/temp_dir.h"

namespace {

const std::string kData = std::string(RWQ_SOURCE_DATA_DIR) + "/";

TEST(ShippedOverlays, EndWithTheEndMarkAndCloseEveryBlock) {
  for (const char* name : {"QZ5071K.OVL", "QZ5071KE.OVL", "QZ5071KEH.OVL"}) {
    const std::string text = ReadWholeFile(kData + name);
    EXPECT_TRUE(text.ends_with("#End_Of_Ovl\n")) << name;
    // Each header is preceded by the lone '#' that closes the block before it.
    for (std::size_t at = text.find("\n#"); at != std::string::npos; at = text.find("\n#", at + 1)) {
      if (text.compare(at + 1, 2, "#\n") == 0) continue;
      EXPECT_TRUE(at >= 2 && text.compare(at - 2, 2, "\n#") == 0) << name << " at byte " << at;
    }
  }
}

TEST(ShippedOverlays, TheLanguageListLeadsToTheMainAndHelpOverlays) {
  FatalTrap trap;
  cmcGTex list;
  list.Open(kData + "QZ5071K.OVL");
  const std::string english = list.GetLine("GI_Sys_Language", 0);
  EXPECT_EQ(cmcGTex::GetField(english, '\t', 0), "English");
  const std::optional<std::string> mainName = cmcGTex::GetField(english, '\t', 1);
  ASSERT_TRUE(mainName);

  cmcGTex main;
  main.Open(kData + *mainName);
  EXPECT_EQ(main.GetBlockText("GI_Sys_AppTitle"), "RW-M52-Q");
  cmcHelpGTex help;
  help.Open(kData + main.GetLine("GI_Sys_MyHelpOvl", 0));
  EXPECT_FALSE(help.GetBlockText("GI_Help_Index").empty());
}

}  // namespace
