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
  if (!sheet || !sheet->Style().title) {
    title_->hide();
    return;
  }
  const SheetStyle& style = sheet->Style();
  title_->setText(QString::fromStdString(*style.title));
  QPalette palette = title_->palette();
  palette.setColor(QPalette::WindowText, ToQColor(style.titleColour, palette));
  title_->setPalette(palette);
  title_->setFont(style.titleFont ? ToQFont(*style.titleFont, font()) : font());
  title_->show();
}
