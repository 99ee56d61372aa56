#include "editors/fieldeditor.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "grid/cellplacement.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/cellhit.h"
#include "sheet/sheet.h"

int FieldEditor::openCount_ = 0;

std::optional<EditorOpener> EditorOpener::Of(const cmcCellCapsule& request) {
  const std::optional<cuiGrid::ShownCell> shown = cuiGrid::Showing(request.cell);
  if (!shown) return std::nullopt;
  return EditorOpener{shown->grid, shown->cell};
}

FieldEditor::FieldEditor(EditorOpener opener, cmcEvMan* events, Qt::WindowFlags flags)
    : QWidget(opener.grid ? opener.grid->window() : nullptr, flags), opener_(std::move(opener)), events_(events) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("RW-M52-Q"));
  if (opener_.grid && opener_.grid->Sheet()) openerLife_ = opener_.grid->Sheet()->Life();
  ++openCount_;
  if (events_) events_->AddListener(&FieldEditor::Hear, this);
}

FieldEditor::~FieldEditor() {
  if (events_) events_->RemoveListener(&FieldEditor::Hear, this);
  --openCount_;
}

void FieldEditor::Commit() {
  if (closing_) return;
  const std::optional<std::string> reply = cancelled_ ? std::nullopt : Reply();
  closing_ = true;
  if (reply) Deliver(*reply);
  close();
}

void FieldEditor::Cancel() {
  if (closing_) return;
  cancelled_ = true;
  closing_ = true;
  close();
}

void FieldEditor::Deactivate() {
  if (RepliesOnDeactivation()) {
    Commit();
  } else {
    Cancel();
  }
}

void FieldEditor::Hear(void* data, const Event& event) {
  auto* editor = static_cast<FieldEditor*>(data);
  switch (event.code) {
  case ev::kQueryConsumeWheel:
    if (editor->events_) editor->events_->Answer(1);
    break;
  case ev::kCloseEditors: editor->Deactivate(); break;
  case ev::kOwnerDestroyed:
    if (editor->opener_.grid && event.sender == editor->opener_.grid->window()) editor->Cancel();
    break;
  default: break;
  }
}

// The reply goes back after the editor's own action has returned, and only
// to the sheet and the cell that opened it.
void FieldEditor::Deliver(const std::string& text) {
  if (delivered_ || !opener_.grid) return;
  delivered_ = true;
  const clsSheetCellId* id =
      opener_.grid->Sheet() ? opener_.grid->Sheet()->CellAt(opener_.cell.column, opener_.cell.row) : nullptr;
  if (!id) return;
  const cmcCellObj opened = id->cell;
  QTimer::singleShot(0, opener_.grid.data(),
                     [grid = opener_.grid, life = openerLife_, cell = opener_.cell, opened, text] {
                       if (!grid || life.expired() || !grid->Sheet()) return;
                       const clsSheetCellId* now = grid->Sheet()->CellAt(cell.column, cell.row);
                       if (!now || now->cell.type != opened.type || now->cell.link != opened.link ||
                           now->cell.parameter != opened.parameter)
                         return;
                       grid->Sheet()->ChooseText(cell.column, cell.row, text);
                       grid->InvalidateAll();
                       Q_EMIT grid->SheetInput();
                     });
}

cuiSheet* FieldEditor::ShowSheet(cuiGrid& grid, std::unique_ptr<cuiSheet> sheet) {
  cuiSheet* shown = sheet.get();
  grid.Attach(std::move(sheet));
  if (shown->Show()) return shown;
  grid.Detach();
  QTimer::singleShot(0, this, &FieldEditor::Cancel);
  return nullptr;
}

QHBoxLayout* FieldEditor::OkCancelRow(QPushButton* ok, QPushButton* cancel, int gap) {
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(gap);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &FieldEditor::Commit);
  connect(cancel, &QPushButton::clicked, this, &FieldEditor::Cancel);
  return buttons;
}

void FieldEditor::PlaceAtOpener() {
  if (!opener_.grid || !opener_.grid->Sheet()) return;
  const cuiSheet& opening = *opener_.grid->Sheet();
  const std::optional<CellRect> cell =
      CellHit(opening.Geometry(), opening.LeftColumn(), opening.TopRow()).RectOf(opener_.cell);
  if (!cell) return;
  QRect workArea(0, 0, 1024, 768);
  if (const QScreen* screen = opener_.grid->screen()) workArea = screen->availableGeometry();
  const QPoint topLeft = opener_.grid->viewport()->mapToGlobal(QPoint(cell->left, cell->top));
  move(PlaceAtCell(QRect(topLeft, QSize(cell->Width(), cell->Height())), frameGeometry().size(), workArea));
}

void FieldEditor::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() && !closing_) {
    // The editor's own pop-ups (a menu, a tool tip) keep it open.
    QTimer::singleShot(0, this, [this] {
      if (isVisible() && !isActiveWindow() && !closing_) Deactivate();
    });
  }
}

void FieldEditor::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Cancel();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Commit();
    return;
  }
  QWidget::keyPressEvent(event);
}

// The keyboard goes back to the opening cell, also where no window manager
// hands the activation back.
void FieldEditor::closeEvent(QCloseEvent* event) {
  closing_ = true;
  QWidget::closeEvent(event);
  if (!opener_.grid) return;
  opener_.grid->window()->activateWindow();
  opener_.grid->setFocus(Qt::ActiveWindowFocusReason);
}
