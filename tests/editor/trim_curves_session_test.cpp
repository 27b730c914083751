#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

// tr and w with curves and rectangles as edges and objects, driven by clicks: each pick that
// changes something is one Cofnij, and a pick that meets nothing says so and records nothing.
TEST_F(EditingSessionTest, TrimAndExtendWithCurves) {
  const struct {
    const char* label;
    std::vector<std::string> drawing;  // oldest first
    std::vector<Step> steps;
    std::vector<std::string> lines;  // line 0 first
    int picks;                       // the records made, one Cofnij each
  } cases[] = {
      {"a circle cut by a line, then its arc by another",
       {"O(0,0,5)", "L(-6,0)-(6,0)", "L(0,-6)-(0,6)"},
       {Type("tr"), ClickAt(-6, 0), ClickAt(3, 4), Type("tr"), ClickAt(0, -6), ClickAt(4, -3)},
       {"L(0,-6)-(0,6)", "L(-6,0)-(6,0)", "LUK(0,0,5,180,270);K(0,0,0);GR(0.1)"},
       2},
      {"a line cut by a rectangle",
       {"L(0,0)-(10,0)", "P(2,-1)-(6,1)"},
       {Type("tr"), ClickAt(6, 1), ClickAt(9, 0)},
       {"P(2,-1)-(6,1)", "L(0,0)-(6,0);K(0,0,0);GR(0.1)"},
       1},
      {"a line extended to a circle, an arc to the same circle",
       {"O(0,0,5)", "L(-10,0)-(-8,0)", "LUK(0,6,2,0,90)"},
       {Type("w"), ClickAt(0, 5), ClickAt(-9, 0)},
       {"LUK(0,6,2,0,90)", "L(-10,0)-(-5,0);K(0,0,0);GR(0.1)", "O(0,0,5)"},
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    const size_t before = Records();
    Perform(c.steps);
    EXPECT_EQ(Lines(), c.lines);
    EXPECT_EQ(Records() - before, static_cast<size_t>(c.picks));
    for (int i = 0; i < c.picks; ++i) editor_.block().BCofnijClick();
    EXPECT_EQ(Lines(), std::vector<std::string>(c.drawing.rbegin(), c.drawing.rend()));
    editor_.CommandKey(Key::kEscape);
  }
}

TEST_F(EditingSessionTest, APickThatMeetsNothingSaysSo) {
  const struct {
    const char* command;
    std::vector<std::string> drawing;
    double edge_x, edge_y, object_x, object_y;
  } cases[] = {
      {"tr", {"O(0,0,5)", "L(6,0)-(10,0)"}, 0, 5, 8, 0},
      {"tr", {"L(0,3)-(0,6)", "L(-2,0)-(2,0)"}, 0, 4, 1, 0},
      {"w", {"LUK(0,0,5,0,90)", "L(-10,-6)-(-8,-6)"}, 0, 5, -9, -6},
      {"w", {"L(0,1)-(4,1)", "L(0,0)-(4,0)"}, 2, 1, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command + std::string(" ") + c.drawing.front());
    Draw(c.drawing);
    const size_t before = Records();
    editor_.CommandEntered(c.command);
    Click(c.edge_x, c.edge_y);
    Click(c.object_x, c.object_y);
    EXPECT_EQ(editor_.messages().lines().front(), "Brak przecięcia.");
    EXPECT_EQ(Records(), before);
    editor_.CommandKey(Key::kEscape);
  }
}

}  // namespace
}  // namespace blok::testing
