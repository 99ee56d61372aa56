#include "app/mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>

#include "app/cuimain.h"
#include "app/environ.h"
#include "app/filedialogs.h"
#include "app/mainmenus.h"
#include "app/menu.h"
#include "app/navigationtree.h"
#include "app/statuspanels.h"
#include "app/toolbar.h"
#include "app/windowbounds.h"
#include "app/workarea.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "grid/grid.h"
#include "grid/qtfont.h"
#include "grid/sheetframe.h"
#include "markup/cellparser.h"
#include "sheet/sheet.h"

namespace {

constexpr int kTreeSplitterHandle = 3;
constexpr int kTreeMinimumWidth = 8;

}  // namespace

TForm1::TForm1(cuiMain& controller, QWidget* parent) : QMainWindow(parent), controller_(controller) {
  SetTitle(controller_.MainOverlay().GetLine(gi::GI_Sys_AppTitle, 0));
  ApplyOverlayFont();
  ApplyStoredBounds();
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildClientArea();
  BuildStatusBar();
  menus_ = std::make_unique<MainMenus>(
      *this, *treePanel_,
      MainMenus::Services{controller_.MainOverlay(),
                          controller_.Items(),
                          controller_,
                          controller_.Events(),
                          {[this] { return controller_.TreeFactsNow(); },
                           [this]() -> const cmcEeprom& { return controller_.EditImage(); }}});
  menus_->Build();
  // The Edit menu's items from the grid's pop-up menu act on the grid's current cell.
  menus_->Menu().SetPopupOwner({[this](int link) { sheetFrame_->Grid().RunPopupCommand(link); },
                                [this](int link) -> std::uint8_t {
                                  cuiSheet* sheet = sheetFrame_->Grid().Sheet();
                                  if (sheet == nullptr) return 4;  // disabled
                                  const CellPosition current = sheet->Current();
                                  return sheet->MenuItemState(current.column, current.row, link);
                                }});
  // Commands follow the cell: Paste once something was copied, Undo after an edit.
  connect(&sheetFrame_->Grid(), &cuiGrid::SheetInput, this, [this] { menus_->Menu().RefreshStates(); });
}

TForm1::~TForm1() = default;

void TForm1::RebuildTree() { menus_->RebuildTree(); }

bool TForm1::OpenSelectedNodeSheet() {
  iuiTree* tree = menus_->Tree();
  return tree != nullptr && tree->ReopenSelectedSheet();
}

void TForm1::MarkTree(const WarningMarks& marks) {
  if (iuiTree* tree = menus_->Tree()) {
    tree->MarkNodes({marks.warnings.begin(), marks.warnings.end()}, {marks.errors.begin(), marks.errors.end()});
  }
}

void TForm1::SetTitle(const std::string& title) {
  const QString text = QString::fromStdString(title);
  setWindowTitle(text);
  QGuiApplication::setApplicationDisplayName(text);
}

void TForm1::SetStatusMessage(CellColour text, CellColour background, const std::string& message) {
  messagePanel_->SetMessage(text, background, QString::fromStdString(message));
}

void TForm1::ApplyOverlayFont() {
  cmcGTex& overlay = controller_.MainOverlay();
  const CellParser parser(overlay);
  cmcCellObj cell;
  parser.ParseCell(cell, overlay.GetLine(gi::GI_Form_Main_BasicCell, 0), nullptr, nullptr);
  if (cell.font) setFont(ToQFont(*cell.font, font()));
}

void TForm1::ApplyStoredBounds() {
  const indEnviron& settings = controller_.Settings();
  const QRect stored(settings.left, settings.top, settings.width, settings.height);
  const QScreen* screen = QGuiApplication::primaryScreen();
  setGeometry(screen != nullptr ? FitToWorkArea(stored, screen->availableGeometry()) : stored);
}

void TForm1::BuildClientArea() {
  treeSplitter_ = new QSplitter(Qt::Horizontal, this);
  treeSplitter_->setHandleWidth(kTreeSplitterHandle);
  treeSplitter_->setChildrenCollapsible(false);
  treeSplitter_->setOpaqueResize(true);
  treePanel_ = new QWidget(treeSplitter_);
  treePanel_->setObjectName("treePanel");
  treePanel_->setMinimumWidth(kTreeMinimumWidth);
  workArea_ = new WorkArea(treeSplitter_);
  sheetFrame_ = new cuiSheetFrame;
  sheetFrame_->Grid().SetMenuOverlays(&controller_.MainOverlay(), &controller_.MainOverlay());
  sheetFrame_->Grid().SetEvents(&controller_.Events());
  sheetFrame_->Grid().SetAnswersActiveCell(true);
  workArea_->SetSheetWidget(sheetFrame_);
  treeSplitter_->addWidget(treePanel_);
  treeSplitter_->addWidget(workArea_);
  treeSplitter_->setStretchFactor(1, 1);
  const int treeWidth = std::max(controller_.Settings().splitterV, kTreeMinimumWidth);
  treeSplitter_->setSizes({treeWidth, std::max(width() - treeWidth, 0)});
  setCentralWidget(treeSplitter_);
}

void TForm1::BuildStatusBar() {
  messagePanel_ = new MessagePanel(this);
  statusBar()->addWidget(messagePanel_, 1);
  squarePanel_ = new QWidget(this);
  squarePanel_->setObjectName("squarePanel");
  statusBar()->addPermanentWidget(squarePanel_);
  squarePanel_->setFixedWidth(statusBar()->sizeHint().height());
}

void TForm1::ShowMakerPanel(const std::string& panelText) {
  if (makerPanel_ != nullptr) return;
  const QString text = QString::fromStdString(panelText);
  makerPanel_ = new QLabel(text, this);
  makerPanel_->setAlignment(Qt::AlignCenter);
  makerPanel_->setAutoFillBackground(true);
  QPalette colours = makerPanel_->palette();
  colours.setColor(QPalette::Window, QColor(128, 0, 0));
  colours.setColor(QPalette::WindowText, Qt::white);
  makerPanel_->setPalette(colours);
  const QFontMetrics metrics(statusBar()->font());
  makerPanel_->setFixedWidth(metrics.horizontalAdvance(text) + metrics.horizontalAdvance(QStringLiteral("XX")));
  statusBar()->addPermanentWidget(makerPanel_);
}

std::optional<std::string> TForm1::AskOpenPath(const FileDialogRequest& request) {
  return ::AskOpenPath(this, request);
}

std::optional<std::string> TForm1::AskSavePath(const FileDialogRequest& request) {
  return ::AskSavePath(this, request);
}

void TForm1::SetBusy(bool busy) {
  if (busy) {
    if (busyDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
    QApplication::restoreOverrideCursor();
  }
}

void TForm1::HostSheet(std::unique_ptr<cuiSheet> sheet) { sheetFrame_->Attach(std::move(sheet)); }

void TForm1::RemoveSheet() { sheetFrame_->Detach(); }

SheetView* TForm1::SheetAreaView() { return &sheetFrame_->Grid(); }

const TextMeasurer& TForm1::SheetMeasurer() const { return sheetFrame_->Grid().Measurer(); }

bool TForm1::SheetHasFocus() const { return sheetFrame_->Grid().hasFocus(); }

void TForm1::FocusSheet(bool sheet) {
  // The tree's view itself takes the keyboard, so that the arrows keep moving in it.
  iuiTree* tree = menus_->Tree();
  QWidget* target = sheet ? static_cast<QWidget*>(&sheetFrame_->Grid())
                          : (tree != nullptr ? static_cast<QWidget*>(&tree->View()) : treePanel_);
  if (target->isVisible()) target->setFocus();
}

int TForm1::WorkAreaHeight() const { return workArea_->height(); }

AreaHeights TForm1::ShownHeights() const { return workArea_->ShownHeights(); }

void TForm1::ApplyLayout(const WorkLayout::Change& change) { workArea_->ApplyLayout(change); }

bool TForm1::HasHelpWindow() const { return workArea_->HasHelpWindow(); }

void TForm1::SetToolBarVisible(bool visible) { menus_->ToolBar().SetVisible(visible); }

void TForm1::StoreBounds() {
  const QRect bounds = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
  indEnviron& settings = controller_.Settings();
  settings.left = bounds.x();
  settings.top = bounds.y();
  settings.width = bounds.width();
  settings.height = bounds.height();
  if (!treeSplitter_->sizes().isEmpty()) settings.splitterV = treeSplitter_->sizes().first();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  squarePanel_->setFixedWidth(statusBar()->height());
}

void TForm1::closeEvent(QCloseEvent* event) {
  // A modal operation (a clone transfer) disables the window: it stays.
  if (!isEnabled() || !controller_.QueryClose()) {
    event->ignore();
    return;
  }
  StoreBounds();
  controller_.OnFormClosing();
  QMainWindow::closeEvent(event);
}
