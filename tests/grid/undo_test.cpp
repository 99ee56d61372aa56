// Ctrl+Z on the land-mobile channel sheet in a grid, with the evaluator and
// the document's undo wired as the program wires them: an edited frequency is
// painted as it was before the edit, and Ctrl+Y paints the edit again.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "control/document.h"
#include "control/documentundo.h"
#include "core/gtex.h"
#include "grid/grid.h"
#include "grid/grideditor.h"
#include "grid/gridlinkhost.h"
#include "grid/sheetframe.h"
#include "grid_fixture.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/clipch.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/cellhit.h"
#include "sheet/sheet.h"
#include "sheet/sheetfactory.h"
#include "support/temp_dir.h"

namespace {

class GridUndoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QInputDevice::devices();
    TestApplication();
    overlay_.Open(platform::DataDir() + "QZ5071KE.OVL");
    document_.LoadModel(ModelType::kLandMobile);
    cmcEeprom& image = document_.Edit();
    datCh::SetBankSize(image, 0, 2);
    datCh channel(image);
    for (int number = 0; number < 2; ++number) {
      channel.load(datCh::kFirstChannelKind, number);
      channel.initialise();
      channel.freqR = 146000000 + 25000u * static_cast<std::uint32_t>(number);
      channel.name = number == 0 ? "DEPOT   " : "YARD    ";
      channel.store();
    }
    // Saved as it stands, so that the edit below is the only change.
    memmap::Encode(image, ModelType::kLandMobile);
    ASSERT_EQ(document_.SaveAs(dir_.File("depot.rwc")), Document::SaveResult::kSaved);
    ASSERT_FALSE(document_.IsModified());
    environment_.charset = &charset_;
    environment_.events = &events_;
    environment_.clipboard = &clipboard_;
    environment_.initialImage = &document_.Initial();
    environment_.recorder = &undo_;
    environment_.undo = &undo_;
    frame_ = std::make_unique<cuiSheetFrame>();
    frame_->resize(1000, 300);
    SheetServices services{overlay_, overlay_, image, frame_->Grid().Measurer()};
    services.links = &links_;
    services.view = &frame_->Grid();
    services.events = &events_;
    host_.SetSheetServices(services);
    frame_->Grid().SetMenuOverlays(&overlay_, &overlay_);
    std::unique_ptr<cuiSheet> sheet = CreateSheet(ChannelBankSheet(ModelType::kLandMobile, 0), services);
    sheet_ = sheet.get();
    undo_.SetSheets([this] { return std::vector<cuiSheet*>{sheet_}; });
    frame_->Attach(std::move(sheet));
    frame_->show();
    QApplication::setActiveWindow(frame_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame_.get()));
    ASSERT_TRUE(sheet_->Show());
    frame_->Grid().setFocus();
    Settle();
  }

  // The event pump and the window's paint events, as the program's timer runs them.
  void Settle() {
    for (int n = 0; n < 3; ++n) {
      clock_.Advance(cmcEvMan::kPumpIntervalMs);
      scheduler_.RunDue();
      QApplication::processEvents();
    }
  }
  // The cell of a link for channel 0.
  CellPosition CellOf(int link) {
    for (int row = 0; row < sheet_->Rows(); ++row) {
      for (int column = 0; column < sheet_->Columns(); ++column) {
        const clsSheetCellId* id = sheet_->CellAt(column, row);
        if (id && id->cell.link == link && id->cell.parameter == 0) return {column, row};
      }
    }
    return {};
  }
  // What the grid shows inside a cell.
  QImage Painted(CellPosition cell) {
    cuiGrid& grid = frame_->Grid();
    const std::optional<CellRect> rect =
        CellHit(sheet_->Geometry(), sheet_->LeftColumn(), sheet_->TopRow()).RectOf(cell);
    if (!rect) return {};
    const QPoint offset = grid.viewport()->pos();
    return grid
        .grab(
            QRect(offset.x() + rect->left, offset.y() + rect->top, rect->right - rect->left, rect->bottom - rect->top))
        .toImage();
  }

  TempDir dir_;
  cmcGTex overlay_;
  Document document_{overlay_};
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  DocumentUndo undo_{document_, overlay_, &events_};
  datClipCh clipboard_;
  cmcFCache choices_{overlay_};
  GridLinkHost host_;
  Charset charset_ = Charset::LoadShipped();
  LinkEnvironment environment_{document_.Edit(), overlay_, choices_, host_};
  CellLinks links_{environment_};
  std::unique_ptr<cuiSheetFrame> frame_;
  cuiSheet* sheet_ = nullptr;
};

TEST_F(GridUndoTest, CtrlZPaintsTheValueBeforeTheEditAndCtrlYTheEditAgain) {
  const CellPosition receive = CellOf(cl::CL_Mch_Operating_Freq);
  ASSERT_GE(receive.row, 0);
  ASSERT_EQ(sheet_->CellText(receive.column, receive.row), "146.000000");
  // The user clicks the cell, then commits a new frequency in it.
  const std::optional<CellRect> rect =
      CellHit(sheet_->Geometry(), sheet_->LeftColumn(), sheet_->TopRow()).RectOf(receive);
  ASSERT_TRUE(rect);
  QTest::mouseClick(frame_->Grid().viewport(), Qt::LeftButton, {},
                    QPoint((rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2));
  Settle();
  ASSERT_EQ(sheet_->Current(), receive);
  const QImage before = Painted(receive);
  ASSERT_FALSE(before.isNull());
  // Enter opens the in-place editor; Enter commits the typed text.
  cuiGrid& grid = frame_->Grid();
  QTest::keyClick(&grid, Qt::Key_Return);
  ASSERT_TRUE(grid.EditorOpen());
  QTest::keyClick(grid.Editor(), Qt::Key_A, Qt::ControlModifier);  // select all, then type over it
  QTest::keyClicks(grid.Editor(), "146.5");
  QTest::keyClick(grid.Editor(), Qt::Key_Return);
  Settle();
  ASSERT_EQ(sheet_->CellText(receive.column, receive.row), "146.500000");
  const QImage edited = Painted(receive);
  EXPECT_NE(edited, before);
  EXPECT_TRUE(document_.IsModified());

  QTest::keyClick(&frame_->Grid(), Qt::Key_Z, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(sheet_->CellText(receive.column, receive.row), "146.000000");
  EXPECT_EQ(Painted(receive), before);
  EXPECT_FALSE(document_.IsModified());
  EXPECT_EQ(undo_.RedoWhat(), "Receive (MHz)");

  QTest::keyClick(&frame_->Grid(), Qt::Key_Y, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(Painted(receive), edited);
  EXPECT_EQ(undo_.UndoWhat(), "Receive (MHz)");
}

}  // namespace
