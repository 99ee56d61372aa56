#include "sheet/sheettext.h"

#include "sheet/sheet.h"

std::vector<std::string> RowTexts(cuiSheet& sheet, int row) {
  std::vector<std::string> texts;
  for (int column = 0; column < sheet.Columns(); ++column) {
    const clsSheetCellId* id = sheet.CellAt(column, row);
    texts.push_back(id && !id->cell.joinedLeft ? sheet.CellText(column, row) : std::string());
  }
  return texts;
}
