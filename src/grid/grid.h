#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "grid/qttextmeasurer.h"
#include "sheet/cellposition.h"
#include "sheet/inplaceedit.h"
#include "sheet/popupmenutracker.h"
#include "sheet/sheetview.h"

class cmcGTex;
class cmcEvMan;
struct Event;
struct cmcCellObj;
class cuiSheet;
class GridEditor;
class GridKeys;
class GridPopupMenu;
class QPainter;

// The grid that shows a sheet: it draws every cell from the cell's computed
// look, scrolls in whole cells with the fixed rows and columns kept, and
// hands keys, clicks, in-place edits and pop-up menu commands to the sheet.
//
// Hosting a sheet: make the grid, build the sheet's services with
// `services.view = grid` and `services.measurer = grid->Measurer()`, create
// the sheet, then `Attach` it and call its `Show()`.
class cuiGrid : public QAbstractScrollArea, public SheetView {
  Q_OBJECT

 public:
  explicit cuiGrid(QWidget* parent = nullptr);
  ~cuiGrid() override;

  // Measures with this grid's font: the measurer a hosted sheet is built with.
  const TextMeasurer& Measurer() const { return measurer_; }
  const QtTextMeasurer& Fonts() const { return measurer_; }

  // Shows the sheet, owned from now on; a sheet shown before is detached.
  void Attach(std::unique_ptr<cuiSheet> sheet);
  // Stops showing the sheet. An open editor commits nothing. The sheet is
  // deleted at the next turn of the event loop, so a link that closed it
  // from inside an action returns safely.
  void Detach();
  cuiSheet* Sheet() const;

  // The overlays the pop-up menus are read from (the sheet's, and the main
  // overlay for cell models); without them the grid has no pop-up menus.
  void SetMenuOverlays(cmcGTex* overlay, cmcGTex* mainOverlay);
  GridPopupMenu* PopupMenu() const { return menu_.get(); }

  // The event manager: the grid finishes a pending edit when asked (event
  // 21), announces its pop-up menu to the main menu (events 10 and 11, with
  // the grid as click-handler owner: see RunPopupCommand) and asks whether a
  // wheel turn is consumed elsewhere (query 39). None: the grid keeps to itself.
  void SetEvents(cmcEvMan* events);
  // The grid of the main window's current sheet answers query 12 with its
  // current cell, so that a main-menu command knows the cell it acts from.
  void SetAnswersActiveCell(bool answers) { answersActiveCell_ = answers; }
  // A pop-up menu command on the current cell, as its menu item runs it.
  void RunPopupCommand(int link);

  // A command that saves, prints or writes to the radio takes the open edit
  // first: it commits once.
  void CommitPendingEdit();
  bool EditorOpen() const;
  // Closes the editor: with `commit` its text goes to the cell it was opened on, once.
  void CloseEditor(bool commit);
  GridEditor* Editor() const { return editor_; }

  // The grid showing a cell (a link's request names only the cell object).
  struct ShownCell {
    cuiGrid* grid;
    CellPosition cell;
  };
  static std::optional<ShownCell> Showing(const cmcCellObj* cell);

  // Draws the visible cells onto a painter the size of the viewport.
  void PaintCells(QPainter& painter, const QRect& area);

  // --- SheetView ---
  void InvalidateCell(int column, int row) override;
  void InvalidateAll() override;
  void ScrollTo(int leftColumn, int topRow) override;
  void OpenEditor(int column, int row, const std::string& text, int caret, int selectionLength) override;
  Size ClientSize() const override;
  void TitleChanged() override { Q_EMIT SheetTitleChanged(); }

 Q_SIGNALS:
  // The sheet's title text or colour changed (a bank's room left).
  void SheetTitleChanged();
  // After a key, a click or a menu command reached the sheet (command states, help).
  void SheetInput();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // A sheet and what works on it; retired together, deleted later.
  struct Hosted {
    std::unique_ptr<cuiSheet> sheet;
    std::unique_ptr<GridKeys> keys;
  };
  struct ColumnDrag {
    int column;
    int startX;
    int startWidth;
  };

  bool HasFocusWithin() const;
  void AfterInput();
  void ScheduleRepeat();
  void RepeatDue();
  // A mouse drag held beyond the viewport's edge scrolls a cell per tick.
  void FollowDragBeyondEdge(const QPoint& point);
  void EdgeScrollDue();
  void UpdateScrollBars();
  void EnsureCurrentVisible();
  void RefreshPopupMenu(bool focusGained);
  void RefreshMenuStates();
  static void Listen(void* data, const Event& event);
  void AnswerActiveCell();
  void EditorKey(InPlaceEdit::KeyAction action, int virtualKey);
  void ShowPopupMenu(const QPoint& global);
  std::optional<ColumnDrag> ColumnEdgeUnder(const QPoint& point) const;
  int FixedHeight() const;

  QtTextMeasurer measurer_;
  Hosted hosted_;
  std::vector<Hosted> retired_;
  cmcEvMan* events_ = nullptr;
  cmcGTex* menuOverlay_ = nullptr;
  cmcGTex* mainOverlay_ = nullptr;
  std::unique_ptr<GridPopupMenu> menu_;
  PopupMenuTracker menuTracker_;
  GridEditor* editor_ = nullptr;  // a child, made on first use
  InPlaceEdit edit_;
  QTimer repeatTimer_;
  std::optional<ColumnDrag> drag_;
  bool mouseDown_ = false;
  bool settingBars_ = false;  // the bars follow the sheet: their moves scroll nothing
  bool answersActiveCell_ = false;
  QTimer edgeScrollTimer_;
  QPoint dragPoint_;
  CellPosition lastCurrent_;
};
