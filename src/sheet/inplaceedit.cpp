#include "sheet/inplaceedit.h"

#include <array>
#include <utility>

#include "sheet/gridkeys.h"
#include "sheet/sheet.h"

namespace {

constexpr int kReturn = 0x0D;
constexpr int kEscape = 0x1B;

constexpr std::array<std::pair<int, InPlaceEdit::KeyAction>, 6> kEditorKeys = {{
    {kReturn, InPlaceEdit::KeyAction::kCommit},
    {vkey::kUp, InPlaceEdit::KeyAction::kCommitThenMove},
    {vkey::kDown, InPlaceEdit::KeyAction::kCommitThenMove},
    {vkey::kPageUp, InPlaceEdit::KeyAction::kCommitThenGridKey},
    {vkey::kPageDown, InPlaceEdit::KeyAction::kCommitThenGridKey},
    {kEscape, InPlaceEdit::KeyAction::kCancel},
}};

}  // namespace

InPlaceEdit::KeyAction InPlaceEdit::ActionFor(int virtualKey) {
  for (const auto& [key, action] : kEditorKeys) {
    if (key == virtualKey) return action;
  }
  return KeyAction::kEdit;
}

std::optional<CellRect> InPlaceEdit::Box(const CellRect& cell, int lineHeight, int verticalAlign) {
  if (lineHeight < 1 || cell.Width() < 1 || cell.Height() < lineHeight) return std::nullopt;
  int top = cell.top;
  if (verticalAlign == 1) top += (cell.Height() - lineHeight) / 2;
  if (verticalAlign == 2) top = cell.bottom + 1 - lineHeight;
  return CellRect{cell.left, top, cell.right, top + lineHeight - 1};
}

std::optional<InPlaceEdit::CellIdentity> InPlaceEdit::IdentityAt(const cuiSheet& sheet, CellPosition cell) {
  const clsSheetCellId* id = sheet.CellAt(cell.column, cell.row);
  if (!id) return std::nullopt;
  return CellIdentity{id->cell.type, id->cell.link, id->cell.parameter};
}

void InPlaceEdit::Open(cuiSheet& sheet, CellPosition cell) {
  sheet_ = &sheet;
  life_ = sheet.Life();
  cell_ = cell;
  identity_ = IdentityAt(sheet, cell);
  open_ = identity_.has_value();
}

bool InPlaceEdit::Commit(const std::string& text) {
  if (!open_) return false;
  // Closed before the link runs: a message box it shows takes the focus,
  // and that focus loss must not commit a second time.
  open_ = false;
  if (life_.expired() || IdentityAt(*sheet_, cell_) != identity_) return false;
  sheet_->CellAction(cell_.column, cell_.row, cellkey::kEvaluate, kNoCellLink, text);
  return true;
}
