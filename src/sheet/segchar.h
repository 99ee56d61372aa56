#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class cmcGTex;

// A corner of a segment triangle, in the unit of the segment data.
struct SegPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// One triangle of a segment.
struct dataTriangle {
  std::array<SegPoint, 3> points;
  int index = 0;  // within its segment

  // On an edge or a corner counts as inside; a triangle of no area holds nothing.
  bool Contains(SegPoint p) const;
};

// One segment of the display's character cell: a line of the segment data.
struct Segment {
  int line = 0;          // in the data block
  bool editable = true;  // a fixed segment (negative count) is neither drawn nor switched
  std::vector<dataTriangle> triangles;
  bool on = false;

  bool Contains(SegPoint p) const;
};

// The segments of one display character, read from "GI_PCG_Seg_Data": each
// line "n|(x,y)(x,y)(x,y)|..." is a segment of n triangles (negative: fixed).
// Lines starting "//" and lines reading "0" are skipped wherever they stand,
// so segment i is the i-th line that counts; a line cut short keeps the
// triangles it has. Coordinates are held to ±999,999,999 so that every
// cross product fits 64 bits.
class Segchar {
 public:
  static constexpr std::string_view kBlock = "GI_PCG_Seg_Data";
  static constexpr int kMaxSegments = 16;  // a pattern has 16 bits
  static constexpr std::int32_t kCoordinateLimit = 999'999'999;

  struct Box {
    std::int32_t minX = kCoordinateLimit;
    std::int32_t minY = kCoordinateLimit;
    std::int32_t maxX = -kCoordinateLimit;
    std::int32_t maxY = -kCoordinateLimit;
    bool Empty() const { return minX > maxX; }
  };

  // The segments of a block's text; lines past kMaxSegments are not read.
  static Segchar Parse(std::string_view block);
  // The block of the main overlay; a missing block is the overlay's fatal stop.
  static Segchar FromOverlay(cmcGTex& overlay);
  // How many counted lines a block has, for the overlay check (more than kMaxSegments is a fault).
  static int CountLines(std::string_view block);

  const std::vector<Segment>& Segments() const { return segments_; }
  const Box& Bounds() const { return box_; }

  // Segment i is on when bit (count - 1 - i) is set: the first segment is the top bit.
  void SetPattern(std::uint16_t pattern);
  std::uint16_t Pattern() const;
  // Switches the first editable segment holding the point; false when none does.
  bool ToggleAt(SegPoint p);

 private:
  std::vector<Segment> segments_;
  Box box_;
};

// Maps the segment data into a square drawing box and back: the larger extent
// fills `extent` pixels, `margin` pixels from the box's top left. A zero
// extent counts as 1.
class SegmentScale {
 public:
  SegmentScale(const Segchar::Box& box, double extent, double margin);
  double Factor() const { return factor_; }
  // Box pixels of a data point, not rounded.
  std::array<double, 2> ToBoxExact(SegPoint p) const;
  // Box pixels of a data point, truncated.
  std::array<int, 2> ToBox(SegPoint p) const;
  // The data point under box pixels; nothing outside the data's range.
  std::optional<SegPoint> ToData(int x, int y) const;

 private:
  Segchar::Box box_;
  double factor_;
  double margin_;
};

// Glyphs in a cell: a row of glyphs in a row of this height stands this high
// (the cell's margins off), is this wide with its gaps, and needs a column this wide.
double GlyphHeight(int rowHeight, double scale);
double GlyphRowWidth(const Segchar& shapes, std::size_t count, double height);
int GlyphCellWidth(const Segchar& shapes, std::size_t count, int rowHeight, double scale);
