#include "app/toolbar.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>
#include <QWidget>

#include "app/iconlist.h"
#include "control/itemdispatch.h"
#include "markup/cellparser.h"
#include "runtime/events.h"
#include "runtime/evman.h"

cuiToolBar::cuiToolBar(QMainWindow& form, cmcGTex& overlay, std::string listName, const IconList& images,
                       ItemDispatch& dispatch, cmcEvMan& events)
    : form_(form),
      overlay_(overlay),
      listName_(std::move(listName)),
      images_(images),
      dispatch_(dispatch),
      events_(events) {
  events_.AddListener(&cuiToolBar::OnEvent, this);
}

cuiToolBar::~cuiToolBar() { events_.RemoveListener(&cuiToolBar::OnEvent, this); }

void cuiToolBar::Rebuild() {
  for (QToolBar* row : rows_) {
    form_.removeToolBar(row);
    delete row;
  }
  rows_.clear();
  cells_.clear();
  const CellParser parser(overlay_);
  layout_ = ToolBarLayout::Read(overlay_, parser, listName_);
  for (std::vector<ToolBarLayout::Entry>& entries : layout_.rows) {
    if (!rows_.empty()) form_.addToolBarBreak();
    auto* row = new QToolBar(&form_);
    row->setObjectName(QStringLiteral("ToolBarRow%1").arg(rows_.size()));
    row->setMovable(false);
    row->setIconSize(QSize(IconList::kIconSize, IconList::kIconSize));
    row->setContentsMargins(4, 0, 0, 0);
    form_.addToolBar(Qt::TopToolBarArea, row);
    rows_.push_back(row);
    for (ToolBarLayout::Entry& entry : entries) {
      if (entry.separator) {
        auto* gap = new QWidget(row);
        gap->setFixedWidth(kGapWidth);
        row->addWidget(gap);
      } else {
        AddButton(*row, entry);
      }
    }
  }
  RefreshStates();
}

void cuiToolBar::AddButton(QToolBar& row, ToolBarLayout::Entry& entry) {
  const QString hint = QString::fromStdString(DisplayTextOf(entry.cell));
  QAction* action = row.addAction(images_.Icon(entry.cell.imageIndex), hint);
  action->setToolTip(hint);
  action->setData(entry.cell.imageIndex);
  cells_[action] = &entry.cell;
  connect(action, &QAction::triggered, this, [this, action] {
    // A check-style button toggles itself on a click; the link decides.
    if (cmcCellObj* cell = CellOf(action)) dispatch_.Activate(*cell);
    RefreshStates();
  });
}

cmcCellObj* cuiToolBar::CellOf(const QAction* action) const {
  const auto found = cells_.find(action);
  return found == cells_.end() ? nullptr : found->second;
}

void cuiToolBar::RefreshStates() {
  for (auto& [action, cell] : cells_) {
    const ItemState state = dispatch_.Refresh(*cell);
    action->setCheckable(state.ticked);
    action->setChecked(state.ticked);
    action->setEnabled(!state.disabled);
    if (action->data().toInt() != state.imageIndex) {
      action->setData(state.imageIndex);
      action->setIcon(images_.Icon(state.imageIndex));
    }
  }
}

void cuiToolBar::SetVisible(bool visible) {
  for (QToolBar* row : rows_) row->setVisible(visible);
}

void cuiToolBar::OnEvent(void* self, const Event& event) {
  if (event.code == ev::kToolbarStates) static_cast<cuiToolBar*>(self)->RefreshStates();
}
