#pragma once

#include "markup/colours.h"

// The colours a sheet derives from the window and window-text colours of the
// desktop: the select-line colour (7/8 window, 1/8 text) and the
// inactive-selection colour (3/4 window, 1/4 text), per channel, rounded.
struct LookColours {
  CellColour window = 0x00FFFFFF;
  CellColour windowText = 0x00000000;

  CellColour SelectLine() const { return Blend(7, 1); }
  CellColour InactiveSelection() const { return Blend(3, 1); }

 private:
  CellColour Blend(int windowParts, int textParts) const;
};

constexpr CellColour clHighlight = kSystemColour + 13;
constexpr CellColour clHighlightText = kSystemColour + 14;
constexpr CellColour clBtnFace = kSystemColour + 15;
constexpr CellColour clWhite = 0x00FFFFFF;
constexpr CellColour clBlack = 0x00000000;
