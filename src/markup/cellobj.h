#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "markup/cellnames.h"
#include "markup/colours.h"
#include "markup/font.h"

// The ten loop variables a sheet's mark-up counts with (@ch0 to @ch9).
using LoopVariables = std::array<std::int32_t, 10>;

// One parsed cell of the mark-up: what it shows, how it looks and behaves, and
// the cell type and link it is bound to.
struct cmcCellObj {
  enum RightLine : std::uint8_t { kNoRightLine, kFullRightLine, kRightTick };

  const cmcCellObj* parent = nullptr;  // not owned: a sheet's or menu's basic cell

  int type = kNoCellType;
  int link = kNoCellLink;
  std::int32_t parameter = 0;
  std::optional<std::string> argument;
  std::int32_t imageIndex = -1;

  // Layout.
  std::uint8_t hAlign = 0;  // 0 left, 1 centre, 2 right
  std::uint8_t vAlign = 0;  // 0 top, 1 middle, 2 bottom
  bool autoWidth = false;
  bool autoHeight = false;
  bool joinedLeft = false;
  bool bottomLine = false;
  // Behaviour.
  bool topLine = false;
  RightLine rightLine = kNoRightLine;
  bool selectable = false;
  bool extension = false;
  std::uint8_t stateFlags = 0;  // bit n is state flag n

  CellColour colour = clWindow;
  std::optional<Font> font;                // none: the font of the view's basic cell
  std::optional<std::string> popupMenu;    // none: the parent's
  std::optional<std::string> displayText;  // none: the cell link supplies it

  // The state flag with which a menu item, tool button or tree node is disabled.
  static constexpr int kDisabledFlag = 2;

  bool StateFlag(int n) const { return (stateFlags >> n) & 1; }
  void SetStateFlag(int n, bool on) {
    stateFlags = static_cast<std::uint8_t>(on ? stateFlags | (1u << n) : stateFlags & ~(1u << n));
  }
};

// The first pop-up menu name on the cell or up its parent chain, or none.
std::optional<std::string> PopupMenuOf(const cmcCellObj& cell);

// The display text, or "" when the cell has none.
std::string DisplayTextOf(const cmcCellObj& cell);

// The layout, behaviour and state flags in mark-up notation: the two alignment
// characters, the letters of the flags that are set, then "F" and the numbers
// of the state flags that are set ("^-WSF0").
std::string FlagsText(const cmcCellObj& cell);
