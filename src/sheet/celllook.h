#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "markup/colours.h"
#include "markup/font.h"
#include "sheet/cellposition.h"
#include "sheet/cellrect.h"
#include "sheet/lookcolours.h"

class cuiSheet;
class TextMeasurer;

// How one cell is drawn, computed without a window so that the screen, the
// printer and the preview draw it alike. Colours are 0x00BBGGRR values or
// system colours; the painter converts them.
struct CellLook {
  enum class Mark { kNone, kCross, kWarning };
  enum class RightLine { kNone, kFull, kTick };
  struct Line {
    std::string text;
    int x = 0;
    int y = 0;
  };
  struct Point {
    double x = 0;
    double y = 0;
  };
  using Triangle = std::array<Point, 3>;

  CellPosition drawn;  // the cell whose settings are used (the join owner)
  CellRect rect;       // widened leftwards over joined cells
  bool selected = false;
  bool printed = false;  // black-and-white marks
  CellColour background = clWindow;
  CellColour text = clWindowText;
  CellColour border = 0x00808080;
  bool topLine = false;
  bool bottomLine = false;
  RightLine rightLine = RightLine::kNone;
  Font font;
  int lineHeight = 0;
  std::vector<Line> lines;
  std::vector<Triangle> glyphs;  // the lit segments of segment glyphs, filled in the text colour
  Mark mark = Mark::kNone;
  CellRect markRect;  // the mark's square when there is one
};

// What the surroundings of a drawing add to the sheet's own state.
struct LookSurroundings {
  bool focused = false;        // the grid has the keyboard focus
  bool editorVisible = false;  // the in-place editor hides the selection
  LookColours colours;
  int markSize = 16;  // on screen; printed marks are half the cell's height
};

// Where a mark goes, as a link asks with the caller bits of its marks.
namespace markplace {
constexpr int kDefault = 0;    // left on a right-aligned cell, else after the text
constexpr int kLeft = 1;       // at the cell's left
constexpr int kRight = 2;      // at the cell's right edge
constexpr int kAfterText = 3;  // after the text, when it ends before the right edge
}  // namespace markplace

// The look of the cell at `cell`, whose own rectangle is `rect`. None for a
// cell outside the grid or of no width or height.
std::optional<CellLook> ComputeCellLook(cuiSheet& sheet, CellPosition cell, const CellRect& rect,
                                        const LookSurroundings& surroundings, const TextMeasurer& measurer);
