#include "grid/sheetframe.h"

#include <QLabel>
#include <QVBoxLayout>

#include "grid/grid.h"
#include "grid/qtcolours.h"
#include "grid/qtfont.h"
#include "sheet/sheet.h"

namespace {
constexpr int kTitleMargin = 4;
}

cuiSheetFrame::cuiSheetFrame(QWidget* parent) : QWidget(parent), title_(new QLabel(this)), grid_(new cuiGrid(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  title_->setContentsMargins(kTitleMargin, kTitleMargin, kTitleMargin, kTitleMargin);
  title_->setTextFormat(Qt::PlainText);
  title_->hide();
  layout->addWidget(title_);
  layout->addWidget(grid_, 1);
  setFocusProxy(grid_);
  connect(grid_, &cuiGrid::SheetTitleChanged, this, &cuiSheetFrame::UpdateTitle);
}

void cuiSheetFrame::Attach(std::unique_ptr<cuiSheet> sheet) {
  grid_->Attach(std::move(sheet));
  UpdateTitle();
}

void cuiSheetFrame::Detach() {
  grid_->Detach();
  UpdateTitle();
}

void cuiSheetFrame::UpdateTitle() {
  const cuiSheet* sheet = grid_->Sheet();
  const std::optional<std::string> text = sheet ? sheet->TitleText() : std::nullopt;
  if (!text) {
    title_->hide();
    return;
  }
  const SheetStyle& style = sheet->Style();
  title_->setText(QString::fromStdString(*text));
  QPalette palette = title_->palette();
  // A bank sheet colours its title text by the bank's flag.
  if (const std::optional<CellColour> font = sheet->TitleFontColour()) {
    palette.setColor(QPalette::WindowText, ToQColor(*font, palette));
  }
  palette.setColor(QPalette::Window, ToQColor(style.titleColour, palette));
  title_->setAutoFillBackground(true);
  title_->setPalette(palette);
  title_->setFont(style.titleFont ? ToQFont(*style.titleFont, font()) : font());
  title_->show();
}
