#include "journey.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTreeView>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "app/mainmenus.h"
#include "app/mchwinform.h"
#include "app/menu.h"
#include "app/navigationtree.h"
#include "app/qt_application.h"
#include "grid/cellpainter.h"
#include "grid/flector.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "sheet/cellhit.h"
#include "sheet/sheet.h"

namespace {

// Enough turns for the tree's change delay, the posted events and the
// controller's 50 ms ticks to have run out.
constexpr int kSettleTurns = 20;

void RecordQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  // The offscreen platform's notes about what it cannot do are not the program's.
  if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QStringLiteral("This plugin does not support")))
    return;
  Journey::QtWarnings().push_back(message.toStdString());
}

}  // namespace

Journey::Journey(std::vector<const char*> arguments) : arguments_(std::move(arguments)) {
  TestApplication();
  setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
  setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR, 1);
  settings_ = std::make_unique<indEnviron>();
  QtWarnings().clear();
  qInstallMessageHandler(&RecordQtMessage);
}

std::vector<std::string>& Journey::QtWarnings() {
  static std::vector<std::string> warnings;
  return warnings;
}

Journey::~Journey() {
  // Closed first, as the user closes it: the controller lets go of the window.
  if (form_) form_->close();
  form_.reset();
  controller_.reset();
  settings_.reset();
  unsetenv("RWQ_DATA_DIR");
  unsetenv("XDG_CONFIG_HOME");
  qInstallMessageHandler(nullptr);
}

void Journey::Start() {
  mainOverlay_ = std::make_unique<cmcGTex>();
  languageList_ = std::make_unique<cmcGTex>();
  helpOverlay_ = std::make_unique<cmcHelpGTex>();
  controller_ = std::make_unique<indMain>(
      ControllerServices{*settings_, *mainOverlay_, *languageList_, *helpOverlay_, events_, scheduler_});
  form_ = std::make_unique<TForm1>(*controller_);
  controller_->Build(*form_, arguments_);
  form_->activateWindow();
  QApplication::setActiveWindow(form_.get());
  Settle();
}

void Journey::Restart() {
  form_->close();
  form_.reset();
  controller_.reset();
  // The settings are written as they go, and read as a new process reads them.
  settings_.reset();
  settings_ = std::make_unique<indEnviron>();
  Start();
}

void Journey::Open(const std::string& dataFile) {
  // A copy: a close that saves the user's edits never writes over a shipped file.
  const std::string copy = documents_.File(dataFile);
  std::filesystem::copy_file(std::string(RWQ_SOURCE_DATA_DIR) + "/" + dataFile, copy,
                             std::filesystem::copy_options::overwrite_existing);
  Controller().Documents().OpenFile(copy);
  Settle();
}

void Journey::SelectNode(const std::string& caption) {
  iuiTree* tree = form_->Menus().Tree();
  if (tree == nullptr) throw std::runtime_error("no tree");
  for (TreeNode* node : tree->Model().Nodes()) {
    if (node->caption.rfind(caption, 0) != 0) continue;
    tree->View().setFocus();
    tree->Select(node);
    // The sheet follows after the tree's change delay.
    const std::string wanted = node->Argument();
    (void)QTest::qWaitFor([&] {
      cuiSheet* sheet = Grid().Sheet();
      return sheet != nullptr && sheet->Ref().Text() == wanted;
    });
    Settle();
    return;
  }
  throw std::runtime_error("no tree node " + caption);
}

void Journey::Key(int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = Focus() != nullptr ? Focus() : form_.get();
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
  Settle();
}

void Journey::Type(const std::string& text) {
  QWidget* target = Focus() != nullptr ? Focus() : form_.get();
  QTest::keyClicks(target, QString::fromStdString(text));
  Settle();
}

void Journey::EnterInCell(int column, int row, const std::string& text) {
  ClickCell(column, row);
  for (const char key : text) Type(std::string(1, key));
  Key(Qt::Key_Return);
}

void Journey::ClickCell(int column, int row) {
  cuiSheet& sheet = Sheet();
  const std::optional<CellRect> cell =
      CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).RectOf({column, row});
  if (!cell) throw std::runtime_error("the cell is not on the screen");
  QTest::mouseClick(Grid().viewport(), Qt::LeftButton, Qt::NoModifier, ToQRect(*cell).center());
  Settle();
}

QAction& Journey::MenuAction(int link, std::optional<int> parameter) {
  cuiMenu& menu = form_->Menus().Menu();
  menu.RefreshStates();
  for (QAction* action : form_->findChildren<QAction*>()) {
    const cmcCellObj* cell = menu.CellOf(action);
    if (cell != nullptr && cell->link == link && (!parameter || cell->parameter == *parameter)) return *action;
  }
  throw std::runtime_error("no menu item for link " + std::to_string(link));
}

void Journey::MenuItem(int link, std::optional<int> parameter) {
  QAction& action = MenuAction(link, parameter);
  if (action.isEnabled()) action.trigger();
  Settle();
}

void Journey::DragColumnEdge(int column, int dx) {
  cuiSheet& sheet = Sheet();
  const std::optional<CellRect> heading =
      CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).RectOf({column, 0});
  if (!heading) throw std::runtime_error("the heading is not on the screen");
  const QPoint edge(heading->right + 1, (heading->top + heading->bottom) / 2);
  QWidget* viewport = Grid().viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, edge);
  QTest::mouseMove(viewport, edge + QPoint(dx, 0));
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, edge + QPoint(dx, 0));
  Settle();
}

void Journey::Settle() {
  for (int i = 0; i < kSettleTurns; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    clock_.Advance(50);
    scheduler_.RunDue();
  }
}

cuiGrid& Journey::Grid() { return form_->SheetFrame()->Grid(); }

cuiSheet& Journey::Sheet() {
  cuiSheet* sheet = Grid().Sheet();
  if (sheet == nullptr) throw std::runtime_error("no sheet is open");
  return *sheet;
}

CellPosition Journey::Current() { return Sheet().Current(); }

std::string Journey::CellText(int column, int row) { return Sheet().CellText(column, row); }

std::string Journey::Title() { return form_->SheetFrame()->Title().text().toStdString(); }

QWidget* Journey::Focus() const { return QApplication::focusWidget(); }

MchWinForm* Journey::MchWindow() const { return form_->findChild<MchWinForm*>(); }

QWidget* Journey::Chooser() const {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && qobject_cast<cuiFlector*>(window) != nullptr) return window;
  }
  return nullptr;
}
