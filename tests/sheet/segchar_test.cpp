#include "sheet/segchar.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/gtex.h"

namespace {

// Three segments: two triangles sharing the edge (90,0)-(0,60), and a third below.
constexpr std::string_view kThree =
    "1|(0,0)(90,0)(0,60)|\n"
    "1|(90,0)(90,60)(0,60)|\n"
    "1|(0,60)(90,60)(0,180)|\n";

}  // namespace

TEST(Segchar, ReadsSegmentsTrianglesAndTheirBox) {
  const Segchar segchar = Segchar::Parse(" 2 | ( -5 , 3 ) x (7,3)(0, -9) |(1,1)(2,2)(3,1)|\n-1|(0,0)(10,0)(0,10)|\n");
  ASSERT_EQ(segchar.Segments().size(), 2u);
  const Segment& first = segchar.Segments()[0];
  EXPECT_TRUE(first.editable);
  ASSERT_EQ(first.triangles.size(), 2u);
  EXPECT_EQ(first.triangles[0].points[0].x, -5);
  EXPECT_EQ(first.triangles[0].points[2].y, -9);
  EXPECT_EQ(first.triangles[1].index, 1);
  EXPECT_FALSE(segchar.Segments()[1].editable);
  EXPECT_EQ(segchar.Segments()[1].line, 1);
  const Segchar::Box box = segchar.Bounds();
  EXPECT_EQ(std::tie(box.minX, box.minY, box.maxX, box.maxY), std::make_tuple(-5, -9, 10, 10));
}

TEST(Segchar, SkipsCommentAndZeroLinesWhereverTheyStandAndKeepsWhatAShortLineHas) {
  struct Case {
    std::string_view block;
    std::vector<std::size_t> triangles;  // per segment
  };
  const Case cases[] = {
      {"// top\n1|(0,0)(1,0)(0,1)|\n 0 \n1|(0,0)(1,0)(0,1)|\n//\n", {1, 1}},
      {"3|(0,0)(1,0)(0,1)|(0,0)(1,0)|\n", {1}},       // the second triangle lacks a point
      {"2|(0,0)(1,0)(0,1)|(0,0)(1,0)(0,1)\n", {1}},   // the second triangle lacks its bar
      {"1|(0,0)(1,0)(0,1)|(5,5)(6,5)(5,6)|\n", {1}},  // more than the count is not read
      {"x|(0,0)(1,0)(0,1)|\n", {0}},                  // no count: a segment that shows nothing
      {"1|(0,0)(1000000000,0)(0,1)|\n", {0}},         // past the coordinate limit
      {"1|(0,0)(999999999,0)(0,-999999999)|\n", {1}},
      {"", {}},
  };
  for (const Case& c : cases) {
    const Segchar segchar = Segchar::Parse(c.block);
    std::vector<std::size_t> triangles;
    for (const Segment& segment : segchar.Segments()) triangles.push_back(segment.triangles.size());
    EXPECT_EQ(triangles, c.triangles) << c.block;
  }
}

TEST(Segchar, ReadsNoMoreThanSixteenSegmentsButCountsEveryLineForTheCheck) {
  std::string block;
  for (int i = 0; i < 18; ++i) block += "1|(0,0)(1,0)(0,1)|\n";
  block += "//\n0\n";
  EXPECT_EQ(Segchar::Parse(block).Segments().size(), 16u);
  EXPECT_EQ(Segchar::CountLines(block), 18);
}

TEST(Segchar, ThePatternsTopBitIsTheFirstSegmentAndFixedSegmentsKeepTheirBit) {
  Segchar segchar = Segchar::Parse(kThree);
  segchar.SetPattern(5);
  EXPECT_TRUE(segchar.Segments()[0].on);
  EXPECT_FALSE(segchar.Segments()[1].on);
  EXPECT_TRUE(segchar.Segments()[2].on);
  EXPECT_EQ(segchar.Pattern(), 5);

  Segchar fixed = Segchar::Parse("1|(0,0)(9,0)(0,9)|\n-2|(0,0)(9,0)(0,9)|(0,0)(9,9)(0,9)|\n");
  fixed.SetPattern(1);
  EXPECT_TRUE(fixed.ToggleAt({1, 1}));
  EXPECT_EQ(fixed.Pattern(), 3);
  EXPECT_TRUE(fixed.ToggleAt({1, 1}));
  EXPECT_EQ(fixed.Pattern(), 1);         // the fixed one is never switched
  EXPECT_FALSE(fixed.ToggleAt({8, 8}));  // only the fixed segment holds it
  EXPECT_EQ(fixed.Pattern(), 1);
}

TEST(Segchar, AClickTogglesTheFirstSegmentHoldingItAnEdgeGoesToTheFirstDefined) {
  struct Case {
    SegPoint at;
    std::uint16_t after;  // from pattern 5
  };
  const Case cases[] = {
      {{20, 20}, 1},   // inside segment 0
      {{80, 50}, 7},   // inside segment 1
      {{45, 30}, 1},   // on the edge of 0 and 1: the first
      {{0, 60}, 1},    // a corner of all three: the first
      {{20, 100}, 4},  // inside segment 2
      {{80, 150}, 5},  // outside all
      {{-1, 0}, 5},
  };
  for (const Case& c : cases) {
    Segchar segchar = Segchar::Parse(kThree);
    segchar.SetPattern(5);
    segchar.ToggleAt(c.at);
    EXPECT_EQ(segchar.Pattern(), c.after) << c.at.x << "," << c.at.y;
  }
}

TEST(Segchar, HitTestsTrianglesAtTheCoordinateLimitsWithoutOverflow) {
  constexpr std::int32_t kMax = Segchar::kCoordinateLimit;
  const dataTriangle huge{{SegPoint{-kMax, -kMax}, SegPoint{kMax, -kMax}, SegPoint{-kMax, kMax}}, 0};
  EXPECT_TRUE(huge.Contains({0, 0}));
  EXPECT_TRUE(huge.Contains({-kMax, kMax}));
  EXPECT_FALSE(huge.Contains({kMax, kMax}));
  EXPECT_FALSE(huge.Contains({1, 1}));
  const dataTriangle flat{{SegPoint{0, 0}, SegPoint{0, 0}, SegPoint{0, 0}}, 0};
  EXPECT_FALSE(flat.Contains({0, 0}));
  const dataTriangle line{{SegPoint{0, 0}, SegPoint{5, 5}, SegPoint{10, 10}}, 0};
  EXPECT_FALSE(line.Contains({20, 20}));  // areas alone would take every point of the line
}

TEST(Segchar, ScalesTheLargerExtentIntoTheBoxAndMapsClicksBack) {
  const Segchar segchar = Segchar::Parse(kThree);
  const SegmentScale scale(segchar.Bounds(), 180, 10);
  EXPECT_DOUBLE_EQ(scale.Factor(), 1.0);  // 180 high, 90 wide
  EXPECT_EQ(scale.ToBox({90, 180}), (std::array<int, 2>{100, 190}));
  const std::optional<SegPoint> back = scale.ToData(55, 100);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tie(back->x, back->y), std::make_tuple(45, 90));

  // A zero extent counts as 1 instead of dividing by zero.
  const Segchar line = Segchar::Parse("1|(5,0)(5,10)(5,20)|\n");
  const SegmentScale lineScale(line.Bounds(), 180, 10);
  EXPECT_DOUBLE_EQ(lineScale.Factor(), 9.0);
  EXPECT_EQ(lineScale.ToBox({5, 20}), (std::array<int, 2>{10, 190}));
}

TEST(Segchar, ASegcharWithoutTrianglesHasAnEmptyBoxAndIgnoresClicks) {
  Segchar segchar = Segchar::Parse("1|\n");
  EXPECT_TRUE(segchar.Bounds().Empty());
  EXPECT_FALSE(SegmentScale(segchar.Bounds(), 180, 10).ToData(50, 50));
  EXPECT_FALSE(segchar.ToggleAt({0, 0}));
}

TEST(Segchar, TheShippedBlockIsAStarburstOfSixteenSegmentsThatDoNotOverlap) {
  cmcGTex overlay;
  ASSERT_TRUE(overlay.Open(std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071KE.OVL"));
  const std::string block = overlay.GetBlockText(Segchar::kBlock);
  EXPECT_EQ(Segchar::CountLines(block), Segchar::kMaxSegments);
  Segchar segchar = Segchar::FromOverlay(overlay);
  ASSERT_EQ(segchar.Segments().size(), 16u);
  // Each segment's own triangles' centres switch that segment alone.
  for (std::size_t i = 0; i < 16; ++i) {
    for (const dataTriangle& t : segchar.Segments()[i].triangles) {
      const SegPoint centre{(t.points[0].x + t.points[1].x + t.points[2].x) / 3,
                            (t.points[0].y + t.points[1].y + t.points[2].y) / 3};
      segchar.SetPattern(0);
      EXPECT_TRUE(segchar.ToggleAt(centre)) << i;
      EXPECT_EQ(segchar.Pattern(), 1u << (15 - i)) << i;
    }
  }
}
