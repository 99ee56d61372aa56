#include "grid/grid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "grid/cellpainter.h"
#include "grid/grideditor.h"
#include "grid/gridpopupmenu.h"
#include "grid/qtcolours.h"
#include "grid/qtkeys.h"
#include "markup/ids.h"
#include "runtime/event.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/cellhit.h"
#include "sheet/celllook.h"
#include "sheet/columnautofit.h"
#include "sheet/gridkeys.h"
#include "sheet/sheet.h"

namespace {

constexpr int kScreenMarkSize = 14;

// The first scrolled index that still shows the last one whole: the scroll
// range ends there, so the grid never scrolls past its end.
int LastFirst(int count, int fixed, const std::function<int(int)>& size, int available) {
  int first = count - 1;
  int used = 0;
  for (int index = count - 1; index >= fixed; --index) {
    used += size(index);
    if (used > available) break;
    first = index;
  }
  return std::max(first, fixed);
}

// The first scrolled index that shows `index` whole, starting from `first`.
int FirstShowing(int index, int first, int fixed, const std::function<int(int)>& size, int available) {
  if (index < fixed) return first;
  if (index < first) return index;
  auto span = [&](int from) {
    int used = 0;
    for (int i = from; i <= index; ++i) used += size(i);
    return used;
  };
  while (first < index && span(first) > available) ++first;
  return first;
}

// Every grid alive, for the pop-up editors that are given only a cell.
constexpr int kEdgeScrollIntervalMs = 50;

// -1, 0 or 1: which side of [0, size) the coordinate lies on.
int Beyond(int coordinate, int size) { return coordinate < 0 ? -1 : (coordinate >= size ? 1 : 0); }

std::vector<cuiGrid*>& Grids() {
  static std::vector<cuiGrid*> grids;
  return grids;
}

}  // namespace

cuiGrid::cuiGrid(QWidget* parent) : QAbstractScrollArea(parent), measurer_(font()) {
  Grids().push_back(this);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  repeatTimer_.setSingleShot(true);
  connect(&repeatTimer_, &QTimer::timeout, this, [this] { RepeatDue(); });
  edgeScrollTimer_.setInterval(kEdgeScrollIntervalMs);
  connect(&edgeScrollTimer_, &QTimer::timeout, this, [this] { EdgeScrollDue(); });
  // Every input that reached the sheet, a chooser's choice too, may change
  // what the menu's items can do (Undo after an edit).
  connect(this, &cuiGrid::SheetInput, this, [this] { RefreshMenuStates(); });
}

cuiGrid::~cuiGrid() {
  std::erase(Grids(), this);
  SetEvents(nullptr);
  // Closing with the editor open commits nothing.
  edit_.Cancel();
  delete editor_;
  editor_ = nullptr;
  menu_.reset();
}

cuiSheet* cuiGrid::Sheet() const { return hosted_.sheet.get(); }

std::optional<cuiGrid::ShownCell> cuiGrid::Showing(const cmcCellObj* cell) {
  for (cuiGrid* grid : Grids()) {
    const cuiSheet* sheet = grid->Sheet();
    if (!sheet || !cell) continue;
    for (int row = 0; row < sheet->Rows(); ++row) {
      for (int column = 0; column < sheet->Columns(); ++column) {
        if (&sheet->CellAt(column, row)->cell == cell) return ShownCell{grid, {column, row}};
      }
    }
  }
  return std::nullopt;
}

void cuiGrid::Attach(std::unique_ptr<cuiSheet> sheet) {
  Detach();
  hosted_.keys = sheet ? std::make_unique<GridKeys>(*sheet) : nullptr;
  hosted_.sheet = std::move(sheet);
  lastCurrent_ = {};
  UpdateScrollBars();
  if (HasFocusWithin()) RefreshPopupMenu(true);
  viewport()->update();
}

void cuiGrid::Detach() {
  edit_.Cancel();
  if (editor_) editor_->hide();
  repeatTimer_.stop();
  edgeScrollTimer_.stop();
  drag_.reset();
  mouseDown_ = false;
  menu_.reset();
  menuTracker_.FocusLost();
  if (!hosted_.sheet) return;
  retired_.push_back(std::move(hosted_));
  hosted_ = {};
  QTimer::singleShot(0, this, [this] { retired_.clear(); });
  viewport()->update();
}

void cuiGrid::SetEvents(cmcEvMan* events) {
  if (events_) events_->RemoveListener(&cuiGrid::Listen, this);
  events_ = events;
  if (events_) events_->AddListener(&cuiGrid::Listen, this);
}

void cuiGrid::Listen(void* data, const Event& event) {
  auto* grid = static_cast<cuiGrid*>(data);
  if (event.code == ev::kFinishEdit) grid->CommitPendingEdit();
  if (event.code == ev::kQueryActiveCell) grid->AnswerActiveCell();
}

void cuiGrid::AnswerActiveCell() {
  cuiSheet* sheet = Sheet();
  if (!answersActiveCell_ || !events_ || !sheet || !sheet->Built()) return;
  clsSheetCellId* current = sheet->CellAt(sheet->Current().column, sheet->Current().row);
  if (current) events_->Answer(1, &current->cell);
}

void cuiGrid::SetMenuOverlays(cmcGTex* overlay, cmcGTex* mainOverlay) {
  menuOverlay_ = overlay;
  mainOverlay_ = mainOverlay;
  menu_.reset();
  menuTracker_.FocusLost();
  if (HasFocusWithin()) RefreshPopupMenu(true);
}

bool cuiGrid::HasFocusWithin() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == this || isAncestorOf(focus));
}

// --- SheetView ---

void cuiGrid::InvalidateCell(int column, int row) {
  const cuiSheet* sheet = Sheet();
  if (!sheet) return;
  // The whole row: joined cells and extensions draw beyond their own column.
  const std::optional<CellRect> rect =
      CellHit(sheet->Geometry(), sheet->LeftColumn(), sheet->TopRow()).RectOf({column, row});
  if (rect) viewport()->update(0, rect->top, viewport()->width(), rect->Height());
}

void cuiGrid::InvalidateAll() {
  UpdateScrollBars();
  viewport()->update();
}

void cuiGrid::ScrollTo(int leftColumn, int topRow) {
  const QScopedValueRollback settingBars(settingBars_, true);
  UpdateScrollBars();
  horizontalScrollBar()->setValue(leftColumn);
  verticalScrollBar()->setValue(topRow);
  if (editor_ && editor_->isVisible()) CloseEditor(true);
  viewport()->update();
}

// Until a layout or resize() has given the grid its size and the resize has
// reached the viewport, the viewport holds a placeholder size; report no size
// so the sheet does not limit its columns against it (resizeEvent applies the
// limits once the real size is known).
SheetView::Size cuiGrid::ClientSize() const {
  if (!testAttribute(Qt::WA_Resized) || testAttribute(Qt::WA_PendingResizeEvent)) return {0, 0};
  return {viewport()->width(), viewport()->height()};
}

void cuiGrid::OpenEditor(int column, int row, const std::string& text, int caret, int selectionLength) {
  cuiSheet* sheet = Sheet();
  const clsSheetCellId* id = sheet ? sheet->CellAt(column, row) : nullptr;
  if (!id) return;
  EnsureCurrentVisible();
  const std::optional<CellRect> cell =
      CellHit(sheet->Geometry(), sheet->LeftColumn(), sheet->TopRow()).RectOf({column, row});
  if (!cell) return;
  const QFont& font = measurer_.QtFont(sheet->FontOf(id->cell));
  const int lineHeight = QFontMetrics(font).height() + 2;
  const std::optional<CellRect> box = InPlaceEdit::Box(*cell, lineHeight, id->cell.vAlign);
  if (!box) return;
  if (!editor_) {
    editor_ = new GridEditor(
        viewport(), [this](InPlaceEdit::KeyAction action, int key) { EditorKey(action, key); },
        [this] { CloseEditor(true); });
  }
  edit_.Open(*sheet, {column, row});
  editor_->setFont(font);
  editor_->setAlignment(id->cell.hAlign == 2   ? Qt::AlignRight
                        : id->cell.hAlign == 1 ? Qt::AlignHCenter
                                               : Qt::AlignLeft);
  editor_->setGeometry(ToQRect(*box));
  editor_->setText(QString::fromStdString(text));  // also clears the undo history
  editor_->setCursorPosition(caret);
  if (selectionLength > 0) editor_->setSelection(caret, selectionLength);
  editor_->show();
  editor_->setFocus(Qt::OtherFocusReason);
  viewport()->update();
}

// --- the editor ---

bool cuiGrid::EditorOpen() const { return edit_.IsOpen() && editor_ && editor_->isVisible(); }

void cuiGrid::CloseEditor(bool commit) {
  if (!editor_) return;
  if (!edit_.IsOpen()) {
    editor_->hide();
    return;
  }
  const std::string text = editor_->text().toStdString();
  const bool focused = editor_->hasFocus();
  if (commit) {
    // Closed before the link runs: a message box it shows takes the focus,
    // and that focus loss finds nothing open.
    edit_.Commit(text);
  } else {
    edit_.Cancel();
  }
  editor_->hide();
  if (focused) setFocus(Qt::OtherFocusReason);
  viewport()->update();
}

void cuiGrid::CommitPendingEdit() { CloseEditor(true); }

void cuiGrid::EditorKey(InPlaceEdit::KeyAction action, int virtualKey) {
  CloseEditor(action != InPlaceEdit::KeyAction::kCancel);
  const bool gridKey =
      action == InPlaceEdit::KeyAction::kCommitThenMove || action == InPlaceEdit::KeyAction::kCommitThenGridKey;
  if (gridKey && hosted_.keys) hosted_.keys->KeyDown(virtualKey, {});
  AfterInput();
}

// --- drawing ---

int cuiGrid::FixedHeight() const {
  const SheetGeometry& geometry = Sheet()->Geometry();
  int height = 0;
  for (int row = 0; row < geometry.FixedRows(); ++row) height += geometry.RowHeight(row);
  return height;
}

void cuiGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  PaintCells(painter, event->rect());
}

void cuiGrid::PaintCells(QPainter& painter, const QRect& area) {
  cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Built()) return;
  const SheetGeometry& geometry = sheet->Geometry();
  const CellHit hit(geometry, sheet->LeftColumn(), sheet->TopRow());
  LookSurroundings surroundings;
  surroundings.focused = HasFocusWithin();
  surroundings.editorVisible = editor_ && editor_->isVisible();
  surroundings.colours = LookColoursOf(palette());
  surroundings.markSize = kScreenMarkSize;
  const QSize client = viewport()->size();
  const int fixedWidth = geometry.FixedWidth();
  const int fixedHeight = FixedHeight();
  for (int row : geometry.VisibleRows(sheet->TopRow(), client.height())) {
    for (int column : geometry.VisibleColumns(sheet->LeftColumn(), client.width())) {
      const std::optional<CellRect> rect = hit.RectOf({column, row});
      if (!rect || !ToQRect(*rect).intersects(area)) continue;
      const std::optional<CellLook> look = ComputeCellLook(*sheet, {column, row}, *rect, surroundings, measurer_);
      if (!look) continue;
      // Scrolled cells (and the joins they draw over) never cover the fixed ones.
      const int left = column < geometry.FixedColumns() ? 0 : fixedWidth;
      const int top = row < geometry.FixedRows() ? 0 : fixedHeight;
      const QRect clip = QRect(QPoint(left, top), QPoint(client.width(), client.height())).intersected(area);
      PaintCell(painter, *look, clip, palette(), measurer_);
    }
  }
}

// --- scrolling ---

void cuiGrid::UpdateScrollBars() {
  const cuiSheet* sheet = Sheet();
  if (!sheet) {
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);
    return;
  }
  const SheetGeometry& geometry = sheet->Geometry();
  const int lastLeft = LastFirst(
      geometry.Columns(), geometry.FixedColumns(), [&](int c) { return geometry.ColumnWidth(c); },
      viewport()->width() - geometry.FixedWidth());
  const int lastTop = LastFirst(
      geometry.Rows(), geometry.FixedRows(), [&](int r) { return geometry.RowHeight(r); },
      viewport()->height() - FixedHeight());
  // Not by blocking the bars' signals: the area shows or hides a bar when it hears of its new range.
  const QScopedValueRollback settingBars(settingBars_, true);
  horizontalScrollBar()->setRange(geometry.FixedColumns(), lastLeft);
  verticalScrollBar()->setRange(geometry.FixedRows(), lastTop);
  verticalScrollBar()->setPageStep(
      std::max(static_cast<int>(geometry.VisibleRows(lastTop, viewport()->height()).size()) - geometry.FixedRows(), 1));
  horizontalScrollBar()->setValue(sheet->LeftColumn());
  verticalScrollBar()->setValue(sheet->TopRow());
}

void cuiGrid::scrollContentsBy(int, int) {
  cuiSheet* sheet = Sheet();
  if (!sheet || settingBars_) return;
  if (editor_ && editor_->isVisible()) CloseEditor(true);
  sheet->SetTopLeft(horizontalScrollBar()->value(), verticalScrollBar()->value());
  viewport()->update();
}

void cuiGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (!Sheet()) return;
  Sheet()->ApplyWidthLimits();
  UpdateScrollBars();
}

void cuiGrid::EnsureCurrentVisible() {
  cuiSheet* sheet = Sheet();
  if (!sheet) return;
  const SheetGeometry& geometry = sheet->Geometry();
  const CellPosition current = sheet->Current();
  if (!sheet->CellAt(current.column, current.row)) return;
  const int left = FirstShowing(
      current.column, sheet->LeftColumn(), geometry.FixedColumns(), [&](int c) { return geometry.ColumnWidth(c); },
      viewport()->width() - geometry.FixedWidth());
  const int top = FirstShowing(
      current.row, sheet->TopRow(), geometry.FixedRows(), [&](int r) { return geometry.RowHeight(r); },
      viewport()->height() - FixedHeight());
  if (left == sheet->LeftColumn() && top == sheet->TopRow()) return;
  sheet->SetTopLeft(left, top);
  ScrollTo(sheet->LeftColumn(), sheet->TopRow());
}

// --- input ---

void cuiGrid::AfterInput() {
  cuiSheet* sheet = Sheet();
  if (!sheet) return;
  EnsureCurrentVisible();
  if (sheet->Current() != lastCurrent_) {
    lastCurrent_ = sheet->Current();
    if (HasFocusWithin()) RefreshPopupMenu(false);
  }
  ScheduleRepeat();
  Q_EMIT SheetInput();
}

void cuiGrid::ScheduleRepeat() {
  if (!hosted_.keys) return;
  const std::optional<int> wait = hosted_.keys->RepeatWait();
  if (!wait) return;
  viewport()->repaint();
  repeatTimer_.start(*wait);
}

void cuiGrid::RepeatDue() {
  if (!hosted_.keys) return;
  hosted_.keys->Repeat();
  AfterInput();
}

void cuiGrid::keyPressEvent(QKeyEvent* event) {
  if (!hosted_.keys) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const std::optional<int> key = qtkeys::VirtualKey(*event);
  if (key && hosted_.keys->KeyDown(*key, qtkeys::Modifiers(*event))) {
    event->accept();
    AfterInput();
    return;
  }
  const std::optional<int> code = qtkeys::TypedCode(*event);
  if (code && !event->modifiers().testFlag(Qt::ControlModifier) && hosted_.keys->Character(*code)) {
    event->accept();
    AfterInput();
    return;
  }
  event->ignore();
}

void cuiGrid::keyReleaseEvent(QKeyEvent* event) {
  if (Sheet()) InvalidateCell(Sheet()->Current().column, Sheet()->Current().row);
  QAbstractScrollArea::keyReleaseEvent(event);
}

std::optional<cuiGrid::ColumnDrag> cuiGrid::ColumnEdgeUnder(const QPoint& point) const {
  const cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Style().columnsSizable) return std::nullopt;
  const CellHit hit(sheet->Geometry(), sheet->LeftColumn(), sheet->TopRow());
  const std::optional<int> column = hit.ColumnEdgeAt(point.x(), point.y());
  if (!column) return std::nullopt;
  return ColumnDrag{*column, point.x(), sheet->Geometry().ColumnWidth(*column)};
}

void cuiGrid::mousePressEvent(QMouseEvent* event) {
  cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Built()) return;
  setFocus(Qt::MouseFocusReason);
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    drag_ = ColumnEdgeUnder(point);
    if (drag_) return;
  }
  const std::optional<CellPosition> cell = CellAtPoint(*sheet, point.x(), point.y());
  if (event->button() == Qt::RightButton) {
    const clsSheetCellId* id = cell ? sheet->CellAt(cell->column, cell->row) : nullptr;
    const bool keepSelection = id && sheet->Selection().Active() && id->selected;
    if (cell && !keepSelection) sheet->MakeCurrent(cell->column, cell->row);
    AfterInput();
    if (cell) ShowPopupMenu(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  mouseDown_ = true;
  if (cell) sheet->MakeCurrent(cell->column, cell->row, event->modifiers().testFlag(Qt::ShiftModifier));
  AfterInput();
}

void cuiGrid::mouseMoveEvent(QMouseEvent* event) {
  cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Built()) return;
  const QPoint point = event->position().toPoint();
  if (drag_) {
    sheet->SetColumnWidth(drag_->column, drag_->startWidth + point.x() - drag_->startX);
    InvalidateAll();
    return;
  }
  viewport()->setCursor(ColumnEdgeUnder(point) ? Qt::SplitHCursor : Qt::ArrowCursor);
  if (mouseDown_) FollowDragBeyondEdge(point);
  const bool follow = mouseDown_ || sheet->DropDown();
  if (!follow) return;
  const std::optional<CellPosition> cell = CellAtPoint(*sheet, point.x(), point.y());
  if (cell && *cell != sheet->Current()) {
    sheet->MakeCurrent(cell->column, cell->row, mouseDown_);
    AfterInput();
  }
}

void cuiGrid::FollowDragBeyondEdge(const QPoint& point) {
  dragPoint_ = point;
  const bool outside = !viewport()->rect().contains(point);
  if (!outside) {
    edgeScrollTimer_.stop();
  } else if (!edgeScrollTimer_.isActive()) {
    edgeScrollTimer_.start();
  }
}

void cuiGrid::EdgeScrollDue() {
  cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Built() || !mouseDown_) {
    edgeScrollTimer_.stop();
    return;
  }
  const int dx = Beyond(dragPoint_.x(), viewport()->width());
  const int dy = Beyond(dragPoint_.y(), viewport()->height());
  if (dx != 0) sheet->MoveCurrent(dx, 0, true);
  if (dy != 0) sheet->MoveCurrent(0, dy, true);
  AfterInput();
}

void cuiGrid::mouseReleaseEvent(QMouseEvent* event) {
  cuiSheet* sheet = Sheet();
  drag_.reset();
  mouseDown_ = false;
  edgeScrollTimer_.stop();
  if (!sheet || !sheet->Built()) return;
  InvalidateCell(sheet->Current().column, sheet->Current().row);
  if (event->button() != Qt::LeftButton || !sheet->DropDown()) return;
  const QPoint point = event->position().toPoint();
  const std::optional<CellPosition> cell = CellAtPoint(*sheet, point.x(), point.y());
  if (cell && *cell == sheet->Current() && hosted_.keys) {
    hosted_.keys->SendToCurrent(cellkey::kDoubleClick);
    AfterInput();
  }
}

void cuiGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  cuiSheet* sheet = Sheet();
  if (!sheet || !sheet->Built() || event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  if (const std::optional<ColumnDrag> edge = ColumnEdgeUnder(point)) {
    sheet->SetColumnWidth(edge->column, AutoFitWidth(*sheet, edge->column, measurer_));
    InvalidateAll();
    return;
  }
  const std::optional<CellPosition> cell = CellAtPoint(*sheet, point.x(), point.y());
  if (cell && *cell == sheet->Current() && hosted_.keys) {
    hosted_.keys->SendToCurrent(cellkey::kDoubleClick);
    AfterInput();
  }
}

void cuiGrid::wheelEvent(QWheelEvent* event) {
  cuiSheet* sheet = Sheet();
  const QWidget* top = window();
  if (!sheet || !hosted_.keys || (top && !top->isEnabled()) || event->angleDelta().y() == 0) return;
  if (events_) {
    const cmcEvAns* answer = events_->Query(ev::kQueryConsumeWheel, this, event->angleDelta().y());
    if (answer && answer->value) return;
  }
  const bool towardUser = event->angleDelta().y() < 0;
  const CellPosition current = sheet->Current();
  hosted_.keys->Wheel({current.column, current.row + (towardUser ? 1 : -1)}, towardUser);
  event->accept();
  AfterInput();
}

void cuiGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RefreshPopupMenu(true);
  viewport()->update();
}

void cuiGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // The editor and the menu are the grid's own: the focus stays within.
  if (!HasFocusWithin() && event->reason() != Qt::PopupFocusReason) {
    menu_.reset();
    menuTracker_.FocusLost();
  }
  viewport()->update();
}

// --- pop-up menu ---

void cuiGrid::RefreshPopupMenu(bool focusGained) {
  cuiSheet* sheet = Sheet();
  if (!sheet || !menuOverlay_ || !mainOverlay_) return;
  const clsSheetCellId* id = sheet->CellAt(sheet->Current().column, sheet->Current().row);
  if (!id) return;
  if (!menuTracker_.CurrentChanged(id->cell, focusGained) && menu_) return;
  menu_.reset();
  if (!menuTracker_.Name()) return;
  menu_ = std::make_unique<GridPopupMenu>(*this, *menuOverlay_, *mainOverlay_, *menuTracker_.Name(),
                                          [this](int link) { RunPopupCommand(link); });
  RefreshMenuStates();
  QObject::connect(menu_->Menu(), &QMenu::aboutToShow, menu_->Menu(), [this] { RefreshMenuStates(); });
  // The Edit menu of the main window shows the same items.
  if (events_) {
    events_->Post(ev::kMenuClear, this, cl::CL_Menu_Edit_Top);
    events_->Post(ev::kMenuFill, this, cl::CL_Menu_Edit_Top, *menuTracker_.Name());
  }
}

// The items follow the current cell: Paste is disabled with nothing to paste, and so on.
void cuiGrid::RefreshMenuStates() {
  cuiSheet* sheet = Sheet();
  if (!sheet || !menu_) return;
  const CellPosition current = sheet->Current();
  menu_->RefreshStates([&](int link) { return sheet->MenuItemState(current.column, current.row, link); });
}

void cuiGrid::RunPopupCommand(int link) {
  cuiSheet* sheet = Sheet();
  if (!sheet) return;
  const CellPosition current = sheet->Current();
  const clsSheetCellId* id = sheet->CellAt(current.column, current.row);
  if (!id || !id->cell.selectable || !hosted_.keys) return;
  if (link == cl::CL_PMenu_Edit) {
    // "Edit..." (its shortcut is Enter) edits the cell as Enter does: the
    // links know no command of that name, and Enter must not go dead.
    hosted_.keys->SendToCurrent(cellkey::kEnter);
  } else {
    sheet->CellAction(current.column, current.row, cellkey::kEvaluate, link);
  }
  AfterInput();
}

void cuiGrid::ShowPopupMenu(const QPoint& global) {
  cuiSheet* sheet = Sheet();
  if (!sheet) return;
  const clsSheetCellId* id = sheet->CellAt(sheet->Current().column, sheet->Current().row);
  if (!id || !id->cell.selectable) return;
  RefreshPopupMenu(false);
  if (menu_ && menu_->Menu()) menu_->Menu()->popup(global);
}
