#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "markup/colours.h"

// The font of a cell, in the terms of the mark-up's font description.
struct Font {
  enum Style : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
  enum Pitch : std::uint8_t { fpDefault, fpFixed, fpVariable };

  int charset = 1;  // DEFAULT_CHARSET
  std::string face;
  CellColour colour = clWindowText;
  int height = 0;  // negative: character height in pixels
  int size = 0;    // points
  std::uint8_t styles = 0;
  Pitch pitch = fpDefault;

  bool operator==(const Font&) const = default;
};

// Applies a font description "charset,face,colour,height,size,styles,pitch":
// a field that is empty, missing or not understood leaves its setting unchanged.
void ParseFont(std::string_view spec, Font& font);
