// The land-mobile channel sheet of the shipped overlay in a grid, with a few
// channels filled in: what a dealer sees first. With RWQ_GRID_SCREENSHOT set
// the grid's picture is saved there as PNG.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <cstdlib>

#include "core/gtex.h"
#include "grid/gridlinkhost.h"
#include "grid/sheetframe.h"
#include "grid_fixture.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/cloneio.h"
#include "platform/paths.h"
#include "sheet/cellhit.h"
#include "sheet/celllook.h"
#include "sheet/sheet.h"
#include "sheet/sheetfactory.h"

namespace {

class ChannelSheetTest : public ::testing::Test {
 protected:
  static constexpr int kChannels = 5;

  void SetUp() override {
    GridTestApplication();
    overlay_.Open(platform::DataDir() + "QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, ModelType::kLandMobile, image_);
    datCh::SetBankSize(image_, 0, kChannels);
    datCh channel(image_);
    const char* names[kChannels] = {"DEPOT", "YARD", "GATE", "NIGHT", "REPEAT"};
    for (int number = 0; number < kChannels; ++number) {
      channel.load(datCh::kFirstChannelKind, number);
      channel.initialise();
      channel.freqR = 146000000 + 25000u * static_cast<std::uint32_t>(number);
      channel.name = names[number];
      channel.name.resize(datCh::kNameLength, ' ');
      channel.store();
    }
    environment_.charset = &charset_;
    frame_ = std::make_unique<cuiSheetFrame>();
    frame_->resize(1000, 420);
    SheetServices services{overlay_, overlay_, image_, frame_->Grid().Measurer()};
    services.links = &links_;
    services.view = &frame_->Grid();
    host_.SetSheetServices(services);
    frame_->Grid().SetMenuOverlays(&overlay_, &overlay_);
    std::unique_ptr<cuiSheet> sheet = CreateSheet(ChannelBankSheet(ModelType::kLandMobile, 0), services);
    sheet_ = sheet.get();
    frame_->Attach(std::move(sheet));
    frame_->show();
    QApplication::setActiveWindow(frame_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    ASSERT_TRUE(sheet_->Show());
    frame_->Grid().setFocus();
    QApplication::processEvents();
  }

  cmcGTex overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  cmcFCache choices_{overlay_};
  GridLinkHost host_;
  Charset charset_ = Charset::LoadShipped();
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  CellLinks links_{environment_};
  std::unique_ptr<cuiSheetFrame> frame_;
  cuiSheet* sheet_ = nullptr;
};

TEST_F(ChannelSheetTest, ShowsTheChannelsWithTheCurrentCellHighlightedAndNoTextCutOff) {
  cuiGrid& grid = frame_->Grid();
  const QImage image = grid.grab().toImage();
  if (const char* path = std::getenv("RWQ_GRID_SCREENSHOT")) {
    EXPECT_TRUE(frame_->grab().save(path));
  }

  const CellPosition current = sheet_->Current();
  const CellHit hit(sheet_->Geometry(), sheet_->LeftColumn(), sheet_->TopRow());
  const std::optional<CellRect> rect = hit.RectOf(current);
  ASSERT_TRUE(rect);
  const QPoint offset = grid.viewport()->pos();
  // The cell's right end, clear of its text.
  const QPoint inside(offset.x() + rect->right - 2, offset.y() + rect->top + 2);
  EXPECT_EQ(image.pixelColor(inside), grid.palette().color(QPalette::Active, QPalette::Highlight));

  // Every visible text fits its cell: the columns were sized for them.
  LookSurroundings surroundings;
  int texts = 0;
  for (int row : sheet_->Geometry().VisibleRows(sheet_->TopRow(), grid.viewport()->height())) {
    for (int column : sheet_->Geometry().VisibleColumns(sheet_->LeftColumn(), grid.viewport()->width())) {
      const std::optional<CellRect> cell = hit.RectOf({column, row});
      const std::optional<CellLook> look =
          cell ? ComputeCellLook(*sheet_, {column, row}, *cell, surroundings, grid.Measurer()) : std::nullopt;
      if (!look) continue;
      for (const CellLook::Line& line : look->lines) {
        if (line.text.empty()) continue;
        ++texts;
        const double width = grid.Measurer().Measure(line.text, look->font).width;
        EXPECT_LE(line.x + width, look->rect.right + 1) << "\"" << line.text << "\" at " << column << "," << row;
        EXPECT_LE(line.y + look->lineHeight, look->rect.bottom + 1)
            << "\"" << line.text << "\" at " << column << "," << row;
      }
    }
  }
  EXPECT_GT(texts, kChannels * 3);
  EXPECT_EQ(sheet_->CellText(3, sheet_->Geometry().FixedRows()).empty(), false);
}

}  // namespace
