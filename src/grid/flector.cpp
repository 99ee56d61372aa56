#include "grid/flector.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "grid/cellplacement.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"
#include "links/celllinks.h"
#include "sheet/cellhit.h"
#include "sheet/sheetfactory.h"

namespace {
constexpr int kEscape = 27;
}

cuiFlector* cuiFlector::open_ = nullptr;

cuiFlector::cuiFlector(Opener opener, const SheetServices& base, const std::string& list, int focusLink,
                       std::int32_t current)
    : QWidget(opener.grid ? opener.grid->window() : nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      opener_(std::move(opener)),
      grid_(new cuiGrid(this)),
      links_(base.links) {
  setAttribute(Qt::WA_DeleteOnClose);
  if (open_) open_->close();
  open_ = this;
  if (opener_.grid && opener_.grid->Sheet()) openerLife_ = opener_.grid->Sheet()->Life();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);

  SheetServices services{base.overlay, base.mainOverlay, base.image, grid_->Measurer()};
  services.links = base.links;
  services.events = base.events;
  services.view = grid_;
  services.modes = base.modes;
  services.onFault = base.onFault;
  std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse(list), services);
  sheet->SetDropDown(true);
  sheet->SetFocus(focusLink, current);
  sheet->SetCallback([this](cmcCellCapsule& request, bool notify) { return Serve(request, notify); });
  sheet_ = sheet.get();
  grid_->Attach(std::move(sheet));
  if (!sheet_->Show()) {
    sheet_ = nullptr;
    grid_->Detach();
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  PlaceAtOpener();
  show();
  activateWindow();
  grid_->setFocus(Qt::ActiveWindowFocusReason);
}

cuiFlector::~cuiFlector() {
  if (open_ == this) open_ = nullptr;
}

// The whole sheet when it fits the work area, else clipped to it with scroll bars.
void cuiFlector::PlaceAtOpener() {
  const SheetGeometry& geometry = sheet_->Geometry();
  const int frame = 2 * grid_->frameWidth();
  QSize size(static_cast<int>(geometry.TotalWidth()) + frame, static_cast<int>(geometry.TotalHeight()) + frame);
  QRect workArea(0, 0, 1024, 768);
  if (const QScreen* screen = opener_.grid ? opener_.grid->screen() : this->screen())
    workArea = screen->availableGeometry();
  const bool fits = size.width() <= workArea.width() && size.height() <= workArea.height();
  const Qt::ScrollBarPolicy bars = fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn;
  grid_->setHorizontalScrollBarPolicy(bars);
  grid_->setVerticalScrollBarPolicy(bars);
  size = size.boundedTo(workArea.size());
  resize(size);
  if (!opener_.grid || !opener_.grid->Sheet()) return;
  const cuiSheet& opening = *opener_.grid->Sheet();
  const std::optional<CellRect> cell =
      CellHit(opening.Geometry(), opening.LeftColumn(), opening.TopRow()).RectOf(opener_.cell);
  if (!cell) return;
  const QPoint topLeft = opener_.grid->viewport()->mapToGlobal(QPoint(cell->left, cell->top));
  move(PlaceAtCell(QRect(topLeft, QSize(cell->Width(), cell->Height())), size, workArea));
}

int cuiFlector::Serve(cmcCellCapsule& request, bool notify) {
  const bool plainKey = request.editResult == kNoEdit && request.menuCommand == 0 && !request.reply;
  if (plainKey && request.key == kEscape) {
    CloseToOpener();
    return kNoEditor;
  }
  if (plainKey && (request.key == cellkey::kEnter || request.key == cellkey::kDoubleClick)) {
    Deliver(request.cell->link, request.cell->parameter);
    return kNoEditor;
  }
  return links_ ? links_->Evaluate(request, notify) : kNoEditor;
}

// The choice goes back after this window's own action has returned, and
// only to the sheet and the cell that opened it.
void cuiFlector::Deliver(int link, std::int32_t value) {
  if (delivered_) return;
  delivered_ = true;
  CloseToOpener();
  if (!opener_.grid) return;
  const clsSheetCellId* id =
      opener_.grid->Sheet() ? opener_.grid->Sheet()->CellAt(opener_.cell.column, opener_.cell.row) : nullptr;
  if (!id) return;
  const int type = id->cell.type;
  const int openerLink = id->cell.link;
  const std::int32_t parameter = id->cell.parameter;
  QTimer::singleShot(
      0, opener_.grid.data(),
      [grid = opener_.grid, life = openerLife_, cell = opener_.cell, type, openerLink, parameter, link, value] {
        if (!grid || life.expired() || !grid->Sheet()) return;
        const clsSheetCellId* now = grid->Sheet()->CellAt(cell.column, cell.row);
        if (!now || now->cell.type != type || now->cell.link != openerLink || now->cell.parameter != parameter) return;
        grid->Sheet()->Choose(cell.column, cell.row, link, value);
        grid->InvalidateAll();
        Q_EMIT grid->SheetInput();
      });
}

// The keyboard goes back to the cell that opened the drop-down, so that the
// next key (Ctrl+Z, an arrow) reaches it also where no window manager hands
// the activation back.
void cuiFlector::CloseToOpener() {
  close();
  if (!opener_.grid) return;
  opener_.grid->window()->activateWindow();
  opener_.grid->setFocus(Qt::ActiveWindowFocusReason);
}

void cuiFlector::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A click elsewhere closes the drop-down without a choice.
  if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow()) close();
}
