#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTreeView>

#include "app/mainmenus.h"
#include "app/menu.h"
#include "app/navigationtree.h"
#include "editors/fieldeditor.h"
#include "editors/fsegtext.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "journey.h"
#include "markup/ids.h"
#include "runtime/event.h"
#include "runtime/events.h"
#include "sheet/sheet.h"

namespace {

// Columns and rows of a bank sheet: row 0 holds the headings.
constexpr int kFrequency = 2;
constexpr int kFirstChannel = 1;
constexpr int kName = 5;

// A user with the PMR file open on bank 1.
class BankJourney : public testing::Test {
 protected:
  void SetUp() override {
    user.Start();
    user.Open("Initial_PMR.rwc");
    user.SelectNode("1:");
    ASSERT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  }
  QTreeView& TreeView() { return user.Form().Menus().Tree()->View(); }

  Journey user;
};

TEST_F(BankJourney, TheTreeKeepsTheKeyboardAndArrowsOpenTheNextSheet) {
  EXPECT_EQ(user.Focus(), &TreeView());
  user.Key(Qt::Key_Down);
  EXPECT_EQ(user.Focus(), &TreeView());
  (void)QTest::qWaitFor([&] { return user.Sheet().Ref().Text() == "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 1"; });
  EXPECT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 1");
}

TEST_F(BankJourney, EnterOnATreeNodeOpensItsSheetAtOnce) {
  user.Key(Qt::Key_Up);  // to the Banks node; the sheet waits for the change delay
  ASSERT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  user.Key(Qt::Key_Return);
  EXPECT_EQ(user.Sheet().Ref().Text(), "GI_Sheet_Mch_BankOp");
}

TEST_F(BankJourney, EnterOnAFrequencyCellOpensItsChooserWithoutAnAmbiguousShortcut) {
  user.ClickCell(kFrequency, kFirstChannel);
  EXPECT_EQ(user.Focus(), &user.Grid());
  user.Key(Qt::Key_Return);
  EXPECT_NE(user.Chooser(), nullptr);
  EXPECT_EQ(Journey::QtWarnings(), std::vector<std::string>{});
}

TEST_F(BankJourney, CtrlZAfterAnEditRestoresTheCellAndCtrlYRedoesIt) {
  user.ClickCell(kFrequency, kFirstChannel);
  const std::string before = user.CellText(kFrequency, kFirstChannel);
  user.Key(Qt::Key_Return);
  ASSERT_NE(user.Chooser(), nullptr);
  user.Key(Qt::Key_Down);
  user.Key(Qt::Key_Return);
  const std::string chosen = user.CellText(kFrequency, kFirstChannel);
  ASSERT_NE(chosen, before);
  user.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(user.CellText(kFrequency, kFirstChannel), before);
  user.Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(user.CellText(kFrequency, kFirstChannel), chosen);
  user.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing left to redo
  EXPECT_EQ(user.CellText(kFrequency, kFirstChannel), chosen);
  EXPECT_EQ(Journey::QtWarnings(), std::vector<std::string>{});
}

TEST_F(BankJourney, EnterOnANameOpensTheSegmentTextEditorAndItsReplyIsStored) {
  user.ClickCell(kName, kFirstChannel);
  user.Key(Qt::Key_Return);
  ASSERT_TRUE(FieldEditor::AnyOpen());
  auto* editor = qobject_cast<cuiFSegText*>(user.Focus() ? user.Focus()->window() : nullptr);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(user.Focus(), &editor->TextBox());
  user.Type("RELAY.");  // all was selected: the name is replaced
  EXPECT_EQ(editor->TextBox().text().toStdString(), "RELAY.");
  user.Key(Qt::Key_Return);
  EXPECT_FALSE(FieldEditor::AnyOpen());
  EXPECT_EQ(user.CellText(kName, kFirstChannel).substr(0, 6), "RELAY.");
  EXPECT_EQ(user.Focus(), &user.Grid());
  user.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_NE(user.CellText(kName, kFirstChannel).substr(0, 6), "RELAY.");
}

TEST_F(BankJourney, TheEditMenusEditOpensTheCurrentCellsChooser) {
  user.ClickCell(kFrequency, kFirstChannel);
  user.MenuItem(cl::CL_PMenu_Edit);
  EXPECT_NE(user.Chooser(), nullptr);
}

TEST_F(BankJourney, TheTitlePanelShowsEachSheetsTitleOnItsFirstShow) {
  EXPECT_TRUE(user.Form().SheetFrame()->Title().isVisibleTo(&user.Form()));
  EXPECT_NE(user.Title().find("channels still fit"), std::string::npos) << user.Title();
  user.SelectNode("Banks");
  EXPECT_EQ(user.Title(), "Banks");
  EXPECT_TRUE(user.Form().SheetFrame()->Title().isVisibleTo(&user.Form()));
  user.SelectNode("RW-M52-Q");  // the top page has no title
  EXPECT_FALSE(user.Form().SheetFrame()->Title().isVisibleTo(&user.Form()));
}

// The warning marks follow the data from the start, not only after an edit.
void CountWarningChecks(void* count, const Event& event) {
  if (event.code == ev::kWarningCheckDone) ++*static_cast<int*>(count);
}

TEST_F(BankJourney, CommandsWithoutTheirWindowAreDisabled) {
  cuiMenu& menu = user.Form().Menus().Menu();
  menu.RefreshStates();
  const QAction* about = menu.FindByLink(cl::CL_Help_About);
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(about->isEnabled());
}

TEST(StartJourney, TheWarningCheckRunsAfterStartUpOpenAndNew) {
  int checks = 0;  // outlives the window, which may still send events as it closes
  Journey user;
  user.Events().AddListener(&CountWarningChecks, &checks);
  user.Start();
  EXPECT_EQ(checks, 1);
  user.Open("Initial_PMR.rwc");
  EXPECT_EQ(checks, 2);
  user.MenuItem(cl::CL_Menu_File_New);
  EXPECT_EQ(checks, 3);
  user.Events().RemoveListener(&CountWarningChecks, &checks);
}

TEST(StartJourney, AFileNamedOnTheCommandLineOpensAsFileOpenOpensIt) {
  const std::string file = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_PMR.rwc";
  Journey user({"rw-m52-q", file.c_str(), "/kestrel"});
  user.Start();
  EXPECT_EQ(user.Form().windowTitle(), "Initial_PMR.rwc - RW-M52-Q");
  EXPECT_EQ(user.Controller().Type(), ModelType::kPmr);
  EXPECT_FALSE(user.Controller().IsModified());
  // The maker switch beside it still asks for maker mode.
  ASSERT_FALSE(user.boxes.shown.empty());
  EXPECT_EQ(user.boxes.shown.back().icon, platform::MsgIcon::Warning);
}

TEST(StartJourney, AnUnreadableFileOnTheCommandLineLeavesTheInitialImage) {
  Journey user({"rw-m52-q", "/nonexistent/missing.rwc"});
  user.Start();
  EXPECT_EQ(user.Form().windowTitle(), "Untitled - RW-M52-Q");
  EXPECT_EQ(user.Controller().EditImage().Size(), user.Controller().InitialImage().Size());
  EXPECT_FALSE(user.boxes.shown.empty());  // the open told why
}

}  // namespace

namespace {

// The common settings sheet: row 0 holds the headings, row 1 the passwords' heading.
constexpr int kSettingValue = 1;
constexpr int kDealerPasscodeRow = 3;

TEST(SettingsJourney, TheDealerPasscodeIsTypedInTheCommonSheetAndKept) {
  Journey user;
  user.Start();
  user.Open("Initial_PMR.rwc");
  user.SelectNode("Common");
  ASSERT_EQ(user.Sheet().Ref().Text(), "[St_Common]GI_Sheet_Common");
  EXPECT_EQ(user.CellText(0, kDealerPasscodeRow), "Dealer passcode");
  user.EnterInCell(kSettingValue, kDealerPasscodeRow, "98765");
  EXPECT_EQ(user.CellText(kSettingValue, kDealerPasscodeRow), "098765");
  EXPECT_TRUE(user.Controller().IsModified());
}

}  // namespace
