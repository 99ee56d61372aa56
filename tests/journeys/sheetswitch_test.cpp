#include <gtest/gtest.h>

#include <functional>

#include "app/mainmenus.h"
#include "app/navigationtree.h"
#include "grid/grid.h"
#include "journey.h"
#include "markup/ids.h"
#include "sheet/sheet.h"

namespace {

// Commands that replace the data: the sheet area shows the rebuilt tree's
// selected node's sheet, built once, not the sheet of the data before.
struct Replacement {
  const char* name;
  std::function<void(Journey&)> run;
};

const Replacement kReplacements[] = {
    {"Open", [](Journey& user) { user.Open("Initial_LMR.rwc"); }},
    {"New", [](Journey& user) { user.MenuItem(cl::CL_Menu_File_New); }},
    {"ModelChange",
     [](Journey& user) {
       user.Controller().ChangeModel(ModelType::kLandMobile, false);
       user.Settle();
     }},
};

TEST(SheetSwitchJourney, AfterTheDataIsReplacedTheSelectedNodesSheetIsBuiltOnce) {
  for (const Replacement& replacement : kReplacements) {
    Journey user;
    user.Start();
    user.Open("Initial_PMR.rwc");
    user.SelectNode("1:");
    ASSERT_EQ(user.Sheet().Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
    int shown = 0;  // the grid hears of each build's title
    QObject::connect(&user.Grid(), &cuiGrid::SheetTitleChanged, &user.Grid(), [&shown] { ++shown; });
    replacement.run(user);
    EXPECT_EQ(shown, 1) << replacement.name;
    const std::string selected = user.Form().Menus().Tree()->SelectedArgument();
    EXPECT_EQ(user.Sheet().Ref().Text(), selected) << replacement.name;
  }
}

}  // namespace
