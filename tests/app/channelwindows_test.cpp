// The bank-operation sheet, a bank's channel sheet and the memory-channel
// window together, as the work area shows them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QVBoxLayout>
#include <cstdlib>

#include "app/mchwinform.h"
#include "app/qt_application.h"
#include "core/gtex.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/clipch.h"
#include "model/cloneio.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"
#include "sheet/listsheet.h"
#include "sheet/sheetfactory.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

const std::string kData = std::string(RWQ_SOURCE_DATA_DIR) + "/";

class ChannelWindowsTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("RWQ_DATA_DIR", kData.c_str(), 1);
    overlay_.Open(kData + "QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, ModelType::kLandMobile, image_);
    initial_ = image_;
    environment_.initialImage = &initial_;
    environment_.clipboard = &clipboard_;
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  // Shows the sheet in the frame.
  cuiSheet& Show(cuiSheetFrame& frame, const std::string& ref) {
    SheetServices services{overlay_, overlay_, image_, frame.Grid().Measurer()};
    services.links = &links_;
    services.events = &events_;
    services.view = &frame.Grid();
    services.modes.modelType = ModelType::kLandMobile;
    frame.Attach(CreateSheet(SheetRef::Parse(ref), services));
    cuiSheet& sheet = *frame.Grid().Sheet();
    EXPECT_TRUE(sheet.Show()) << ref;
    return sheet;
  }
  void Pump() {
    for (int i = 0; i < 3; ++i) {
      clock_.Advance(cmcEvMan::kPumpIntervalMs);
      scheduler_.RunDue();
    }
  }
  static int ColumnOf(cuiSheet& sheet, int link, int row) {
    for (int column = 0; column < sheet.Columns(); ++column) {
      if (sheet.CellAt(column, row)->cell.link == link) return column;
    }
    return -1;
  }
  static int RowOf(cuiSheet& sheet, int link, int column) {
    for (int row = 0; row < sheet.Rows(); ++row) {
      if (sheet.CellAt(column, row)->cell.link == link) return row;
    }
    return -1;
  }

  cmcGTex overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  cmcEeprom initial_{cmcEeprom::kImageSize};
  datClipCh clipboard_;
  cmcFCache choices_{overlay_};
  NoEditors host_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  LinkEnvironment environment_{image_, overlay_, choices_, host_, nullptr, ModelType::kLandMobile, 0, {}, &events_};
  CellLinks links_{environment_};
};

TEST_F(ChannelWindowsTest, ANewChannelOnTheBanksFirstBlankRowShowsInTheWindowAndTheTitle) {
  RecordingMessageBox box;
  // The first bank gets room for two channels on the bank-operation sheet.
  cuiSheetFrame banks;
  cuiSheet& operation = Show(banks, "GI_Sheet_Mch_BankOp");
  const int size = ColumnOf(operation, cl::CL_Mch_Bank, 1);
  ASSERT_GE(size, 0);
  operation.CellAction(size, 1, 0, kNoCellLink, std::string("2"));
  Pump();
  ASSERT_EQ(datCh::BankSize(image_, 0), 2);

  // The bank's sheet, and the window below it, in a work area laid out first.
  QWidget area;
  auto* layout = new QVBoxLayout(&area);
  auto* frame = new cuiSheetFrame(&area);
  layout->addWidget(frame, 1);
  MchWinForm::Setup setup{overlay_, image_};
  setup.links = &links_;
  setup.events = &events_;
  setup.environment = &environment_;
  auto* window = new MchWinForm(setup, &area);
  layout->addWidget(window, 1);
  area.resize(900, 700);
  area.show();
  cuiSheet& sheet = Show(*frame, "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  ASSERT_EQ(sheet.Rows(), 1 + 2);
  ASSERT_TRUE(window->OpenFor(&sheet));

  const int fitBefore = datCh::ChannelsThatFit(image_, ModelType::kLandMobile);
  const std::string left = overlay_.GetLine("GI_AppInd_Sheet_Title_LeftCH", 0);
  EXPECT_NE(frame->Title().text().toStdString().find("(" + std::to_string(fitBefore) + " " + left + ")"),
            std::string::npos)
      << frame->Title().text().toStdString();

  // A frequency typed on the first blank row, committed with Enter.
  const int receive = ColumnOf(sheet, cl::CL_Mch_Operating_Freq, 1);
  ASSERT_GE(receive, 0);
  sheet.CellAction(receive, 1, 0, kNoCellLink, std::string("146.52"));
  Pump();
  EXPECT_EQ(sheet.CellText(receive, 1), "146.520000");
  cuiSheet& shown = *window->Frame().Grid().Sheet();
  const int windowRow = RowOf(shown, cl::CL_Mch_Operating_Freq, 1);
  ASSERT_GE(windowRow, 0);
  EXPECT_EQ(shown.CellText(1, windowRow), "146.520000");
  const int fitAfter = datCh::ChannelsThatFit(image_, ModelType::kLandMobile);
  EXPECT_NE(frame->Title().text().toStdString().find("(" + std::to_string(fitAfter) + " " + left + ")"),
            std::string::npos)
      << frame->Title().text().toStdString();
  EXPECT_TRUE(box.shown.empty());

  // A picture of the work area, on request.
  if (const char* path = std::getenv("RWQ_TEST_SCREENSHOT")) area.grab().save(QString::fromUtf8(path));
}

}  // namespace
