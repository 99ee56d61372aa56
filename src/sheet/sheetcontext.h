#pragma once

#include <functional>
#include <string>

#include "model/modeltype.h"

class cmcGTex;
class cmcEeprom;
class cmcEvMan;
class CellLinks;
class SheetView;
class TextMeasurer;
class ColumnWidthStore;
class Charset;
class Segchar;

// The operating modes and the radio model a sheet's definition lines are
// filtered by.
struct SheetModes {
  ModelType modelType = ModelType::kLandMobile;
  bool makerMode = false;
  bool eeditMode = false;     // stays off until that mode exists
  int fontSizePercent = 100;  // the user's font size
  int languageCount = 0;      // entries of the language list, for the language list sheet

  bool operator==(const SheetModes&) const = default;
};

// Printing: the printer's resolution beside the screen's, and the printer font.
struct PrintTarget {
  int pixelsPerInch = 600;
  int screenPixelsPerInch = 96;
  int fontSizePoints = 10;
  int fontPixelsPerInch = 600;

  // Printer pixels per screen pixel.
  double Scale() const;
};

// Everything a sheet works with, owned by its caller.
struct SheetServices {
  cmcGTex& overlay;      // holds the sheet's blocks
  cmcGTex& mainOverlay;  // cell models and the list of sheets that keep their column widths
  const cmcEeprom& image;
  const TextMeasurer& measurer;
  CellLinks* links = nullptr;  // serves the cells' links; none: a cell shows its own text
  cmcEvMan* events = nullptr;  // repaints and deferred rebuilds; none: neither happens
  SheetView* view = nullptr;
  ColumnWidthStore* widths = nullptr;  // none: no sheet keeps its widths
  const Charset* charset = nullptr;    // the radio's character set of the bank names; none: ASCII
  const Segchar* segchar = nullptr;    // the display's segment shapes; none: glyph cells show their text
  SheetModes modes{};
  // A fault of the sheet's definition; the default is the fatal stop. A handler
  // that returns makes the build fail instead, so a checker can go on.
  std::function<void(const std::string& text)> onFault{};
};
