#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "links/cellcapsule.h"
#include "markup/cellobj.h"
#include "markup/cellparser.h"
#include "sheet/cellposition.h"
#include "sheet/columnwidths.h"
#include "sheet/groups.h"
#include "sheet/multiselection.h"
#include "sheet/repaint.h"
#include "sheet/rowlist.h"
#include "sheet/sheetcell.h"
#include "sheet/sheetcontext.h"
#include "sheet/sheetgeometry.h"
#include "sheet/sheetref.h"
#include "sheet/sheetstyle.h"

struct Event;

// A sheet: a grid whose cells, sizes and behaviour come from three overlay
// blocks named after it (its style, basic cell and cells). It is built without
// a window; the grid shows it through SheetView, the printer pages it and the
// command line prints its texts. It keeps no values: a cell's text is asked of
// its link whenever it is wanted.
class cuiSheet {
 public:
  // Serves a cell request; returns the editor request (the evaluator by default).
  using CellCallback = std::function<int(cmcCellCapsule& request, bool notify)>;
  using Position = CellPosition;
  // What a cell action leaves for the grid to do.
  struct ActionResult {
    int editor = kNoEditor;
    std::int32_t repeatKey = 0;  // not 0: the action is to be repeated with this key
  };
  // What a cell's link says when the cell is drawn.
  struct CellFace {
    std::string text;
    int marks = 0;
    std::optional<CellColour> fontColour;
    std::optional<std::vector<std::uint16_t>> glyphs;  // segment patterns to draw instead of the text
  };
  struct ViewPosition {
    Position current;
    int leftColumn = 0;
    int topRow = 0;
  };

  // A condition of the definition lines ("Only_Pmr 2"), and what it may ask.
  struct ConditionFacts {
    const SheetModes& modes;
    const cmcEeprom& image;
    bool printing;
  };
  struct Condition {
    std::string_view word;
    bool (*holds)(const ConditionFacts& facts);
  };

  // Most rows a sheet may have, and most cells.
  static constexpr std::size_t kMaxRows = 4096;
  static constexpr std::size_t kMaxCells = 1 << 17;
  static constexpr std::string_view kIllegalCellAssign = "Illegal Cell assign";

  cuiSheet(SheetServices services, SheetRef ref);
  virtual ~cuiSheet();
  cuiSheet(const cuiSheet&) = delete;
  cuiSheet& operator=(const cuiSheet&) = delete;

  // --- set before the sheet is built ---
  void SetCallback(CellCallback callback) { callback_ = std::move(callback); }
  // The first selectable cell with this link and parameter becomes current when the sheet opens.
  void SetFocus(int link, std::int32_t parameter);
  // Builds for the printer; none builds for the screen.
  void SetPrintTarget(std::optional<PrintTarget> target) { printTarget_ = target; }
  void SetFontHeight(int height) { fontHeight_ = height; }  // 0: the user's font size
  void SetViewPosition(const ViewPosition& position) { savedPosition_ = position; }
  // The next build deletes every stored column width instead of restoring this sheet's.
  void SetResetColumnWidths() { resetWidths_ = true; }
  // A drop-down selection keeps no widths when it closes.
  void SetDropDown(bool dropDown) { dropDown_ = dropDown; }

  // Reads the blocks and builds the grid: style, basic cell, rows, cells,
  // sizes and stored widths. False when the definition has a fault (reported
  // through the services' fault handler).
  bool Build();
  // Builds, restores the view position or finds the starting cell, and repaints.
  bool Show();

  // The text of the title panel (none: no panel), its font colour when the
  // sheet decides it, and the head of each printed page.
  virtual std::optional<std::string> TitleText() const { return style_.title; }
  virtual std::optional<CellColour> TitleFontColour() const { return std::nullopt; }
  virtual std::string PrintHead() const { return style_.title.value_or(std::string()); }

  const SheetRef& Ref() const { return ref_; }
  const std::string& Name() const { return ref_.name; }
  const SheetStyle& Style() const { return style_; }
  bool IsPrintable() const { return style_.printable; }
  bool Printing() const { return printTarget_.has_value(); }
  double Scale() const { return printTarget_ ? printTarget_->Scale() : 1.0; }
  bool Built() const { return built_; }
  bool DropDown() const { return dropDown_; }

  const cmcCellObj& BasicCell() const { return basic_; }
  const SheetGeometry& Geometry() const { return geometry_; }
  int Columns() const { return geometry_.Columns(); }
  int Rows() const { return geometry_.Rows(); }
  const std::vector<RowEntry>& RowEntries() const { return rowEntries_; }
  // Null outside the grid or before it is built.
  clsSheetCellId* CellAt(int column, int row);
  const clsSheetCellId* CellAt(int column, int row) const;
  // The first column and the first row that hold a selectable cell (each on its
  // own); the column and row counts when none does.
  Position FirstSelectable() const { return firstSelectable_; }

  Position Current() const { return current_; }
  // False, and nothing changes, for a cell that may not become current: one
  // that is not selectable, or not multi-selectable while a multi-selection
  // is active. `extend` (Shift, a mouse drag) extends the multi-selection.
  bool MakeCurrent(int column, int row, bool extend = false);
  // The first selectable cell with this type, link and parameter; false when there is none.
  bool MakeCurrentMatching(int type, int link, std::int32_t parameter);
  // Moves the current cell dx columns (dy is then ignored) or dy rows, one
  // step per unit; false when it did not move.
  bool MoveCurrent(int dx, int dy, bool extend = false);
  bool MayBecomeCurrent(int column, int row) const;
  const MultiSelection& Selection() const { return selection_; }
  void ClearSelection();
  // Expires with the sheet, so a late edit or callback can tell it is gone.
  std::weak_ptr<const int> Life() const { return life_; }
  int LeftColumn() const { return leftColumn_; }
  int TopRow() const { return topRow_; }
  // The grid scrolled.
  void SetTopLeft(int leftColumn, int topRow);

  // The text a cell shows: its link's when it has a link, else its own.
  std::string CellText(int column, int row);
  // The text, marks and font colour the cell is drawn with.
  // The display's segment shapes that glyph cells are drawn with; none: they show their text.
  const Segchar* SegmentShapes() const { return services_.segchar; }
  // The model, modes and font size the sheet was made for.
  const SheetModes& Modes() const { return services_.modes; }
  CellFace Face(int column, int row);
  // The cell's font, else the basic cell's.
  const Font& FontOf(const cmcCellObj& cell) const;
  // A key on the cell (a character code, 256 for an activation, a key code
  // times 256), a pop-up menu command (key 0 with the item's link) or a
  // committed in-cell edit, handed to its link; then what the link asked of
  // the sheet is done. A change that alters the sheet's layout rebuilds it at
  // the next pump, never inside the action.
  ActionResult CellAction(int column, int row, int key, int commandLink = kNoCellLink,
                          const std::optional<std::string>& committedText = std::nullopt);
  // A drop-down choice for the cell: its link gets the chosen column (link)
  // and value (parameter) as a pop-up editor's reply.
  ActionResult Choose(int column, int row, int chosenLink, std::int32_t chosenValue);
  // A pop-up editor's text reply for the cell: a chosen cell of link Flex0
  // whose display text is `text` (a value in decimal, or an edited text).
  ActionResult ChooseText(int column, int row, const std::string& text);
  // The state flags (0 ticked, 1 hidden, 2 disabled, 3 caption) that a
  // pop-up menu item with this link has on the cell, as its link decides.
  std::uint8_t MenuItemState(int column, int row, int itemLink);
  bool RebuildPending() const { return rebuildPending_; }

  // The user sized a column: on screen the limits apply and the width is kept.
  void SetColumnWidth(int column, int width);
  // Applies the screen limits to every selectable column (after a resize of the window).
  void ApplyWidthLimits();

  // Invalidates the visible cells that a change matches; returns how many.
  int Repaint(RepaintCriterion criterion, const CellReference& reference);

 protected:
  // The reading of the cells block, as control groups steer it.
  struct RowReading {
    RowList rows{kMaxRows};
    int linesToSkip = 0;
    bool selectOn = true;
    bool loopFollowsList = false;  // the last loop opened repeats once per record of the list
  };
  // Applies one group of a control line: the model and mode conditions, loops
  // and the select state. Derived sheets add their own and pass the rest on.
  virtual void ApplyControlGroup(const ControlGroup& group, RowReading& reading);
  // When the group is one of the conditions: a condition that does not hold
  // skips the next `count` lines (nothing without a count). False for another group.
  bool ApplyCondition(std::span<const Condition> conditions, const ControlGroup& group, RowReading& reading) const;
  // The repetitions of a "LoopFrom" without a count.
  virtual int DefaultLoopRepetitions() const { return 1; }
  // Before a build: false (after reporting the fault) when the sheet cannot be built.
  virtual bool Prepare() { return true; }
  // The loop variables at the start of every build: all 0.
  virtual void StartLoopVariables(LoopVariables& loops) const;
  virtual void BeforeRow(int /*row*/) {}
  virtual void BeforeCell(int /*column*/, int /*row*/) {}
  // The number a cell request carries for its link (the bank on bank sheets).
  virtual std::int32_t ContextNumber() const { return 0; }
  virtual void OnEvent(const Event& event);
  // The current cell moved to another row, or the sheet was shown.
  virtual void CurrentRowChanged() {}

  // A list whose grid ends in the repetitions of a one-line template row
  // follows a new length in place: rows are copied from the last one or
  // dropped from the end, and the current cell stays inside. False, and
  // nothing changes, when the grid does not end so or the length is below 1.
  bool FollowListLength(int length);
  // The first row of that repetition; none when the grid does not end in one.
  std::optional<int> ListFirstRow() const { return listFirstRow_; }
  // The layout must be read again (now, outside an action; else at the next pump).
  void RebuildNow();

  const SheetServices& Services() const { return services_; }
  void Fault(const std::string& text);

 private:
  static void Listen(void* data, const Event& event);

  bool BuildBasicCell();
  bool ReadRows();
  void ParseCells();
  void CopyRowAbove(int row);
  void ParseRow(int row, std::size_t line);
  void AutoSize(const cmcCellObj& cell, int column, int row);
  void WidenGlyphColumns();

  std::vector<int> StoredColumns() const;
  void RestoreColumnWidths();
  void KeepColumnWidth(int column);
  void MakeStartingCellCurrent();
  std::optional<Position> FirstSelectableCell(const std::function<bool(const cmcCellObj&)>& wanted) const;
  cmcCellCapsule Request(clsSheetCellId& id);
  // Fills the request of a cell, lets `complete` add the action, runs the link, then AfterAction.
  ActionResult RunAction(int column, int row, const std::function<void(cmcCellCapsule&)>& complete);
  // A pop-up editor's reply `chosen` to the cell, as a choice.
  ActionResult Reply(int column, int row, cmcCellObj& chosen);
  void AfterAction(const cmcCellCapsule& request, int editor);
  void ChangeCurrent(Position to, bool extend);
  void ScrollHomeFor(Position cell);
  void RequestRebuild();
  void Rebuild();

  SheetServices services_;
  SheetRef ref_;
  CellParser parser_;
  CellCallback callback_;
  std::intptr_t serial_;

  std::optional<PrintTarget> printTarget_;
  int fontHeight_ = 0;
  std::optional<int> focusLink_;
  std::int32_t focusParameter_ = 0;
  std::optional<ViewPosition> savedPosition_;
  bool resetWidths_ = false;
  bool dropDown_ = false;

  SheetStyle style_;
  cmcCellObj basic_;
  LoopVariables loops_{};
  std::vector<RowEntry> rowEntries_;
  std::optional<int> listFirstRow_;
  std::vector<clsSheetCellId> cells_;
  SheetGeometry geometry_;
  Position firstSelectable_;
  std::optional<std::string> widthKey_;

  Position current_;
  MultiSelection selection_{[this](int column, int row) { return CellAt(column, row); }};
  std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
  int leftColumn_ = 0;
  int topRow_ = 0;

  bool built_ = false;
  bool faulted_ = false;
  bool rebuildPending_ = false;
  int actionDepth_ = 0;
};
