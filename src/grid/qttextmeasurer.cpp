#include "grid/qttextmeasurer.h"

#include <QString>
#include <algorithm>

#include "grid/qtfont.h"

const QtTextMeasurer::Entry& QtTextMeasurer::EntryFor(const Font& font) const {
  const auto found = std::find_if(fonts_.begin(), fonts_.end(), [&](const Entry& e) { return e.font == font; });
  if (found != fonts_.end()) return *found;
  QFont qfont = ToQFont(font, base_);
  fonts_.push_back({font, qfont, QFontMetricsF(qfont)});
  return fonts_.back();
}

TextMeasurer::Extent QtTextMeasurer::Measure(std::string_view line, const Font& font) const {
  const Entry& entry = EntryFor(font);
  const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  return {entry.metrics.horizontalAdvance(text), entry.metrics.height()};
}

const QFont& QtTextMeasurer::QtFont(const Font& font) const { return EntryFor(font).qfont; }
