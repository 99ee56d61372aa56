#include "control/commandlinks.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/gtex.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "sheet/headless.h"

namespace {

// Records what the items asked and did.
class FakeTarget : public CommandTarget {
 public:
  void NewDocument() override { calls.push_back("new"); }
  void OpenDocument() override { calls.push_back("open"); }
  void SaveDocument() override { calls.push_back("save"); }
  void SaveDocumentAs() override { calls.push_back("save as"); }
  std::string RecentDisplayName(int n) const override {
    return n >= 0 && n < static_cast<int>(recent.size()) ? recent[static_cast<std::size_t>(n)] : "";
  }
  void OpenRecent(int n) override { calls.push_back("recent " + std::to_string(n)); }
  void ExportChannels() override { calls.push_back("export channels"); }
  void ImportChannels() override { calls.push_back("import channels"); }
  void CloseMainWindow() override { calls.push_back("exit"); }
  void PrepareEditMenu() override { calls.push_back("edit menu"); }
  void OpenSheet(const std::string& reference) override { calls.push_back("sheet " + reference); }
  bool IsMchWindowWanted() const override { return mchWanted; }
  void ToggleMchWindow() override { calls.push_back("mch window"); }
  bool IsHelpWindowWanted() const override { return helpWanted; }
  void ToggleHelpWindow() override { calls.push_back("help window"); }
  int FontSize() const override { return fontSize; }
  void SetFontSize(int size) override { calls.push_back("font " + std::to_string(size)); }
  bool IsToolBarShown() const override { return toolBar; }
  void ToggleToolBar() override { calls.push_back("tool bar"); }
  ModelType Model() const override { return model; }
  void ChangeModel(ModelType modelType, bool ask) override {
    calls.push_back("model " + std::to_string(ModelNumber(modelType)) + (ask ? " ask" : ""));
  }
  bool IsHelpPopupAvailable() const override { return helpPopup; }
  void ShowHelpPopup() override { calls.push_back("help popup"); }
  std::string LanguageName(int n) const override { return "Language " + std::to_string(n); }

  std::vector<std::string> calls;
  std::vector<std::string> recent;
  bool mchWanted = false, helpWanted = false, toolBar = false, helpPopup = false;
  int fontSize = 0;
  ModelType model = ModelType::kLandMobile;
};

class CommandLinksTest : public testing::Test {
 protected:
  void SetUp() override {
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    AddCommandLinks(table_, target_);
  }

  struct Shown {
    std::string text;
    std::uint8_t flags;
  };
  // Evaluates an item as a menu does before showing it.
  Shown Show(int link, int n = 0, std::uint8_t flagsBefore = 0) {
    cmcCellObj cell = Item(link, n);
    cell.stateFlags = flagsBefore;
    cmcCellCapsule request;
    request.cell = &cell;
    links_.Evaluate(request, false);
    return {request.displayText, cell.stateFlags};
  }
  void Activate(int link, int n = 0, std::optional<std::string> argument = std::nullopt) {
    cmcCellObj cell = Item(link, n);
    cell.argument = std::move(argument);
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = cellkey::kEnter;
    links_.Evaluate(request, false);
  }
  static cmcCellObj Item(int link, int n) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cell.parameter = n;
    return cell;
  }
  static std::uint8_t Flags(bool ticked, bool hidden, bool disabled, bool caption) {
    return static_cast<std::uint8_t>(ticked | hidden << 1 | disabled << 2 | caption << 3);
  }

  cmcGTex overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  LinkEnvironment environment_{image_, overlay_, choices_, editors_};
  FakeTarget target_;
  LinkTable table_ = LinkTable::Instance();
  CellLinks links_{environment_, table_};
};

TEST_F(CommandLinksTest, ActivatedItemsRunTheirCommand) {
  struct Case {
    int link;
    int n;
    const char* call;
  };
  const Case cases[] = {
      {cl::CL_Menu_File_New, 0, "new"},
      {cl::CL_Menu_File_Open, 0, "open"},
      {cl::CL_Menu_File_Save, 0, "save"},
      {cl::CL_Menu_File_SaveAs, 0, "save as"},
      {cl::CL_Menu_File_Recent, 3, "recent 3"},
      {cl::CL_Menu_File_ExportCsv, 0, "export channels"},
      {cl::CL_Menu_File_ImportCsv, 0, "import channels"},
      {cl::CL_Menu_File_Exit, 0, "exit"},
      {cl::CL_Menu_View_MchWin, 0, "mch window"},
      {cl::CL_Menu_View_HelpWin, 0, "help window"},
      {cl::CL_Menu_View_FontSize, 2, "font 2"},
      {cl::CL_Menu_View_ToolBar, 0, "tool bar"},
      {cl::CL_Model_Lmr, 0, "model 0 ask"},
      {cl::CL_Model_Pmr, 0, "model 1 ask"},
      {cl::CL_Model_VexlPmr, 0, "model 2 ask"},
      {cl::CL_Model_DPmr446, 0, "model 3 ask"},
  };
  for (const Case& c : cases) {
    target_.calls.clear();
    Activate(c.link, c.n);
    EXPECT_EQ(target_.calls, std::vector<std::string>{c.call}) << c.call;
  }
}

TEST_F(CommandLinksTest, ItemsOfCommandsNotWiredYetAreDisabledAndDoNothing) {
  const int links[] = {cl::CL_Menu_File_Print_Current,
                       cl::CL_Menu_File_Print_All,
                       cl::CL_Help_About,
                       cl::CL_Help_Contents,
                       cl::CL_Menu_Lang,
                       cl::CL_Menu_Ad_Read,
                       cl::CL_Menu_View_Ad,
                       cl::CL_Menu_View_Ad_Update,
                       cl::CL_Help_Popup};
  for (int link : links) {
    EXPECT_EQ(Show(link).flags & Flags(false, false, true, false), Flags(false, false, true, false)) << link;
    Activate(link);
  }
  EXPECT_TRUE(target_.calls.empty());
}

TEST_F(CommandLinksTest, TicksFollowTheSettings) {
  target_.mchWanted = true;
  target_.fontSize = 2;
  target_.model = ModelType::kPmrVexl;
  struct Case {
    int link;
    int n;
    bool ticked;
  };
  const Case cases[] = {
      {cl::CL_Menu_View_MchWin, 0, true},    {cl::CL_Menu_View_HelpWin, 0, false}, {cl::CL_Menu_View_FontSize, 2, true},
      {cl::CL_Menu_View_FontSize, 1, false}, {cl::CL_Menu_View_ToolBar, 0, false}, {cl::CL_Model_Lmr, 0, false},
      {cl::CL_Model_VexlPmr, 0, true},
  };
  for (const Case& c : cases) {
    // A tick left from before is cleared when it no longer holds.
    EXPECT_EQ(Show(c.link, c.n, Flags(!c.ticked, false, false, false)).flags, Flags(c.ticked, false, false, false))
        << c.link << " " << c.n;
  }
}

TEST_F(CommandLinksTest, RecentEntriesCaptionWithDoubledAmpersandsAndHideWhenEmpty) {
  Shown empty0 = Show(cl::CL_Menu_File_Recent, 0);
  EXPECT_EQ(empty0.flags, Flags(false, false, true, false));
  EXPECT_EQ(Show(cl::CL_Menu_File_Recent, 1).flags, Flags(false, true, true, false));
  target_.recent = {"R&D.rwc", "/data/other.rwc"};
  Shown first = Show(cl::CL_Menu_File_Recent, 0);
  EXPECT_EQ(first.text, "&1 R&&D.rwc");
  EXPECT_EQ(first.flags, Flags(false, false, false, true));
  EXPECT_EQ(Show(cl::CL_Menu_File_Recent, 1).text, "&2 /data/other.rwc");
  EXPECT_EQ(RecentCaption(9, "%s 100%"), "&10 %s 100%");
}

TEST_F(CommandLinksTest, CaptionsTheEditMenuAndSheetCalls) {
  EXPECT_EQ(Show(cl::CL_TopPage_Name).text, "RW-M52-Q");
  EXPECT_EQ(Show(cl::CL_Language_Text, 1).text, "Language 1");
  Show(cl::CL_Menu_Edit_Top);
  Activate(cl::CallSheet, 0, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  Activate(cl::CallSheet, 0);
  Activate(cl::CL_Menu_Debug_Window);
  EXPECT_EQ(target_.calls, (std::vector<std::string>{"edit menu", "sheet [St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"}));
}

}  // namespace
