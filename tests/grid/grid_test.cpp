#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

#include "grid/cellpainter.h"
#include "grid/grideditor.h"
#include "grid/gridpopupmenu.h"
#include "grid_fixture.h"
#include "markup/ids.h"
#include "runtime/event.h"
#include "runtime/events.h"
#include "sheet/cellhit.h"
#include "sheet/gridkeys.h"
#include "sheet/sheet.h"

namespace {

using Pos = CellPosition;

// Selectable cells:
//   row 0  . . . .   (fixed)
//   row 1  S . S .
//   row 2  . . . .
//   row 3  . S S .
const std::vector<std::string> kCells = {"a|b|c|d", "{($Sel)}e|f|{($Sel)}g|h", "i|j|k|l", "m|{($Sel)}n|{($Sel)}o|p"};

class GridTest : public GridFixture {};

void RecordMenuEvents(void* data, const Event& event) {
  if (event.code == ev::kMenuClear || event.code == ev::kMenuFill)
    static_cast<std::vector<std::pair<std::uint32_t, std::string>>*>(data)->emplace_back(event.code,
                                                                                         std::string(event.Text()));
}

TEST_F(GridTest, KeyClicksReachTheCellsWithTheCodesOfTheKeyTable) {
  UseSheet("(FixedRows=1)", kCells);
  cuiSheet& sheet = Show();
  ASSERT_EQ(sheet.Current(), (Pos{0, 1}));
  QTest::keyClick(grid_, Qt::Key_Right);
  EXPECT_EQ(sheet.Current(), (Pos{2, 1}));
  QTest::keyClick(grid_, Qt::Key_Right);  // cannot move: the key reaches the cell
  for (int key = Qt::Key_F1; key <= Qt::Key_F12; ++key) QTest::keyClick(grid_, static_cast<Qt::Key>(key));
  QTest::keyClick(grid_, Qt::Key_A);
  QTest::keyClick(grid_, Qt::Key_Return);
  QTest::keyClick(grid_, Qt::Key_Enter);
  QTest::keyClick(grid_, Qt::Key_Space);
  QTest::keyClick(grid_, Qt::Key_Backspace);
  QTest::keyClick(grid_, Qt::Key_7);
  const std::vector<int> clicked = Codes();
  for (const Sent& s : sent) EXPECT_EQ((Pos{s.column, s.row}), (Pos{2, 1}));

  // The same keys through the key table without a window.
  sent.clear();
  sheet.MakeCurrent(0, 1);
  GridKeys keys(sheet);
  keys.KeyDown(vkey::kRight, {});
  keys.KeyDown(vkey::kRight, {});
  for (int key = vkey::kF1; key <= vkey::kF12; ++key) keys.KeyDown(key, {});
  for (int code : {int{'a'}, 13, 13, 32, 8, int{'7'}}) keys.Character(code);
  EXPECT_EQ(clicked, Codes());
  EXPECT_EQ(clicked, (std::vector<int>{0x2700, 0x7000, 0x7100, 0x7200, 0x7300, 0x7400, 0x7500, 0x7600, 0x7700, 0x7800,
                                       0x7900, 0x7A00, 0x7B00, 'a', 13, 13, 32, 8, '7'}));

  // Down searches the later rows; Ctrl+Up is left to the menu's shortcuts.
  QTest::keyClick(grid_, Qt::Key_Down);
  EXPECT_EQ(sheet.Current(), (Pos{2, 3}));
  QTest::keyClick(grid_, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(sheet.Current(), (Pos{2, 3}));
}

class GridEditorTest : public GridFixture {
 protected:
  // Enter opens the editor with "145" selected; a committed text is recorded.
  cuiSheet& ShowEditable() {
    UseSheet("(FixedRows=1)", kCells);
    reply = [](cmcCellCapsule& request) {
      if (request.key != 13 || request.editResult != kNoEdit) return 0;
      request.displayText = "145";
      request.caretPosition = 0;
      request.selectionLength = 3;
      request.edit(request, 0);
      return static_cast<int>(kInCellEditor);
    };
    return Show();
  }
  std::vector<std::string> Commits() const {
    std::vector<std::string> commits;
    for (const Sent& s : sent) {
      if (s.key == cellkey::kEvaluate && s.command == 0) commits.push_back(s.text);
    }
    return commits;
  }
  GridEditor& Open() {
    QTest::keyClick(grid_, Qt::Key_Return);
    EXPECT_TRUE(grid_->EditorOpen());
    return *grid_->Editor();
  }
};

TEST_F(GridEditorTest, OpensInsideTheCellWithTheLinksTextAndEnterCommitsOnce) {
  cuiSheet& sheet = ShowEditable();
  GridEditor& editor = Open();
  const std::optional<CellRect> cell =
      CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).RectOf(sheet.Current());
  ASSERT_TRUE(cell);
  EXPECT_TRUE(ToQRect(*cell).contains(editor.geometry())) << editor.geometry().x() << "," << editor.geometry().y();
  EXPECT_EQ(editor.text(), "145");
  EXPECT_EQ(editor.selectedText(), "145");
  EXPECT_EQ(editor.maxLength(), 1024);
  EXPECT_TRUE(editor.hasFocus());
  QTest::keyClicks(&editor, "146.5");
  QTest::keyClick(&editor, Qt::Key_Return);
  EXPECT_FALSE(grid_->EditorOpen());
  EXPECT_TRUE(grid_->hasFocus());
  grid_->CommitPendingEdit();  // nothing left to commit
  EXPECT_EQ(Commits(), (std::vector<std::string>{"146.5"}));
  EXPECT_EQ(sent.back().column, 0);
  EXPECT_EQ(sent.back().row, 1);
}

TEST_F(GridEditorTest, EscapeCommitsNothing) {
  ShowEditable();
  GridEditor& editor = Open();
  QTest::keyClicks(&editor, "9");
  QTest::keyClick(&editor, Qt::Key_Escape);
  EXPECT_FALSE(grid_->EditorOpen());
  EXPECT_TRUE(Commits().empty());
}

TEST_F(GridEditorTest, MovingTheFocusAwayCommitsOnce) {
  ShowEditable();
  auto* other = new QLineEdit(window_.get());
  other->setGeometry(0, 280, 100, 20);
  other->show();
  GridEditor& editor = Open();
  QTest::keyClicks(&editor, "12");
  other->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(grid_->EditorOpen());
  grid_->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(Commits(), (std::vector<std::string>{"12"}));
}

TEST_F(GridEditorTest, UpCommitsThenMovesAndACommandCommitsThePendingEdit) {
  cuiSheet& sheet = ShowEditable();
  sheet.MakeCurrent(2, 3);
  GridEditor& editor = Open();
  QTest::keyClicks(&editor, "1");
  QTest::keyClick(&editor, Qt::Key_Up);
  EXPECT_EQ(Commits(), (std::vector<std::string>{"1"}));
  EXPECT_EQ(sheet.Current(), (Pos{2, 1}));
  Open();
  grid_->CommitPendingEdit();  // before a save, a print or a clone write
  grid_->CommitPendingEdit();
  EXPECT_EQ(Commits(), (std::vector<std::string>{"1", "145"}));
}

TEST_F(GridEditorTest, TheEventThatFinishesEditsCommitsOnce) {
  grid_->SetEvents(&events_);
  ShowEditable();
  Open();
  events_.Send(ev::kFinishEdit, nullptr, 0);
  events_.Send(ev::kFinishEdit, nullptr, 0);
  EXPECT_FALSE(grid_->EditorOpen());
  EXPECT_EQ(Commits(), (std::vector<std::string>{"145"}));
}

TEST_F(GridEditorTest, ClosingTheSheetWithTheEditorOpenCommitsNothing) {
  ShowEditable();
  Open();
  grid_->Detach();
  EXPECT_FALSE(grid_->EditorOpen());
  QApplication::processEvents();  // the sheet is deleted now
  grid_->CommitPendingEdit();
  EXPECT_TRUE(Commits().empty());

  // Nor does destroying the grid.
  ShowEditable();
  Open();
  delete grid_;
  grid_ = nullptr;
  EXPECT_TRUE(Commits().empty());
}

TEST_F(GridTest, TheMainWindowsGridAnswersTheActiveCellQueryWithItsCurrentCell) {
  UseSheet("(FixedRows=1)", kCells);
  grid_->SetEvents(&events_);
  cuiSheet& sheet = Show();
  sheet.MakeCurrent(2, 3);
  // A grid that does not show the main window's sheet keeps quiet.
  EXPECT_EQ(events_.Query(ev::kQueryActiveCell, nullptr, 0), nullptr);

  grid_->SetAnswersActiveCell(true);
  const cmcEvAns* answer = events_.Query(ev::kQueryActiveCell, nullptr, 0);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->object, &sheet.CellAt(2, 3)->cell);
  EXPECT_EQ(answer->next, nullptr);

  grid_->Detach();  // no sheet, no answer
  EXPECT_EQ(events_.Query(ev::kQueryActiveCell, nullptr, 0), nullptr);
}

TEST_F(GridTest, APopupMenuItemAndItsShortcutRunTheItemsCommandOnTheCurrentCell) {
  std::vector<std::string> blocks = SheetBlocks("GI_T", "(FixedRows=1)", "{($Basic)(PopupMenu=GI_PMenu_T)}", kCells);
  for (const char* line :
       {"#GI_PMenu_T_BasicCell", "{($Basic)(%CT_PopupMenu.)}", "#", "#GI_PMenu_T_Body",
        "+Copy\t{(%CT_PopupMenu.CL_PMenu_Copy:Ctrl+C)}", "+Edit...\t{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}", "#"}) {
    blocks.emplace_back(line);
  }
  UseOverlay(blocks);
  grid_->SetMenuOverlays(overlay_.get(), overlay_.get());
  grid_->SetEvents(&events_);
  std::vector<std::pair<std::uint32_t, std::string>> announced;
  events_.AddListener(&RecordMenuEvents, &announced);
  cuiSheet& sheet = Show();
  Pump();
  // The main window's Edit menu is told to show the same items.
  ASSERT_FALSE(announced.empty());
  EXPECT_EQ(announced.back(), (std::pair<std::uint32_t, std::string>{ev::kMenuFill, "GI_PMenu_T"}));
  ASSERT_NE(grid_->PopupMenu(), nullptr);
  QMenu* menu = grid_->PopupMenu()->Menu();
  ASSERT_EQ(menu->actions().size(), 2);
  EXPECT_EQ(menu->actions()[0]->text(), "Copy");
  EXPECT_EQ(menu->actions()[1]->shortcuts().size(), 2);  // Return and Enter
  menu->actions()[0]->trigger();
  EXPECT_EQ(sent.back(), (Sent{0, 1, 0, cl::CL_PMenu_Copy, ""}));
  sheet.MakeCurrent(2, 3);
  QTest::keyClick(grid_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(sent.back(), (Sent{2, 3, 0, cl::CL_PMenu_Copy, ""}));
  // "Edit..." edits the cell as Enter does, once.
  QTest::keyClick(grid_, Qt::Key_Enter);
  EXPECT_EQ(sent.back(), (Sent{2, 3, 13, 0, ""}));
  menu->actions()[1]->trigger();
  EXPECT_EQ(sent.back(), (Sent{2, 3, 13, 0, ""}));
  EXPECT_EQ(sent.size(), 4u);

  // An item its link disables on the current cell neither runs nor takes its shortcut.
  reply = [](cmcCellCapsule& request) {
    if (request.cell->link == cl::CL_PMenu_Copy) request.cell->SetStateFlag(cmcCellObj::kDisabledFlag, true);
    return 0;
  };
  QTest::keyClick(grid_, Qt::Key_Up);  // back to (2, 1): the states follow the current cell
  EXPECT_EQ(sheet.Current(), (Pos{2, 1}));
  EXPECT_FALSE(menu->actions()[0]->isEnabled());
  EXPECT_TRUE(menu->actions()[1]->isEnabled());
  QTest::keyClick(grid_, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(sent.size(), 4u);
  events_.RemoveListener(&RecordMenuEvents, &announced);
}

TEST_F(GridTest, TheCurrentCellIsDrawnInTheHighlightColour) {
  UseSheet("", {"{($Sel)(Font=,,,-12,,,)}x                    |{($Sel)}y                    "});
  cuiSheet& sheet = Show();
  ASSERT_EQ(sheet.Current(), (Pos{0, 0}));
  const std::optional<CellRect> current = CellHit(sheet.Geometry(), 0, 0).RectOf({0, 0});
  const std::optional<CellRect> other = CellHit(sheet.Geometry(), 0, 0).RectOf({1, 0});
  ASSERT_TRUE(current && other);
  const QImage image = grid_->viewport()->grab().toImage();
  const QPalette palette = grid_->palette();
  // Right of the text, inside the cell.
  const QPoint inCurrent(current->right - 3, (current->top + current->bottom) / 2);
  const QPoint inOther(other->right - 3, (other->top + other->bottom) / 2);
  EXPECT_EQ(image.pixelColor(inCurrent), palette.color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(image.pixelColor(inOther), palette.color(QPalette::Active, QPalette::Base));
}

}  // namespace

// A sheet shown in a grid that its window's layout has not sized yet keeps
// the widths its texts need: the placeholder size before layout is no limit.
TEST_F(GridTest, ASheetShownBeforeLayoutKeepsTheWidthsOfASizedGrid) {
  UseSheet("(FixedRows=1)", {"a|b", "{($Sel)}a rather long cell text to be measured|{($Sel)}another long text here"});
  // The widths the texts need, from a sheet with no view to limit them.
  SheetServices unlimited{*overlay_, *overlay_, image_, grid_->Measurer()};
  std::unique_ptr<cuiSheet> natural = CreateSheet(SheetRef::Parse("GI_T"), unlimited);
  ASSERT_TRUE(natural->Build());
  std::vector<int> expected;
  for (int column = 0; column < natural->Columns(); ++column)
    expected.push_back(natural->Geometry().ColumnWidth(column));
  ASSERT_GT(expected[0], 200);  // wider than a grid's size before layout

  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* grid = new cuiGrid(&window);
  layout->addWidget(grid);
  SheetServices services{*overlay_, *overlay_, image_, grid->Measurer()};
  services.view = grid;
  services.onFault = [this](const std::string& text) { faults_.push_back(text); };
  std::unique_ptr<cuiSheet> sheet = CreateSheet(SheetRef::Parse("GI_T"), services);
  cuiSheet& early = *sheet;
  grid->Attach(std::move(sheet));
  ASSERT_TRUE(early.Show());
  window.resize(800, 300);
  window.show();
  QApplication::processEvents();
  for (int column = 0; column < early.Columns(); ++column) {
    EXPECT_EQ(early.Geometry().ColumnWidth(column), expected[static_cast<std::size_t>(column)]) << column;
  }
}
