#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sheet/cellposition.h"
#include "sheet/cellrect.h"

class cuiSheet;

// The in-place editor's session: the cell it edits, and its text committed at
// most once, and only into the sheet and the cell it was opened on.
class InPlaceEdit {
 public:
  // What a key in the editor does.
  enum class KeyAction {
    kEdit,               // edits the text
    kCommit,             // Enter
    kCommitThenMove,     // Up, Down: then one row
    kCommitThenGridKey,  // Page Up, Page Down: then the grid's own action
    kCancel,             // Escape
  };
  static KeyAction ActionFor(int virtualKey);

  // The box over the cell: one line of `lineHeight` pixels at the top, middle
  // or bottom (vertical alignment 0, 1, 2); none when the cell is too small.
  static std::optional<CellRect> Box(const CellRect& cell, int lineHeight, int verticalAlign);

  void Open(cuiSheet& sheet, CellPosition cell);
  bool IsOpen() const { return open_; }
  CellPosition Cell() const { return cell_; }

  // Enter, focus loss, a command that commits pending edits: the text goes to
  // the cell's link once. False when nothing was sent: the editor was closed
  // already, its sheet is gone, or the cell is no longer the one it opened on.
  bool Commit(const std::string& text);
  // Escape, the sheet closing, the image replaced: nothing is sent.
  void Cancel() { open_ = false; }

 private:
  struct CellIdentity {
    int type;
    int link;
    std::int32_t parameter;
    bool operator==(const CellIdentity&) const = default;
  };
  static std::optional<CellIdentity> IdentityAt(const cuiSheet& sheet, CellPosition cell);

  cuiSheet* sheet_ = nullptr;
  std::weak_ptr<const int> life_;
  CellPosition cell_;
  std::optional<CellIdentity> identity_;
  bool open_ = false;
};
