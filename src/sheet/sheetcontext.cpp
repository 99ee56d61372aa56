#include "sheet/sheetcontext.h"

double PrintTarget::Scale() const {
  return screenPixelsPerInch > 0 ? static_cast<double>(pixelsPerInch) / screenPixelsPerInch : 1.0;
}
