#include "sheet/sheet.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/decimal.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "markup/ids.h"
#include "platform/fatal.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/cellwalk.h"
#include "sheet/columnwidthstore.h"
#include "sheet/segchar.h"
#include "sheet/sheetview.h"
#include "sheet/textmeasurer.h"

namespace {

using Facts = cuiSheet::ConditionFacts;

// The conditions every sheet knows.
const std::array<cuiSheet::Condition, 4> kBaseConditions = {{
    {"Only_DPmr446", [](const Facts& f) { return IsDpmr446(f.modes.modelType); }},
    {"Only_notDPmr446", [](const Facts& f) { return !IsDpmr446(f.modes.modelType); }},
    {"Only_EEDIT", [](const Facts& f) { return f.modes.eeditMode; }},
    {"Only_notEEDIT", [](const Facts& f) { return !f.modes.eeditMode; }},
}};

int CountCells(std::string_view line) {
  int count = 0;
  do {
    line = CellParser::SplitCell(line).second;
    ++count;
  } while (!line.empty());
  return count;
}

std::intptr_t NextSerial() {
  static std::intptr_t serial = 0;
  return ++serial;
}

}  // namespace

cuiSheet::cuiSheet(SheetServices services, SheetRef ref)
    : services_(std::move(services)),
      ref_(std::move(ref)),
      parser_(
          [main = &services_.mainOverlay](const std::string& name) -> std::optional<std::string> {
            if (!main->HasBlock(name)) return std::nullopt;
            return main->GetLine(name, 0);
          },
          [this](const std::string& text) { Fault(text); }),
      serial_(NextSerial()) {
  if (!services_.onFault) services_.onFault = [](const std::string& text) { platform::Fatal(text); };
  if (services_.links) {
    callback_ = [links = services_.links](cmcCellCapsule& request, bool notify) {
      return links->Evaluate(request, notify);
    };
  }
  if (services_.events) services_.events->AddListener(&cuiSheet::Listen, this);
}

cuiSheet::~cuiSheet() {
  if (services_.events) services_.events->RemoveListener(&cuiSheet::Listen, this);
}

void cuiSheet::SetFocus(int link, std::int32_t parameter) {
  focusLink_ = link;
  focusParameter_ = parameter;
}

void cuiSheet::Fault(const std::string& text) {
  faulted_ = true;
  services_.onFault(text);
}

// --- building ---

bool cuiSheet::Build() {
  built_ = false;
  faulted_ = false;
  rowEntries_.clear();
  cells_.clear();
  geometry_.Reset(0, 0, 0, 0);
  current_ = {};
  if (!Prepare()) return false;
  cmcGTex& overlay = services_.overlay;
  for (const std::string& block : {StyleBlock(ref_.name), BasicCellBlock(ref_.name), CellsBlock(ref_.name)}) {
    if (!overlay.HasBlock(block)) {
      Fault(MissingIndexMessage(block));
      return false;
    }
  }
  style_ = SheetStyle::Read(overlay.GetLine(StyleBlock(ref_.name), 0));
  StartLoopVariables(loops_);
  if (!BuildBasicCell() || !ReadRows()) return false;

  const int columns = static_cast<int>(cells_.size() / rowEntries_.size());
  const int unit =
      printTarget_ ? std::max(printTarget_->pixelsPerInch / std::max(printTarget_->screenPixelsPerInch, 1), 1) : 1;
  geometry_.Reset(columns, static_cast<int>(rowEntries_.size()), unit, unit);
  firstSelectable_ = {columns, Rows()};
  ParseCells();
  if (faulted_) return false;
  geometry_.SetFixed(style_.fixedColumns, style_.fixedRows);
  WidenGlyphColumns();
  selection_.Reset(style_.multiSelect, {Columns(), Rows(), geometry_.FixedColumns()});

  widthKey_ = ColumnWidthList(services_.mainOverlay).SubKeyOf(ref_.name);
  if (!Printing()) ApplyWidthLimits();
  if (Printing() || !resetWidths_) {
    RestoreColumnWidths();
  } else if (services_.widths) {
    for (const std::string& key : ColumnWidthList(services_.mainOverlay).AllSubKeys()) services_.widths->Remove(key);
    resetWidths_ = false;
  }
  built_ = true;
  return true;
}

// Line 0 of the basic-cell block with the font size appended: the explicit
// height, or the user's percentage, and the print ratio when printing.
bool cuiSheet::BuildBasicCell() {
  std::string text(CellParser::SplitCell(services_.overlay.GetLine(BasicCellBlock(ref_.name), 0)).first);
  const bool percent = fontHeight_ == 0;
  text += "{(Font=,,," + std::string(percent ? "%" : "") +
          std::to_string(percent ? services_.modes.fontSizePercent : fontHeight_) + ",,,)}";
  if (Printing() && style_.printFontRatio != 100)
    text += "{(Font=,,,%" + std::to_string(style_.printFontRatio) + ",,,)}";
  parser_.ParseCell(basic_, text, nullptr, nullptr);
  return !faulted_;
}

bool cuiSheet::ReadRows() {
  RowReading reading;
  const std::string block = CellsBlock(ref_.name);
  int columns = 0;
  for (std::size_t n = 0;; ++n) {
    const std::string line = services_.overlay.GetLine(block, n);
    if (line.starts_with('#')) break;
    // Skipped lines are skipped whole: a condition on them is never read.
    if (reading.linesToSkip > 0) {
      --reading.linesToSkip;
      continue;
    }
    if (line.starts_with(':')) {
      ForEachGroup(line, [&](std::string_view group) { ApplyControlGroup(ParseControlGroup(group), reading); });
      continue;
    }
    columns = std::max(columns, CountCells(line));
    reading.rows.Add({n, reading.selectOn});
  }
  // A loop left open ends with the block.
  reading.rows.CloseLoop();
  rowEntries_ = reading.rows.Rows();
  listFirstRow_.reset();
  if (const std::optional<RowList::ClosedLoop> loop = reading.rows.LastLoop();
      loop && reading.loopFollowsList && loop->bodySize == 1 && loop->repetitions > 0 &&
      loop->firstRow + static_cast<std::size_t>(loop->repetitions) == rowEntries_.size()) {
    listFirstRow_ = static_cast<int>(loop->firstRow);
  }
  const std::size_t cellCount = static_cast<std::size_t>(columns) * rowEntries_.size();
  if (cellCount == 0 || reading.rows.Overflowed() || cellCount > kMaxCells) {
    rowEntries_.clear();
    Fault(std::string(kIllegalCellAssign));
    return false;
  }
  cells_.assign(cellCount, clsSheetCellId{});
  return true;
}

void cuiSheet::ApplyControlGroup(const ControlGroup& group, RowReading& reading) {
  if (ApplyCondition(kBaseConditions, group, reading)) return;
  if (group.word == "LoopFrom") {
    reading.rows.OpenLoop(group.count ? std::max(*group.count, 1) : DefaultLoopRepetitions());
    reading.loopFollowsList = !group.count;
  } else if (group.word == "LoopTo") {
    reading.rows.CloseLoop();
  } else if (group.word == "SelectON") {
    reading.selectOn = true;
  } else if (group.word == "SelectOFF") {
    reading.selectOn = false;
  }
}

bool cuiSheet::ApplyCondition(std::span<const Condition> conditions, const ControlGroup& group,
                              RowReading& reading) const {
  auto found =
      std::find_if(conditions.begin(), conditions.end(), [&](const Condition& c) { return c.word == group.word; });
  if (found == conditions.end()) return false;
  const ConditionFacts facts{services_.modes, services_.image, Printing()};
  if (group.count && !found->holds(facts)) reading.linesToSkip = std::max(reading.linesToSkip, *group.count);
  return true;
}

void cuiSheet::StartLoopVariables(LoopVariables& loops) const { loops.fill(0); }

void cuiSheet::ParseCells() {
  for (int row = 0; row < Rows() && !faulted_; ++row) {
    BeforeRow(row);
    const std::size_t line = rowEntries_[row].line;
    // A loop body of one line: the row repeats the row above, counting on.
    if (row > 0 && rowEntries_[row - 1].line == line) {
      CopyRowAbove(row);
    } else {
      ParseRow(row, line);
    }
  }
}

void cuiSheet::CopyRowAbove(int row) {
  const bool multiSelect = style_.multiSelect != SheetStyle::MultiSelect::kNone && rowEntries_[row].multiSelect;
  for (int column = 0; column < Columns(); ++column) {
    clsSheetCellId& id = *CellAt(column, row);
    id.cell = CellAt(column, row - 1)->cell;
    id.cell.parameter = SaturatingAdd(id.cell.parameter, 1);
    id.mayMultiSelect = multiSelect;
  }
  geometry_.SetRowHeight(row, geometry_.RowHeight(row - 1));
}

void cuiSheet::ParseRow(int row, std::size_t line) {
  const bool multiSelect = style_.multiSelect != SheetStyle::MultiSelect::kNone && rowEntries_[row].multiSelect;
  const std::string text = services_.overlay.GetLine(CellsBlock(ref_.name), line);
  std::string_view rest = text;
  for (int column = 0; column < Columns(); ++column) {
    BeforeCell(column, row);
    clsSheetCellId& id = *CellAt(column, row);
    rest = parser_.ParseCell(id.cell, rest, &loops_, &basic_);
    AutoSize(id.cell, column, row);
    if (id.cell.selectable) {
      firstSelectable_.column = std::min(firstSelectable_.column, column);
      firstSelectable_.row = std::min(firstSelectable_.row, row);
    }
    id.mayMultiSelect = multiSelect;
    if (rest.empty()) break;
  }
}

// "W" widens the column to the text and "H" makes the row high enough for it.
void cuiSheet::AutoSize(const cmcCellObj& cell, int column, int row) {
  if (!cell.autoWidth && !cell.autoHeight) return;
  const Font& font = FontOf(cell);
  double width = 0;
  double height = 0;
  std::string_view text = cell.displayText ? std::string_view(*cell.displayText) : std::string_view{};
  for (;;) {
    const std::size_t feed = text.find('\n');
    const TextMeasurer::Extent extent = services_.measurer.Measure(text.substr(0, feed), font);
    width = std::max(width, extent.width);
    height += extent.height;
    if (feed == std::string_view::npos) break;
    text.remove_prefix(feed + 1);
  }
  const double scale = Scale();
  if (cell.autoWidth) geometry_.WidenColumn(column, static_cast<int>(std::lround(width + 8 * scale)));
  if (cell.autoHeight) {
    // The top page sets its lines closer.
    const double margin = ref_.name == gi::GI_Sheet_TopPage ? 0.5 : 2.5;
    geometry_.HeightenRow(row, static_cast<int>(height + 2 * scale + margin));
  }
}

// A column of names drawn as segment glyphs is made wide enough to draw them
// at the row's full height (the link knows how many codes its field holds;
// the first rows show it, as fields of a column are alike).
void cuiSheet::WidenGlyphColumns() {
  constexpr int kRowsSampled = 32;
  if (!services_.segchar || !callback_) return;
  for (int column = 0; column < Columns(); ++column) {
    for (int row = 0; row < std::min(Rows(), kRowsSampled); ++row) {
      const clsSheetCellId* id = CellAt(column, row);
      if (!id || id->cell.link == kNoCellLink) continue;
      const std::optional<std::vector<std::uint16_t>> glyphs = Face(column, row).glyphs;
      if (!glyphs || glyphs->empty()) continue;
      geometry_.WidenColumn(column,
                            GlyphCellWidth(*services_.segchar, glyphs->size(), geometry_.RowHeight(row), Scale()));
    }
  }
}

const Font& cuiSheet::FontOf(const cmcCellObj& cell) const {
  static const Font kDefault;
  if (cell.font) return *cell.font;
  return basic_.font ? *basic_.font : kDefault;
}

// --- cells ---

clsSheetCellId* cuiSheet::CellAt(int column, int row) {
  return const_cast<clsSheetCellId*>(std::as_const(*this).CellAt(column, row));
}

const clsSheetCellId* cuiSheet::CellAt(int column, int row) const {
  if (column < 0 || row < 0 || column >= Columns() || row >= Rows()) return nullptr;
  const std::size_t index = static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * Columns();
  return index < cells_.size() ? &cells_[index] : nullptr;
}

bool cuiSheet::MayBecomeCurrent(int column, int row) const { return selection_.MayBecomeCurrent({column, row}); }

bool cuiSheet::MakeCurrent(int column, int row, bool extend) {
  if (!MayBecomeCurrent(column, row)) return false;
  ChangeCurrent({column, row}, extend);
  return true;
}

bool cuiSheet::MakeCurrentMatching(int type, int link, std::int32_t parameter) {
  const std::optional<Position> found = FirstSelectableCell(
      [&](const cmcCellObj& c) { return c.type == type && c.link == link && c.parameter == parameter; });
  return found && MakeCurrent(found->column, found->row);
}

void cuiSheet::ClearSelection() {
  if (!selection_.Active()) return;
  selection_.Clear();
  if (services_.view) services_.view->InvalidateAll();
}

// The old and the new row are drawn again for the select-line colour, and
// the whole grid when the multi-selection changes.
void cuiSheet::ChangeCurrent(Position to, bool extend) {
  const Position from = current_;
  const bool wasActive = selection_.Active();
  current_ = to;
  selection_.CurrentMoved(from, to, extend);
  if (from.row != to.row) CurrentRowChanged();
  SheetView* view = services_.view;
  if (!view) return;
  if (wasActive || selection_.Active()) {
    view->InvalidateAll();
    return;
  }
  if (from.row != to.row) {
    for (int row : {from.row, to.row}) {
      if (row < 0) continue;
      for (int column = std::max(leftColumn_, geometry_.FixedColumns()); column < Columns(); ++column) {
        view->InvalidateCell(column, row);
      }
    }
  }
  if (from.row >= 0) view->InvalidateCell(from.column, from.row);
  view->InvalidateCell(to.column, to.row);
}

bool cuiSheet::MoveCurrent(int dx, int dy, bool extend) {
  if (!CellAt(current_.column, current_.row)) return false;
  const CellWalk walk(Columns(), Rows(), [this](int c, int r) { return MayBecomeCurrent(c, r); });
  const int units = dx != 0 ? std::abs(dx) : std::abs(dy);
  const int stepX = dx > 0 ? 1 : dx < 0 ? -1 : 0;
  const int stepY = dx != 0 ? 0 : (dy > 0 ? 1 : dy < 0 ? -1 : 0);
  Position to = current_;
  for (int n = 0; n < units; ++n) {
    const std::optional<Position> next =
        dropDown_ ? walk.StepInDropDown(to, stepX, stepY, units == 1) : walk.Step(to, stepX, stepY);
    if (!next) break;
    to = *next;
  }
  if (to == current_) return false;
  ChangeCurrent(to, extend);
  ScrollHomeFor(to);
  return true;
}

// A cell at or before the first selectable column (row) shows the grid from its start.
void cuiSheet::ScrollHomeFor(Position cell) {
  const int left = firstSelectable_.column >= cell.column ? geometry_.FixedColumns() : leftColumn_;
  const int top = firstSelectable_.row >= cell.row ? geometry_.FixedRows() : topRow_;
  if (left == leftColumn_ && top == topRow_) return;
  SetTopLeft(left, top);
  if (services_.view) services_.view->ScrollTo(leftColumn_, topRow_);
}

void cuiSheet::SetTopLeft(int leftColumn, int topRow) {
  leftColumn_ = std::clamp(leftColumn, 0, std::max(Columns() - 1, 0));
  topRow_ = std::clamp(topRow, 0, std::max(Rows() - 1, 0));
}

cmcCellCapsule cuiSheet::Request(clsSheetCellId& id) {
  cmcCellCapsule request;
  request.cell = &id.cell;
  request.contextNumber = ContextNumber();
  return request;
}

std::string cuiSheet::CellText(int column, int row) {
  clsSheetCellId* id = CellAt(column, row);
  if (!id) return {};
  if (id->cell.link == kNoCellLink || !callback_) return DisplayTextOf(id->cell);
  cmcCellCapsule request = Request(*id);
  callback_(request, false);
  return request.displayText;
}

cuiSheet::CellFace cuiSheet::Face(int column, int row) {
  clsSheetCellId* id = CellAt(column, row);
  if (!id) return {};
  if (id->cell.link == kNoCellLink || !callback_) return {DisplayTextOf(id->cell), 0, std::nullopt, std::nullopt};
  cmcCellCapsule request = Request(*id);
  request.painting = true;
  callback_(request, false);
  return {std::move(request.displayText), request.marks, request.fontColour, std::move(request.glyphs)};
}

cuiSheet::ActionResult cuiSheet::CellAction(int column, int row, int key, int commandLink,
                                            const std::optional<std::string>& committedText) {
  return RunAction(column, row, [&](cmcCellCapsule& request) {
    request.key = key;
    if (commandLink != kNoCellLink) {
      request.key = cellkey::kEvaluate;
      request.menuCommand = commandLink;
    }
    if (committedText) {
      request.key = cellkey::kEvaluate;
      request.editResult = kTextCommitted;
      request.editedText = *committedText;
    }
  });
}

cuiSheet::ActionResult cuiSheet::Choose(int column, int row, int chosenLink, std::int32_t chosenValue) {
  cmcCellObj chosen;
  chosen.link = chosenLink;
  chosen.parameter = chosenValue;
  return Reply(column, row, chosen);
}

cuiSheet::ActionResult cuiSheet::Reply(int column, int row, cmcCellObj& chosen) {
  cmcCellCapsule reply;
  reply.cell = &chosen;
  return RunAction(column, row, [&](cmcCellCapsule& request) {
    request.key = cellkey::kEvaluate;
    request.editResult = kPopupChoice;
    request.reply = &reply;
  });
}

std::uint8_t cuiSheet::MenuItemState(int column, int row, int itemLink) {
  constexpr std::uint8_t kItemFlags = 0x0F;
  clsSheetCellId* id = CellAt(column, row);
  if (!id || !callback_) return 0;
  cmcCellObj item = id->cell;
  item.link = itemLink;
  item.stateFlags = static_cast<std::uint8_t>(item.stateFlags & ~kItemFlags);
  cmcCellCapsule request = Request(*id);
  request.cell = &item;
  if (const auto span = selection_.ParameterSpan(current_)) request.rowSelection = {0, 1, span->first, span->second};
  const CellCallback callback = callback_;
  callback(request, false);
  return item.stateFlags;
}

cuiSheet::ActionResult cuiSheet::ChooseText(int column, int row, const std::string& text) {
  cmcCellObj chosen;
  chosen.link = cl::Flex0;
  chosen.displayText = text;
  return Reply(column, row, chosen);
}

cuiSheet::ActionResult cuiSheet::RunAction(int column, int row, const std::function<void(cmcCellCapsule&)>& complete) {
  clsSheetCellId* id = CellAt(column, row);
  if (!id || !callback_) return {};
  cmcCellCapsule request = Request(*id);
  if (const auto span = selection_.ParameterSpan(current_)) request.rowSelection = {0, 1, span->first, span->second};
  complete(request);
  request.changed = [this](cmcCellCapsule&, int bits) {
    if (bits & changebit::kRebuildSheet) RequestRebuild();
  };
  // The editor opens on the cell, which becomes the only one selected.
  request.edit = [this, column, row, life = Life()](cmcCellCapsule& r, int) {
    if (life.expired()) return;
    ClearSelection();
    MakeCurrent(column, row);
    if (services_.view) services_.view->OpenEditor(column, row, r.displayText, r.caretPosition, r.selectionLength);
  };
  const std::weak_ptr<const int> life = Life();
  // Held here: the sheet, and its callback with it, may be closed while the link runs.
  const CellCallback callback = callback_;
  ++actionDepth_;
  const int editor = callback(request, true);
  // A link that asked a question may have seen the sheet closed meanwhile.
  if (life.expired()) return {};
  --actionDepth_;
  AfterAction(request, editor);
  return {editor, request.repeatKey};
}

void cuiSheet::AfterAction(const cmcCellCapsule& request, int editor) {
  if (editor == kPopupEditor) ClearSelection();
  if (request.redirect.active)
    MakeCurrentMatching(request.redirect.type, request.redirect.link, request.redirect.number);
  if (request.rowSelection.flags & 2) {
    const clsSheetCellId* current = CellAt(current_.column, current_.row);
    if (current) {
      selection_.SelectRange(current->cell.link, request.rowSelection.first, request.rowSelection.last);
      if (services_.view) services_.view->InvalidateAll();
    }
  }
}

// --- showing ---

bool cuiSheet::Show() {
  if (!Build()) return false;
  MakeStartingCellCurrent();
  if (services_.view) {
    services_.view->ScrollTo(leftColumn_, topRow_);
    services_.view->InvalidateAll();
    // The title is known once the sheet is built: the view shows it from the first show on.
    services_.view->TitleChanged();
  }
  CurrentRowChanged();
  return true;
}

void cuiSheet::MakeStartingCellCurrent() {
  if (savedPosition_ && !CellAt(savedPosition_->current.column, savedPosition_->current.row)) savedPosition_.reset();
  if (savedPosition_ && MakeCurrent(savedPosition_->current.column, savedPosition_->current.row)) {
    const SheetView::Size client = services_.view ? services_.view->ClientSize() : SheetView::Size{};
    if (geometry_.TotalWidth() > client.width) leftColumn_ = savedPosition_->leftColumn;
    if (geometry_.TotalHeight() > client.height) topRow_ = savedPosition_->topRow;
    SetTopLeft(leftColumn_, topRow_);
    return;
  }
  std::optional<Position> start;
  if (focusLink_ && !savedPosition_) {
    start = FirstSelectableCell(
        [this](const cmcCellObj& c) { return c.link == *focusLink_ && c.parameter == focusParameter_; });
  }
  if (!start) start = FirstSelectableCell([](const cmcCellObj&) { return true; });
  if (start) current_ = *start;
}

std::optional<cuiSheet::Position> cuiSheet::FirstSelectableCell(
    const std::function<bool(const cmcCellObj&)>& wanted) const {
  for (int row = 0; row < Rows(); ++row) {
    for (int column = 0; column < Columns(); ++column) {
      const cmcCellObj& cell = CellAt(column, row)->cell;
      if (cell.selectable && wanted(cell)) return Position{column, row};
    }
  }
  return std::nullopt;
}

// --- column widths ---

// The columns whose cell in the first row below the fixed rows is selectable.
std::vector<int> cuiSheet::StoredColumns() const {
  std::vector<int> columns;
  for (int column = 0; column < Columns(); ++column) {
    const clsSheetCellId* id = CellAt(column, geometry_.FixedRows());
    if (id && id->cell.selectable) columns.push_back(column);
  }
  return columns;
}

void cuiSheet::ApplyWidthLimits() {
  if (Printing()) return;
  const int client = services_.view ? services_.view->ClientSize().width : 0;
  for (int column : StoredColumns()) {
    geometry_.SetColumnWidth(column, colwidth::Limit(geometry_.ColumnWidth(column), client, geometry_.FixedWidth()));
  }
}

void cuiSheet::SetColumnWidth(int column, int width) {
  if (!CellAt(column, 0)) return;
  const std::vector<int> limited = StoredColumns();
  const bool selectable = std::find(limited.begin(), limited.end(), column) != limited.end();
  if (selectable && !Printing()) {
    const int client = services_.view ? services_.view->ClientSize().width : 0;
    width = colwidth::Limit(width, client, geometry_.FixedWidth());
  }
  geometry_.SetColumnWidth(column, width);
  if (selectable) KeepColumnWidth(column);
}

void cuiSheet::RestoreColumnWidths() {
  if (!services_.widths || !widthKey_) return;
  const ColumnWidthStore::Widths stored = services_.widths->Load(*widthKey_);
  const double factor = printTarget_ ? colwidth::PrintFactor(*printTarget_, services_.modes.fontSizePercent) : 1.0;
  for (int column : StoredColumns()) {
    auto found = stored.find(column);
    if (found == stored.end() || found->second < 1) continue;  // below 1 counts as absent
    const int width = Printing() ? std::min(geometry_.ColumnWidth(column), colwidth::Printed(found->second, factor))
                                 : colwidth::LimitRestored(found->second);
    geometry_.SetColumnWidth(column, width);
  }
}

// Only a width the user gave is kept: the automatic widths follow the font
// size and the texts, and a kept width would hold a column at an old size.
void cuiSheet::KeepColumnWidth(int column) {
  if (!built_ || Printing() || dropDown_ || !services_.widths || !widthKey_) return;
  ColumnWidthStore::Widths widths = services_.widths->Load(*widthKey_);
  widths[column] = geometry_.ColumnWidth(column);
  services_.widths->Save(*widthKey_, widths);
}

// --- changes ---

int cuiSheet::Repaint(RepaintCriterion criterion, const CellReference& reference) {
  if (!built_ || !services_.view) return 0;
  const SheetView::Size client = services_.view->ClientSize();
  int invalidated = 0;
  for (int row : geometry_.VisibleRows(topRow_, client.height)) {
    for (int column : geometry_.VisibleColumns(leftColumn_, client.width)) {
      if (!NeedsRepaint(criterion, reference, CellAt(column, row)->cell)) continue;
      services_.view->InvalidateCell(column, row);
      ++invalidated;
    }
  }
  return invalidated;
}

bool cuiSheet::FollowListLength(int length) {
  if (!built_ || !listFirstRow_ || length < 1) return false;
  const std::size_t target = static_cast<std::size_t>(*listFirstRow_) + static_cast<std::size_t>(length);
  if (target > kMaxRows || target * static_cast<std::size_t>(Columns()) > kMaxCells) return false;
  const int columns = Columns();
  while (rowEntries_.size() < target) {
    rowEntries_.push_back(rowEntries_.back());
    cells_.resize(cells_.size() + static_cast<std::size_t>(columns));
    geometry_.AppendRow(0);
    CopyRowAbove(Rows() - 1);
  }
  while (rowEntries_.size() > target) {
    rowEntries_.pop_back();
    cells_.resize(cells_.size() - static_cast<std::size_t>(columns));
    geometry_.RemoveLastRow();
  }
  selection_.Resize({Columns(), Rows(), geometry_.FixedColumns()});
  // A current cell in a dropped row moves to the new last row.
  if (current_.row >= Rows() && MayBecomeCurrent(current_.column, Rows() - 1)) {
    current_.row = Rows() - 1;
    CurrentRowChanged();
  }
  SetTopLeft(leftColumn_, topRow_);
  if (services_.view) services_.view->InvalidateAll();
  return true;
}

void cuiSheet::RebuildNow() {
  if (actionDepth_ > 0) {
    RequestRebuild();
    return;
  }
  Rebuild();
}

void cuiSheet::RequestRebuild() {
  if (rebuildPending_) return;
  rebuildPending_ = true;
  if (services_.events) services_.events->Post(ev::kRebuildSheet, this, serial_);
}

void cuiSheet::Rebuild() {
  rebuildPending_ = false;
  const ViewPosition position{current_, leftColumn_, topRow_};
  if (!Build()) return;
  if (CellAt(position.current.column, position.current.row)) MakeCurrent(position.current.column, position.current.row);
  SetTopLeft(position.leftColumn, position.topRow);
  if (services_.view) {
    services_.view->InvalidateAll();
    services_.view->TitleChanged();  // a title may count what the change altered
  }
}

void cuiSheet::Listen(void* data, const Event& event) { static_cast<cuiSheet*>(data)->OnEvent(event); }

void cuiSheet::OnEvent(const Event& event) {
  if (event.code == ev::kRebuildSheet) {
    if (event.sender != this || event.argument != serial_) return;
    // An action still running (a message box pumps events) keeps its cells: later.
    if (actionDepth_ > 0) {
      services_.events->Post(ev::kRebuildSheet, this, serial_);
      return;
    }
    Rebuild();
    return;
  }
  const std::optional<RepaintCriterion> criterion = RepaintCriterionOf(event.code);
  if (!criterion) return;
  const std::optional<CellReference> reference = CellReferenceOf(event);
  if (*criterion != RepaintCriterion::kAll && !reference) return;
  Repaint(*criterion, reference.value_or(CellReference{}));
}
