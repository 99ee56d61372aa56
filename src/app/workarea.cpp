#include "app/workarea.h"

#include <QSplitter>
#include <QVBoxLayout>

namespace {

constexpr int kSplitterHandle = 3;

int HeightIfShown(const QWidget* area) { return area->isVisible() ? area->height() : 0; }

}  // namespace

WorkArea::WorkArea(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setHandleWidth(kSplitterHandle);
  splitter_->setChildrenCollapsible(false);
  splitter_->setOpaqueResize(true);
  layout->addWidget(splitter_);

  sheetArea_ = new QWidget(splitter_);
  sheetLayout_ = new QVBoxLayout(sheetArea_);
  sheetLayout_->setContentsMargins(0, 0, 0, 0);
  // The memory-channel window and the help window dock here when they come.
  mchArea_ = new QWidget(splitter_);
  helpArea_ = new QWidget(splitter_);
  for (QWidget* area : {sheetArea_, mchArea_, helpArea_}) {
    area->setObjectName(area == sheetArea_ ? "sheetArea" : area == mchArea_ ? "mchArea" : "helpArea");
    area->setMinimumHeight(LayoutHeights::kLowest);
    splitter_->addWidget(area);
  }
  mchArea_->hide();
  helpArea_->hide();
}

void WorkArea::SetSheetWidget(QWidget* widget) {
  if (sheetWidget_ == widget) return;
  delete sheetWidget_;
  sheetWidget_ = widget;
  if (widget != nullptr) sheetLayout_->addWidget(widget);
}

void WorkArea::ApplyLayout(const WorkLayout::Change& change) {
  // The area that fills takes what the fixed ones leave.
  const int total = splitter_->height();
  mchArea_->setVisible(change.panels.mch);
  helpArea_->setVisible(change.panels.help);
  const int help = change.panels.help ? change.heights.help : 0;
  if (change.panels.mch) {
    const int sheet = change.heights.sheet;
    splitter_->setSizes({sheet, std::max(total - sheet - help, 0), help});
  } else {
    splitter_->setSizes({std::max(total - help, 0), 0, help});
  }
}

AreaHeights WorkArea::ShownHeights() const {
  return {HeightIfShown(sheetArea_), HeightIfShown(mchArea_), HeightIfShown(helpArea_)};
}

bool WorkArea::HasHelpWindow() const {
  return helpArea_->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}
