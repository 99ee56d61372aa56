#include "app/mchwinform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <cstdlib>

#include "app/environ.h"
#include "app/qt_application.h"
#include "core/gtex.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/ch.h"
#include "model/cloneio.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"
#include "sheet/sheet.h"
#include "support/temp_dir.h"

namespace {

const std::string kData = std::string(RWQ_SOURCE_DATA_DIR) + "/";

class MchWinFormTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    setenv("RWQ_DATA_DIR", kData.c_str(), 1);
    overlay_.Open(kData + "QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, ModelType::kLandMobile, image_);
    datCh::SetBankSize(image_, 0, 3);
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("RWQ_DATA_DIR");
  }
  MchWinForm::Setup Setup(indEnviron* settings) {
    MchWinForm::Setup setup{overlay_, image_};
    setup.links = &links_;
    setup.events = &events_;
    setup.environment = &environment_;
    setup.settings = settings;
    return setup;
  }

  TempDir config_;
  cmcGTex overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  cmcFCache choices_{overlay_};
  NoEditors host_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  LinkEnvironment environment_{image_, overlay_, choices_, host_, nullptr, ModelType::kLandMobile, 0, {}, &events_};
  CellLinks links_{environment_};
};

TEST_F(MchWinFormTest, ItsButtonsSteppingTheBankAndItsTitleComeFromTheOverlay) {
  MchWinForm form(Setup(nullptr));
  EXPECT_EQ(form.windowTitle().toStdString(), overlay_.GetLine("GI_Sys_AppTitle", 0));
  EXPECT_EQ(form.CloseButton().text().toStdString(), overlay_.GetLine("GI_AppInd_MchWin_Button", 0));
  EXPECT_EQ(form.NextButton().text().toStdString(), overlay_.GetLine("GI_AppInd_MchWin_Button", 1));
  EXPECT_EQ(form.PreviousButton().text().toStdString(), overlay_.GetLine("GI_AppInd_MchWin_Button", 2));
  EXPECT_EQ(form.FollowBox().text().toStdString(), overlay_.GetLine("GI_AppInd_MchWin_Button", 3));

  ASSERT_TRUE(form.Open(0, 0));
  ASSERT_NE(form.Frame().Grid().Sheet(), nullptr);
  EXPECT_EQ(form.Frame().Grid().Sheet()->Name(), "GI_Sheet_Mch_Win_CONV_LMR");
  form.NextButton().click();
  form.NextButton().click();
  EXPECT_EQ(form.Logic().Channel(), 2);
  EXPECT_EQ(environment_.windowChannel, 2);
  form.PreviousButton().click();
  EXPECT_EQ(form.Logic().Channel(), 1);
  form.FollowBox().setChecked(false);
  EXPECT_FALSE(form.Logic().Follow());
}

TEST_F(MchWinFormTest, TheControllersEventsShowHideAndCloseItAndItsBoundsAreKept) {
  indEnviron settings;
  {
    MchWinForm form(Setup(&settings));
    ASSERT_TRUE(form.Open(0, 0));
    events_.Send(ev::kShowMchWindow, nullptr, 0);
    EXPECT_TRUE(form.isVisible());
    events_.Send(ev::kHideMchWindow, nullptr, 0);
    EXPECT_FALSE(form.isVisible());
    form.show();
    form.setGeometry(40, 50, 640, 410);
    events_.Send(ev::kCloseMchWindow, nullptr, 0);
    EXPECT_FALSE(form.isVisible());
  }
  EXPECT_EQ(settings.dockMchWinWidth, 640);
  EXPECT_EQ(settings.dockMchWinHeight, 410);
  MchWinForm reopened(Setup(&settings));
  EXPECT_EQ(reopened.geometry().size(), QSize(640, 410));
}

}  // namespace
