#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <deque>
#include <utility>

#include "sheet/textmeasurer.h"

// Measures text with the platform's font metrics, the fonts made from the
// cells' font descriptions over a base font.
class QtTextMeasurer : public TextMeasurer {
 public:
  explicit QtTextMeasurer(QFont base = QFont()) : base_(std::move(base)) {}

  Extent Measure(std::string_view line, const Font& font) const override;
  // The Qt font of a cell's font, kept for the next use.
  const QFont& QtFont(const Font& font) const;

 private:
  struct Entry {
    Font font;
    QFont qfont;
    QFontMetricsF metrics;
  };
  const Entry& EntryFor(const Font& font) const;

  QFont base_;
  mutable std::deque<Entry> fonts_;  // a sheet uses a handful; references stay valid
};
