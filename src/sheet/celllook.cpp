#include "sheet/celllook.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "links/cellcapsule.h"
#include "sheet/cellhit.h"
#include "sheet/segchar.h"
#include "sheet/sheet.h"
#include "sheet/textmeasurer.h"

namespace {

constexpr CellColour kBorderGrey = 0x00808080;
constexpr CellColour kPrintGrey = 0x00606060;
// Text colours that would vanish on the inactive selection.
constexpr std::array<CellColour, 3> kFadingTextColours = {clBtnFace, 0x00C0C0C0, clGrayText};

bool IsWhite(CellColour colour) { return colour == clWindow || colour == clWhite; }

int Scaled(double pixels, double scale) { return static_cast<int>(std::lround(pixels * scale)); }

// Multi-selected, current, or an extension of the current cell.
bool IsSelected(const cuiSheet& sheet, CellPosition cell, const clsSheetCellId& id) {
  if (sheet.Printing()) return false;
  if (id.selected || id.selectedByRange || sheet.Current() == cell) return true;
  const std::optional<CellPosition> owner = ExtensionOwner(sheet, cell);
  return owner && *owner == sheet.Current();
}

void ColourForPrint(CellLook& look, CellColour own) {
  const bool white = IsWhite(own);
  look.background = white ? clWhite : kPrintGrey;
  look.text = white ? clBlack : clWhite;
  look.border = white ? clBlack : clWhite;
}

void ColourForScreen(CellLook& look, const cuiSheet& sheet, const cmcCellObj& cell, CellPosition at,
                     const LookSurroundings& surroundings) {
  const LookColours& colours = surroundings.colours;
  look.border = IsWhite(cell.colour) ? kBorderGrey : clWhite;
  if (look.selected && !surroundings.editorVisible) {
    if (surroundings.focused || sheet.DropDown()) {
      look.background = clHighlight;
      look.text = clHighlightText;
      return;
    }
    look.background = colours.InactiveSelection();
    const bool fades =
        look.text == colours.InactiveSelection() ||
        std::find(kFadingTextColours.begin(), kFadingTextColours.end(), look.text) != kFadingTextColours.end();
    if (fades) look.text = clWindow;
    return;
  }
  const bool selectLine = sheet.Style().colourSelectLine && !sheet.DropDown() && at.row == sheet.Current().row &&
                          at.column >= sheet.Geometry().FixedColumns();
  look.background = selectLine ? colours.SelectLine() : cell.colour;
}

// Lines split at line feeds, placed by the cell's alignment.
void LayOutText(CellLook& look, const std::string& text, const cmcCellObj& cell, double scale,
                const TextMeasurer& measurer) {
  std::vector<std::pair<std::string_view, int>> lines;  // text, width
  std::string_view rest = text;
  int height = 0;
  for (;;) {
    const std::size_t feed = rest.find('\n');
    const std::string_view line = rest.substr(0, feed);
    const TextMeasurer::Extent extent = measurer.Measure(line, look.font);
    look.lineHeight = static_cast<int>(std::lround(extent.height));
    height += look.lineHeight;
    lines.emplace_back(line, static_cast<int>(std::lround(extent.width)));
    if (feed == std::string_view::npos) break;
    rest.remove_prefix(feed + 1);
  }
  const CellRect& r = look.rect;
  int y = r.top + Scaled(1, scale);
  if (cell.vAlign == 1) y = r.top + (r.bottom + 1 - r.top - height) / 2;
  if (cell.vAlign == 2) y = r.bottom - height - Scaled(1, scale);
  if (cell.bottomLine) --y;
  for (const auto& [line, width] : lines) {
    int x = r.left + Scaled(4, scale);
    if (cell.hAlign == 1) x = r.left + (r.right + 1 - r.left - width) / 2;
    if (cell.hAlign == 2) x = r.right + 1 - width - Scaled(4, scale);
    look.lines.push_back({std::string(line), std::max(x, r.left), y});
    y += look.lineHeight;
  }
}

// Segment glyphs in place of the text: one character cell per pattern, as
// high as the cell allows, placed by the cell's alignment.
void LayOutGlyphs(CellLook& look, const std::vector<std::uint16_t>& patterns, const Segchar& shapes,
                  const cmcCellObj& cell, double scale) {
  const Segchar::Box& box = shapes.Bounds();
  if (box.Empty() || patterns.empty()) return;
  const CellRect& r = look.rect;
  const double count = static_cast<double>(patterns.size());
  // A row of glyphs wider than the cell is made smaller, so that every character stays in view.
  const double tallest = GlyphHeight(r.Height(), scale);
  const double room = std::max(r.Width() - 2.0 * Scaled(4, scale), 1.0);
  const double widthAtTallest = GlyphRowWidth(shapes, patterns.size(), tallest);
  const double height = widthAtTallest > room ? std::max(tallest * room / widthAtTallest, 1.0) : tallest;
  const SegmentScale fit(box, height, 0);
  const double width = (static_cast<double>(box.maxX) - box.minX) * fit.Factor();
  const double advance = width + std::max(height / 4, 1.0);
  const double total = advance * count - (advance - width);
  double x = r.left + Scaled(4, scale);
  if (cell.hAlign == 1) x = r.left + (r.Width() - total) / 2;
  if (cell.hAlign == 2) x = r.right + 1 - total - Scaled(4, scale);
  x = std::max(x, static_cast<double>(r.left));
  const double y = r.top + (r.Height() - height) / 2;
  Segchar glyph = shapes;
  for (std::uint16_t pattern : patterns) {
    glyph.SetPattern(pattern);
    for (const Segment& segment : glyph.Segments()) {
      if (!segment.on) continue;
      for (const dataTriangle& triangle : segment.triangles) {
        CellLook::Triangle placed;
        for (std::size_t i = 0; i < 3; ++i) {
          const auto [px, py] = fit.ToBoxExact(triangle.points[i]);
          placed[i] = {x + px, y + py};
        }
        look.glyphs.push_back(placed);
      }
    }
    x += advance;
  }
}

void PlaceMark(CellLook& look, int marks, const cmcCellObj& cell, bool printing, int screenSize,
               const TextMeasurer& measurer) {
  if (marks & cellmark::kError) {
    look.mark = CellLook::Mark::kCross;
  } else if (marks & cellmark::kWarning) {
    look.mark = CellLook::Mark::kWarning;
  } else {
    return;
  }
  const CellRect& r = look.rect;
  const int size = printing ? std::max(r.Height() / 2, 1) : screenSize;
  const int place = marks & cellmark::kCallerBits;
  const int atRight = r.right - size - 1;
  int x = atRight;
  if (place == markplace::kLeft || (place == markplace::kDefault && cell.hAlign == 2)) {
    x = r.left + size / 8;
  } else if (place != markplace::kRight) {
    int textEnd = r.left;
    for (const CellLook::Line& line : look.lines) {
      textEnd = std::max(textEnd, line.x + static_cast<int>(std::lround(measurer.Measure(line.text, look.font).width)));
    }
    x = std::min(textEnd, atRight);
  }
  const int top = r.bottom - size;  // its bottom one pixel above the cell's
  look.markRect = {x, top, x + size - 1, r.bottom - 1};
}

}  // namespace

std::optional<CellLook> ComputeCellLook(cuiSheet& sheet, CellPosition cell, const CellRect& rect,
                                        const LookSurroundings& surroundings, const TextMeasurer& measurer) {
  const clsSheetCellId* own = sheet.CellAt(cell.column, cell.row);
  if (!own || rect.Width() < 1 || rect.Height() < 1) return std::nullopt;
  CellLook look;
  // 1. A joined cell is drawn as part of the cell it is joined to.
  look.drawn = JoinOwner(sheet, cell);
  look.rect = rect;
  for (int column = look.drawn.column; column < cell.column; ++column) {
    look.rect.left -= sheet.Geometry().ColumnWidth(column);
  }
  const clsSheetCellId& id = *sheet.CellAt(look.drawn.column, look.drawn.row);
  const cmcCellObj& settings = id.cell;
  // 2. Selected state.
  look.selected = IsSelected(sheet, look.drawn, id);
  look.printed = sheet.Printing();
  // 3. to 5. Font, background, lines and text colour.
  cuiSheet::CellFace face = sheet.Face(look.drawn.column, look.drawn.row);
  look.font = sheet.FontOf(settings);
  look.text = face.fontColour.value_or(look.font.colour);
  if (sheet.Printing()) {
    ColourForPrint(look, settings.colour);
  } else {
    ColourForScreen(look, sheet, settings, look.drawn, surroundings);
  }
  look.topLine = settings.topLine;
  look.bottomLine = settings.bottomLine;
  const clsSheetCellId* next = sheet.CellAt(cell.column + 1, cell.row);
  if (!(next && next->cell.joinedLeft)) {
    if (settings.rightLine == cmcCellObj::kFullRightLine) look.rightLine = CellLook::RightLine::kFull;
    if (settings.rightLine == cmcCellObj::kRightTick) look.rightLine = CellLook::RightLine::kTick;
  }
  // 6. and 7. The text and where its lines go.
  const Segchar* shapes = sheet.SegmentShapes();
  if (face.glyphs && shapes) {
    LayOutGlyphs(look, *face.glyphs, *shapes, settings, sheet.Scale());
  } else {
    LayOutText(look, face.text, settings, sheet.Scale(), measurer);
  }
  // 8. The mark the link asked for.
  PlaceMark(look, face.marks, settings, sheet.Printing(), surroundings.markSize, measurer);
  return look;
}
