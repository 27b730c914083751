#include <gtest/gtest.h>

#include "geometry/geometry.h"

namespace blok {
namespace {

TEST(LineCrossingParameters, WhereAlongEachLine) {
  const struct {
    const char* what;
    double x1, y1, x2, y2, x3, y3, x4, y4;
    bool found;
    double t, u;
  } cases[] = {
      {"inside both", 0, 0, 10, 0, 5, -1, 5, 1, true, 0.5, 0.5},
      {"beyond the first's end", 0, 0, 1, 0, 3, -1, 3, 3, true, 3, 0.25},
      {"before the second's start", 0, 0, 4, 4, 0, 2, 2, 0, true, 0.25, 0.5},
      {"vertical against vertical", 1, 0, 1, 5, 2, 0, 2, 5, false, 0, 0},
      {"parallel", 0, 0, 4, 1, 0, 1, 4, 2, false, 0, 0},
      {"a line of no length", 2, 2, 2, 2, 0, 0, 4, 4, false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LineParameters p = LineCrossingParameters(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
    EXPECT_EQ(p.found, c.found);
    if (!c.found) continue;
    EXPECT_DOUBLE_EQ(p.t, c.t);
    EXPECT_DOUBLE_EQ(p.u, c.u);
  }
}

// The infinite line finds what the segment leaves out past its ends, and the segment finds
// exactly the line's crossings that lie on it.
TEST(LineCircleCrossings, TheSegmentsCrossingsAndThosePastItsEnds) {
  const struct {
    const char* what;
    double x1, y1, x2, y2;
    bool segment1, segment2;
  } cases[] = {
      {"both on the segment", -10, 3, 10, 3, true, true},
      {"one past an end", 0, 3, 10, 3, false, true},
      {"both past the ends", -1, 3, 1, 3, false, false},
      {"vertical, one past", 3, 0, 3, 10, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const CircleHits line = LineCircleCrossings(c.x1, c.y1, c.x2, c.y2, 0, 0, 5);
    const CircleHits segment = SegmentCircleCrossings(c.x1, c.y1, c.x2, c.y2, 0, 0, 5);
    ASSERT_TRUE(line.found1 && line.found2);
    EXPECT_EQ(segment.found1, c.segment1);
    EXPECT_EQ(segment.found2, c.segment2);
    EXPECT_NEAR(line.x1 * line.x1 + line.y1 * line.y1, 25, 1e-9);
    EXPECT_NEAR(line.x2 * line.x2 + line.y2 * line.y2, 25, 1e-9);
    if (segment.found1) {
      EXPECT_EQ(segment.x1, line.x1);
    }
    if (segment.found2) {
      EXPECT_EQ(segment.y2, line.y2);
    }
  }
  EXPECT_FALSE(LineCircleCrossings(0, 6, 1, 6, 0, 0, 5).found1);
}

}  // namespace
}  // namespace blok
