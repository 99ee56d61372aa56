#include "sheet/columnautofit.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "sheet/sheet.h"
#include "sheet/textmeasurer.h"

namespace {

double WidestLine(std::string_view text, const Font& font, const TextMeasurer& measurer) {
  double widest = 0;
  for (;;) {
    const std::size_t feed = text.find('\n');
    widest = std::max(widest, measurer.Measure(text.substr(0, feed), font).width);
    if (feed == std::string_view::npos) return widest;
    text.remove_prefix(feed + 1);
  }
}

}  // namespace

int AutoFitWidth(cuiSheet& sheet, int column, const TextMeasurer& measurer) {
  double widest = 0;
  for (int row = 0; row < sheet.Rows(); ++row) {
    const clsSheetCellId* id = sheet.CellAt(column, row);
    if (!id) return 0;
    std::string text;
    if (row < sheet.Geometry().FixedRows()) {
      const clsSheetCellId* next = sheet.CellAt(column + 1, row);
      if (next && next->cell.joinedLeft) continue;
      text = DisplayTextOf(id->cell);
    } else {
      text = sheet.CellText(column, row);
    }
    widest = std::max(widest, WidestLine(text, sheet.FontOf(id->cell), measurer));
  }
  return static_cast<int>(std::lround(widest + 8 * sheet.Scale()));
}
