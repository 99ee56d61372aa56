#include "grid/qtfont.h"

#include <cstdlib>

QFont ToQFont(const Font& font, const QFont& base) {
  QFont result = base;
  if (!font.face.empty()) result.setFamily(QString::fromStdString(font.face));
  if (font.size > 0) {
    result.setPointSize(font.size);
  } else if (font.height != 0) {
    // A negative height is the character height; a positive one includes the
    // internal leading, which is close enough for a pixel size.
    result.setPixelSize(std::abs(font.height));
  }
  result.setBold((font.styles & Font::fsBold) != 0);
  result.setItalic((font.styles & Font::fsItalic) != 0);
  result.setUnderline((font.styles & Font::fsUnderline) != 0);
  result.setStrikeOut((font.styles & Font::fsStrikeOut) != 0);
  if (font.pitch == Font::fpFixed) {
    result.setFixedPitch(true);
    result.setStyleHint(QFont::Monospace);
  }
  return result;
}
