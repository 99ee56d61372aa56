#pragma once

#include <QApplication>
#include <QInputDevice>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/qt_application.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"
#include "sheet/sheet_fixture.h"

// The test application, made so that the device list outlives it: the test
// helpers and key events register input devices with that list, and the
// application, a static, deletes them at exit.
inline QApplication& GridTestApplication() {
  QInputDevice::devices();
  return TestApplication();
}

// A grid in a shown, active window over a sheet of a small overlay in
// memory; every request the sheet hands its link is recorded.
class GridFixture : public SheetFixture {
 protected:
  struct Sent {
    int column, row, key, command;
    std::string text;
    bool operator==(const Sent&) const = default;
  };

  void SetUp() override {
    GridTestApplication();
    window_ = std::make_unique<QWidget>();
    window_->resize(400, 300);
    grid_ = new cuiGrid(window_.get());
    grid_->setGeometry(0, 0, 400, 300);
  }

  // Builds the sheet GI_T of the overlay and shows it in the grid.
  cuiSheet& Show() {
    SheetServices services{*overlay_, *overlay_, image_, grid_->Measurer()};
    services.view = grid_;
    services.events = &events_;
    services.onFault = [this](const std::string& text) { faults_.push_back(text); };
    std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse("GI_T"), services);
    cuiSheet& shown = *sheet;
    shown.SetCallback([this, &shown](cmcCellCapsule& request, bool) { return Reply(shown, request); });
    grid_->Attach(std::move(sheet));
    EXPECT_TRUE(shown.Show()) << (faults_.empty() ? "" : faults_.back());
    window_->show();
    QApplication::setActiveWindow(window_.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    grid_->setFocus();
    QApplication::processEvents();
    return shown;
  }

  int Reply(cuiSheet& sheet, cmcCellCapsule& request) {
    if (request.painting) {
      request.displayText = "L" + std::to_string(request.cell->parameter);
      return 0;
    }
    for (int r = 0; r < sheet.Rows(); ++r) {
      for (int c = 0; c < sheet.Columns(); ++c) {
        if (&sheet.CellAt(c, r)->cell == request.cell)
          sent.push_back({c, r, request.key, request.menuCommand, request.editedText});
      }
    }
    return reply ? reply(request) : 0;
  }

  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Sent& s : sent) codes.push_back(s.key);
    return codes;
  }

  std::unique_ptr<QWidget> window_;
  cuiGrid* grid_ = nullptr;
  std::vector<Sent> sent;
  std::function<int(cmcCellCapsule&)> reply;
};
