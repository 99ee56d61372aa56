#include <gtest/gtest.h>

#include <QAction>

#include "app/mchwinform.h"
#include "app/settingswidthstore.h"
#include "app/workarea.h"
#include "grid/flector.h"
#include "grid/grid.h"
#include "journey.h"
#include "markup/ids.h"
#include "sheet/headless.h"
#include "sheet/sheet.h"
#include "sheet/sheetfactory.h"

namespace {

// Columns and rows of a bank sheet: row 0 holds the headings.
constexpr int kFrequency = 2;
constexpr int kFirstChannel = 1;
constexpr int kFontSizes[] = {60, 80, 100};  // View > Font Size: Small, Medium, Large

// The PMR file open on bank 1: a restart opens no file, so each start does this.
void OpenBankOne(Journey& user) {
  user.Open("Initial_PMR.rwc");
  user.SelectNode("1:");
  ASSERT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
}

std::vector<int> TickedFontSizes(Journey& user) {
  std::vector<int> ticked;
  for (int percent : kFontSizes) {
    if (user.MenuAction(cl::CL_Menu_View_FontSize, percent).isChecked()) ticked.push_back(percent);
  }
  return ticked;
}

int ChannelRowHeight(Journey& user) { return user.Sheet().Geometry().RowHeight(kFirstChannel); }
int FrequencyWidth(Journey& user) { return user.Sheet().Geometry().ColumnWidth(kFrequency); }

TEST(FontSizeJourney, TheItemsCarryPercentagesAndTheTickFollowsTheSetting) {
  Journey user;
  user.Start();
  EXPECT_EQ(TickedFontSizes(user), std::vector<int>{80});
  user.MenuItem(cl::CL_Menu_View_FontSize, 100);
  EXPECT_EQ(user.Settings().fontSizePercentage, 100);
  EXPECT_EQ(TickedFontSizes(user), std::vector<int>{100});
}

TEST(FontSizeJourney, LargeBuildsBiggerCellsAndIsKeptOverARestart) {
  Journey user;
  user.Start();
  OpenBankOne(user);
  EXPECT_EQ(user.Sheet().Modes().fontSizePercent, 80);
  const int medium = ChannelRowHeight(user);
  const int mediumWidth = FrequencyWidth(user);
  user.MenuItem(cl::CL_Menu_View_FontSize, 100);
  // The tick reopened the bank's sheet in the new size.
  EXPECT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  EXPECT_EQ(user.Sheet().Modes().fontSizePercent, 100);
  EXPECT_GT(ChannelRowHeight(user), medium);
  // A width the user never gave follows the font: the heading still fits.
  EXPECT_GT(FrequencyWidth(user), mediumWidth);

  user.Restart();
  OpenBankOne(user);
  EXPECT_EQ(user.Sheet().Modes().fontSizePercent, 100);
  EXPECT_GT(ChannelRowHeight(user), medium);
  EXPECT_EQ(TickedFontSizes(user), std::vector<int>{100});
}

TEST(FontSizeJourney, AStoredSizeOutsideTheItemsIsKeptAsItIs) {
  Journey user;
  user.Settings().fontSizePercentage = 125;
  user.Start();
  OpenBankOne(user);
  EXPECT_EQ(TickedFontSizes(user), std::vector<int>{});
  EXPECT_EQ(user.Sheet().Modes().fontSizePercent, 125);
  user.Restart();
  EXPECT_EQ(user.Settings().fontSizePercentage, 125);
}

TEST(FontSizeJourney, ADropDownIsBuiltForTheModelAndSizeInForce) {
  Journey user;
  user.Start();  // on the land-mobile model
  user.MenuItem(cl::CL_Menu_View_FontSize, 100);
  OpenBankOne(user);
  user.ClickCell(kFrequency, kFirstChannel);
  user.Key(Qt::Key_Return);
  const auto* chooser = qobject_cast<cuiFlector*>(user.Chooser());
  ASSERT_NE(chooser, nullptr);
  ASSERT_NE(chooser->Grid().Sheet(), nullptr);
  EXPECT_EQ(chooser->Grid().Sheet()->Modes().fontSizePercent, 100);
  EXPECT_EQ(chooser->Grid().Sheet()->Modes().modelType, ModelType::kPmr);
}

TEST(FontSizeJourney, TheMemoryChannelWindowIsBuiltInTheUsersSize) {
  Journey user;
  user.Start();
  OpenBankOne(user);
  user.MenuItem(cl::CL_Menu_View_MchWin);
  MchWinForm* window = user.MchWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(window->Logic().Sheet(), nullptr);
  EXPECT_EQ(window->Logic().Sheet()->Modes().fontSizePercent, 80);
  user.MenuItem(cl::CL_Menu_View_FontSize, 100);
  ASSERT_EQ(user.MchWindow(), window);
  ASSERT_NE(window->Logic().Sheet(), nullptr);
  EXPECT_EQ(window->Logic().Sheet()->Modes().fontSizePercent, 100);
}

TEST(ColumnWidthJourney, ADraggedWidthSurvivesASheetSwitchAndARestart) {
  Journey user;
  user.Start();
  OpenBankOne(user);
  const int before = FrequencyWidth(user);
  user.DragColumnEdge(kFrequency, 40);
  const int dragged = FrequencyWidth(user);
  EXPECT_EQ(dragged, before + 40);
  user.SelectNode("Banks");
  user.SelectNode("1:");
  EXPECT_EQ(FrequencyWidth(user), dragged);

  user.Restart();
  OpenBankOne(user);
  EXPECT_EQ(FrequencyWidth(user), dragged);
}

TEST(ColumnWidthJourney, AResetGivesEveryKeptSheetItsOwnWidthsAgain) {
  Journey user;
  user.Start();
  OpenBankOne(user);
  const int own = FrequencyWidth(user);
  user.DragColumnEdge(kFrequency, 40);
  ASSERT_EQ(FrequencyWidth(user), own + 40);
  user.SelectNode("Banks");  // the bank's sheet closes and keeps its widths
  // No command asks for a reset yet: a sheet built to reset clears them.
  SettingsWidthStore widths(user.Settings());
  const CharacterMeasurer measurer;
  SheetServices services{user.Controller().MainOverlay(), user.Controller().MainOverlay(),
                         user.Controller().EditImage(), measurer};
  services.links = &user.Controller().Links();
  services.widths = &widths;
  std::unique_ptr<cuiSheet> resetting = CreateSheet(SheetRef::Parse("GI_Sheet_Mch_BankOp"), services);
  resetting->SetResetColumnWidths();
  ASSERT_TRUE(resetting->Show());
  resetting.reset();

  user.Restart();
  OpenBankOne(user);
  EXPECT_EQ(FrequencyWidth(user), own);
}

TEST(HelpAreaJourney, AnEmptyHelpAreaStaysHiddenAndItsStoredHeightIsKept) {
  Journey user;
  user.Settings().pHelpView = 1;  // View > Help Window ticked, as by default
  user.Settings().sHelpWinHeight = 120;
  user.Start();
  OpenBankOne(user);
  const QWidget* help = user.Form().Work()->HelpArea();
  EXPECT_FALSE(help->isVisibleTo(&user.Form()));
  EXPECT_EQ(user.Form().Work()->ShownHeights().help, 0);
  user.Restart();
  EXPECT_EQ(user.Settings().sHelpWinHeight, 120);
}

}  // namespace
