#include "app/qtfont.h"

#include <cstdlib>

QFont ToQFont(const cmcFont& font, const QFont& base) {
  QFont result = base;
  if (!font.face.empty()) result.setFamily(QString::fromStdString(font.face));
  if (font.size > 0) {
    result.setPointSize(font.size);
  } else if (font.height != 0) {
    // A negative height is the character height; a positive one includes the
    // internal leading, which is close enough for a pixel size.
    result.setPixelSize(std::abs(font.height));
  }
  result.setBold((font.styles & cmcFont::fsBold) != 0);
  result.setItalic((font.styles & cmcFont::fsItalic) != 0);
  result.setUnderline((font.styles & cmcFont::fsUnderline) != 0);
  result.setStrikeOut((font.styles & cmcFont::fsStrikeOut) != 0);
  if (font.pitch == cmcFont::fpFixed) {
    result.setFixedPitch(true);
    result.setStyleHint(QFont::Monospace);
  }
  return result;
}
