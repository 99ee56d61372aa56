#include "control/stepname.h"

#include <cctype>
#include <optional>
#include <string_view>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/cellcapsule.h"
#include "markup/cellnames.h"
#include "markup/cellobj.h"
#include "sheet/sheet.h"

namespace {

bool IsNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// One line of words: line breaks and tabs become spaces, runs of spaces one,
// and the dots of "Delete..." and a menu's accelerator marks go.
std::string Words(std::string_view text) {
  std::string words;
  for (char c : text) {
    if (c == '&') continue;
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    if (c == ' ' && (words.empty() || words.back() == ' ')) continue;
    words += c;
  }
  if (words.ends_with("...")) words.resize(words.size() - 3);
  while (!words.empty() && words.back() == ' ') words.pop_back();
  return words;
}

std::string MenuCommandName(cmcGTex& overlay, const cmcCellCapsule& request) {
  const std::optional<std::string> menu = request.cell ? PopupMenuOf(*request.cell) : std::nullopt;
  const std::string body = menu ? *menu + "_Body" : std::string();
  if (body.empty() || !overlay.HasBlock(body)) return {};
  const std::string_view linkName = LinkName(request.menuCommand);
  for (std::size_t n = 0;; ++n) {
    const std::string line = overlay.GetLine(body, n);
    if (line.empty() || line[0] == '#') return {};
    std::string text = MenuItemText(line, linkName);
    if (!text.empty()) return text;
  }
}

std::optional<CellPosition> PositionOf(cuiSheet& sheet, const cmcCellObj* cell) {
  for (int row = 0; row < sheet.Rows(); ++row) {
    for (int column = 0; column < sheet.Columns(); ++column) {
      const clsSheetCellId* id = sheet.CellAt(column, row);
      if (id && &id->cell == cell) return CellPosition{column, row};
    }
  }
  return std::nullopt;
}

// The first text found walking from (column, row) towards the sheet's edge,
// by (dx, dy), through the fixed cells.
std::string FirstTextToward(cuiSheet& sheet, int column, int row, int dx, int dy) {
  for (; column >= 0 && row >= 0; column += dx, row += dy) {
    std::string text = Words(sheet.CellText(column, row));
    if (!text.empty()) return text;
  }
  return {};
}

std::string ColumnTitle(cuiSheet& sheet, const cmcCellObj* cell) {
  const std::optional<CellPosition> at = PositionOf(sheet, cell);
  if (!at) return {};
  // A sheet with title rows names its columns; the fixed column of such a
  // sheet holds numbers, not names. A sheet without them labels its rows.
  const SheetGeometry& geometry = sheet.Geometry();
  if (geometry.FixedRows() > 0) {
    return at->row >= geometry.FixedRows() ? FirstTextToward(sheet, at->column, geometry.FixedRows() - 1, 0, -1)
                                           : std::string();
  }
  return geometry.FixedColumns() > 0 && at->column >= geometry.FixedColumns()
             ? FirstTextToward(sheet, geometry.FixedColumns() - 1, at->row, -1, 0)
             : std::string();
}

}  // namespace

std::string MenuItemText(std::string_view line, std::string_view linkName) {
  if (linkName.empty()) return {};
  for (std::size_t at = line.find(linkName); at != std::string_view::npos; at = line.find(linkName, at + 1)) {
    const std::size_t end = at + linkName.size();
    const bool whole =
        (at == 0 || !IsNameCharacter(line[at - 1])) && (end == line.size() || !IsNameCharacter(line[end]));
    if (!whole) continue;
    const std::size_t plus = line.find('+');
    if (plus == std::string_view::npos) return {};
    std::string_view text = line.substr(plus + 1);
    text = text.substr(0, text.find_first_of("\t{"));
    return Words(text);
  }
  return {};
}

std::string StepName(cmcGTex& overlay, const cmcCellCapsule& request, std::span<cuiSheet* const> sheets) {
  std::string name;
  if (request.menuCommand != 0) {
    name = MenuCommandName(overlay, request);
  } else if (request.cell) {
    for (cuiSheet* sheet : sheets) {
      if (sheet && name.empty()) name = ColumnTitle(*sheet, request.cell);
    }
  }
  return name.empty() ? overlay.GetLine(gi::GI_AppInd_UndoStep, 0) : name;
}
