#include "sheet/gridkeys.h"

#include <algorithm>
#include <array>

#include "sheet/sheet.h"

namespace {

enum class KeyAction {
  kMove,           // move by (dx, dy); dy of kAllRows is as many rows as the grid has
  kMoveOrSend,     // move, else send the key to the cell
  kMoveUnlessCtrl  // move, unless Ctrl alone is held
};

constexpr int kAllRows = 0x10000;

struct KeyRule {
  int virtualKey;
  KeyAction action;
  int dx;
  int dy;
};

constexpr std::array<KeyRule, 8> kKeyRules = {{
    {vkey::kPageUp, KeyAction::kMove, 0, -10},
    {vkey::kPageDown, KeyAction::kMove, 0, 10},
    {vkey::kHome, KeyAction::kMove, 0, -kAllRows},
    {vkey::kEnd, KeyAction::kMove, 0, kAllRows},
    {vkey::kLeft, KeyAction::kMoveOrSend, -1, 0},
    {vkey::kRight, KeyAction::kMoveOrSend, 1, 0},
    {vkey::kUp, KeyAction::kMoveUnlessCtrl, 0, -1},
    {vkey::kDown, KeyAction::kMoveUnlessCtrl, 0, 1},
}};

int Rows(int dy, int rows) {
  if (dy == kAllRows) return rows;
  if (dy == -kAllRows) return -rows;
  return dy;
}

}  // namespace

bool GridKeys::KeyDown(int virtualKey, KeyModifiers modifiers) {
  if (virtualKey >= vkey::kF1 && virtualKey <= vkey::kF12) {
    SendToCurrent(CellCode(virtualKey));
    return true;
  }
  const auto rule =
      std::find_if(kKeyRules.begin(), kKeyRules.end(), [&](const KeyRule& r) { return r.virtualKey == virtualKey; });
  if (rule == kKeyRules.end()) return false;
  if (rule->action == KeyAction::kMoveUnlessCtrl && modifiers.ctrl && !modifiers.shift && !modifiers.alt) return false;
  const bool moved = sheet_.MoveCurrent(rule->dx, Rows(rule->dy, sheet_.Rows()), modifiers.shift);
  if (!moved && rule->action == KeyAction::kMoveOrSend) SendToCurrent(CellCode(virtualKey));
  return true;
}

bool GridKeys::Character(int code) {
  if (code < 1 || code > 255) return false;
  SendToCurrent(code);
  return true;
}

bool GridKeys::Wheel(CellPosition target, bool towardUser) {
  if (sheet_.MakeCurrent(target.column, target.row)) return true;
  return sheet_.MoveCurrent(0, towardUser ? 1 : -1);
}

void GridKeys::SendToCurrent(std::int32_t code) {
  const cuiSheet::Position current = sheet_.Current();
  const clsSheetCellId* id = sheet_.CellAt(current.column, current.row);
  if (!id || !id->cell.selectable) {
    repeat_.Stop();
    return;
  }
  const cuiSheet::ActionResult result = sheet_.CellAction(current.column, current.row, code);
  if (result.repeatKey != 0) {
    repeat_.Ask(result.repeatKey);
  } else {
    repeat_.Stop();
  }
}

void GridKeys::Repeat() {
  if (repeat_.Active()) SendToCurrent(repeat_.Key());
}
