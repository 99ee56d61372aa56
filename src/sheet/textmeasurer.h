#pragma once

#include <string_view>

#include "markup/font.h"

// Measures one line of text in a font, in pixels of the target being built for
// (the screen or the printer). The grid implements it over the platform's font
// metrics; tests use a fixed-width double.
class TextMeasurer {
 public:
  struct Extent {
    double width = 0;
    double height = 0;
  };

  virtual ~TextMeasurer() = default;
  virtual Extent Measure(std::string_view line, const Font& font) const = 0;
};
