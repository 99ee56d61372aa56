#include "sheet/segchar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/gtex.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Lines that do not count as segments.
bool IsSkipped(std::string_view line) {
  const std::string_view trimmed = Trimmed(line);
  return trimmed.starts_with("//") || trimmed == "0";
}

void SkipBlanks(std::string_view& text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
}

// A signed decimal within the coordinate limit, with the blanks before it.
std::optional<std::int32_t> ReadNumber(std::string_view& text) {
  SkipBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t value = 0;
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
    value = value * 10 + (text[digits] - '0');
    if (value > Segchar::kCoordinateLimit) return std::nullopt;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  text.remove_prefix(digits);
  return static_cast<std::int32_t>(negative ? -value : value);
}

// "(x,y)" after any other text; nothing when the field holds no whole point.
std::optional<SegPoint> ReadPoint(std::string_view& text) {
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos) return std::nullopt;
  text.remove_prefix(open + 1);
  const std::optional<std::int32_t> x = ReadNumber(text);
  SkipBlanks(text);
  if (!x || text.empty() || text.front() != ',') return std::nullopt;
  text.remove_prefix(1);
  const std::optional<std::int32_t> y = ReadNumber(text);
  SkipBlanks(text);
  if (!y || text.empty() || text.front() != ')') return std::nullopt;
  text.remove_prefix(1);
  return SegPoint{*x, *y};
}

Segment ParseSegment(std::string_view line, int lineNumber) {
  Segment segment;
  segment.line = lineNumber;
  std::string_view rest = Trimmed(line);
  const std::size_t bar = rest.find('|');
  std::string_view countText = rest.substr(0, bar);
  const std::optional<std::int32_t> count = ReadNumber(countText);
  if (!count || !Trimmed(countText).empty() || bar == std::string_view::npos) return segment;
  segment.editable = *count >= 0;
  rest.remove_prefix(bar + 1);
  const std::int64_t wanted = std::abs(static_cast<std::int64_t>(*count));
  while (static_cast<std::int64_t>(segment.triangles.size()) < wanted) {
    const std::size_t end = rest.find('|');
    if (end == std::string_view::npos) break;  // a line cut short keeps what it has
    std::string_view field = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    dataTriangle triangle;
    triangle.index = static_cast<int>(segment.triangles.size());
    bool whole = true;
    for (SegPoint& point : triangle.points) {
      const std::optional<SegPoint> read = ReadPoint(field);
      if (!read) {
        whole = false;
        break;
      }
      point = *read;
    }
    if (!whole) break;
    segment.triangles.push_back(triangle);
  }
  return segment;
}

// Twice the area of the triangle, always exact: coordinates within the limit
// keep every difference below 2^31 and the cross product below 2^63.
std::uint64_t DoubleArea(SegPoint a, SegPoint b, SegPoint c) {
  const std::int64_t cross =
      (std::int64_t{a.y} - b.y) * (std::int64_t{b.x} - c.x) - (std::int64_t{a.x} - b.x) * (std::int64_t{b.y} - c.y);
  return cross < 0 ? static_cast<std::uint64_t>(-(cross + 1)) + 1 : static_cast<std::uint64_t>(cross);
}

}  // namespace

bool dataTriangle::Contains(SegPoint p) const {
  const auto& [a, b, c] = points;
  // The point is inside when the three triangles it makes with the edges
  // cover no more than the triangle; compared by subtraction so no sum overflows.
  std::uint64_t left = DoubleArea(a, b, c);
  // By areas alone a triangle of no area would hold every point of its line.
  if (left == 0) return false;
  for (std::uint64_t part : {DoubleArea(a, b, p), DoubleArea(a, p, c), DoubleArea(p, b, c)}) {
    if (part > left) return false;
    left -= part;
  }
  return true;
}

bool Segment::Contains(SegPoint p) const {
  return std::any_of(triangles.begin(), triangles.end(), [p](const dataTriangle& t) { return t.Contains(p); });
}

int Segchar::CountLines(std::string_view block) {
  int count = 0;
  while (!block.empty()) {
    const std::size_t end = block.find('\n');
    if (!IsSkipped(block.substr(0, end))) ++count;
    if (end == std::string_view::npos) break;
    block.remove_prefix(end + 1);
  }
  return count;
}

Segchar Segchar::Parse(std::string_view block) {
  Segchar segchar;
  for (int lineNumber = 0; !block.empty() && segchar.segments_.size() < kMaxSegments; ++lineNumber) {
    const std::size_t end = block.find('\n');
    const std::string_view line = block.substr(0, end);
    block = end == std::string_view::npos ? std::string_view() : block.substr(end + 1);
    if (IsSkipped(line)) continue;
    segchar.segments_.push_back(ParseSegment(line, lineNumber));
  }
  for (const Segment& segment : segchar.segments_) {
    for (const dataTriangle& triangle : segment.triangles) {
      for (const SegPoint& p : triangle.points) {
        segchar.box_.minX = std::min(segchar.box_.minX, p.x);
        segchar.box_.minY = std::min(segchar.box_.minY, p.y);
        segchar.box_.maxX = std::max(segchar.box_.maxX, p.x);
        segchar.box_.maxY = std::max(segchar.box_.maxY, p.y);
      }
    }
  }
  return segchar;
}

Segchar Segchar::FromOverlay(cmcGTex& overlay) { return Parse(overlay.GetBlockText(kBlock)); }

void Segchar::SetPattern(std::uint16_t pattern) {
  const int count = static_cast<int>(segments_.size());
  for (int i = 0; i < count; ++i) segments_[static_cast<std::size_t>(i)].on = (pattern >> (count - 1 - i)) & 1;
}

std::uint16_t Segchar::Pattern() const {
  const int count = static_cast<int>(segments_.size());
  unsigned pattern = 0;
  for (int i = 0; i < count; ++i) {
    if (segments_[static_cast<std::size_t>(i)].on) pattern |= 1u << (count - 1 - i);
  }
  return static_cast<std::uint16_t>(pattern);
}

bool Segchar::ToggleAt(SegPoint p) {
  for (Segment& segment : segments_) {
    if (segment.editable && segment.Contains(p)) {
      segment.on = !segment.on;
      return true;
    }
  }
  return false;
}

SegmentScale::SegmentScale(const Segchar::Box& box, double extent, double margin) : box_(box), margin_(margin) {
  const auto span = [](std::int32_t low, std::int32_t high) {
    const std::int64_t width = std::int64_t{high} - low;
    return width > 0 ? static_cast<double>(width) : 1.0;
  };
  factor_ = box.Empty() ? 1.0 : std::min(extent / span(box.minX, box.maxX), extent / span(box.minY, box.maxY));
}

std::array<double, 2> SegmentScale::ToBoxExact(SegPoint p) const {
  return {(static_cast<double>(p.x) - box_.minX) * factor_ + margin_,
          (static_cast<double>(p.y) - box_.minY) * factor_ + margin_};
}

std::array<int, 2> SegmentScale::ToBox(SegPoint p) const {
  const std::array<double, 2> exact = ToBoxExact(p);
  return {static_cast<int>(std::trunc(exact[0])), static_cast<int>(std::trunc(exact[1]))};
}

std::optional<SegPoint> SegmentScale::ToData(int x, int y) const {
  const double dataX = std::trunc((x - margin_) / factor_ + box_.minX);
  const double dataY = std::trunc((y - margin_) / factor_ + box_.minY);
  if (std::abs(dataX) > Segchar::kCoordinateLimit || std::abs(dataY) > Segchar::kCoordinateLimit) return std::nullopt;
  return SegPoint{static_cast<std::int32_t>(dataX), static_cast<std::int32_t>(dataY)};
}

namespace {
// The cell's margins (3 pixels above and below, 4 left and right), scaled as the sheet is.
double Margin(double pixels, double scale) { return static_cast<double>(std::lround(pixels * scale)); }
}  // namespace

double GlyphHeight(int rowHeight, double scale) { return std::max(rowHeight - 2 * Margin(3, scale), 1.0); }

double GlyphRowWidth(const Segchar& shapes, std::size_t count, double height) {
  const Segchar::Box& box = shapes.Bounds();
  if (box.Empty() || count == 0) return 0;
  const double aspect = (static_cast<double>(box.maxX) - box.minX) * SegmentScale(box, 1, 0).Factor();
  const double n = static_cast<double>(count);
  return height * aspect * n + height / 4 * (n - 1);
}

int GlyphCellWidth(const Segchar& shapes, std::size_t count, int rowHeight, double scale) {
  return static_cast<int>(std::ceil(GlyphRowWidth(shapes, count, GlyphHeight(rowHeight, scale))) +
                          2 * Margin(4, scale));
}
