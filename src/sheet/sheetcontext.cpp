#include "sheet/sheetcontext.h"

#include <array>

const char* SheetModes::ModelWord() const {
  static constexpr std::array<const char*, 4> kWords = {"Lmr", "Pmr", "PmrB", "DPmr446"};
  return modelType >= 0 && modelType < static_cast<int>(kWords.size()) ? kWords[modelType] : kWords[0];
}

double PrintTarget::Scale() const {
  return screenPixelsPerInch > 0 ? static_cast<double>(pixelsPerInch) / screenPixelsPerInch : 1.0;
}
