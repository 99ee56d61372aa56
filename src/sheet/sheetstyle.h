#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "markup/colours.h"
#include "markup/font.h"

// The settings of a sheet's style line: the groups "(Key=value)" of line 0 of
// its style block. The line's first character is the list kind letter of list
// sheets (the group scanner ignores it).
struct SheetStyle {
  enum class MultiSelect { kNone, kCell, kLine };

  std::optional<std::string> title;
  CellColour titleColour = clGrayText;
  std::optional<Font> titleFont;
  int fixedColumns = 0;  // as written; the sheet clips them to its grid
  int fixedRows = 0;
  int printFontRatio = 100;  // percent
  MultiSelect multiSelect = MultiSelect::kNone;
  bool printable = true;
  bool columnsSizable = false;
  bool colourSelectLine = false;
  char listKind = '\0';

  // Unknown keys are ignored.
  static SheetStyle Read(std::string_view line);
};
