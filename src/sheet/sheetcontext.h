#pragma once

#include <functional>
#include <string>

class cmcGTex;
class cmcEeprom;
class cmcEvMan;
class CellLinks;
class SheetView;
class TextMeasurer;
class ColumnWidthStore;

// The operating modes and the radio model a sheet's definition lines are
// filtered by. The model type's numbers are read here and nowhere else in sheet/.
struct SheetModes {
  int modelType = 0;  // 0 land-mobile, 1 PMR, 2 PMR with Vexl signalling, 3 dPMR446
  bool makerMode = false;
  bool eeditMode = false;     // stays off until that mode exists
  int fontSizePercent = 100;  // the user's font size
  int languageCount = 0;      // entries of the language list, for the language list sheet

  bool IsLandMobile() const { return modelType == 0; }
  bool IsPmr() const { return modelType == 1 || modelType == 2; }
  bool IsVexl() const { return modelType == 2; }
  bool IsDpmr446() const { return modelType == 3; }
  // The word that names the model's channel sheets: "Lmr", "Pmr", "PmrB", "DPmr446".
  const char* ModelWord() const;
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
  SheetModes modes{};
  // A fault of the sheet's definition; the default is the fatal stop. A handler
  // that returns makes the build fail instead, so a checker can go on.
  std::function<void(const std::string& text)> onFault{};
};
