#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/editing_session.h"

namespace blok::testing {
namespace {

using ::testing::Contains;

struct InForceCase {
  const char* label;
  std::vector<std::string> drawing;  // oldest first
  const char* shown;
};

// The edit command's hover shows the thickness the line is drawn with: its own, else the one
// the nearest thickness command below it sets, else 0,1; never what the redraw's last command
// (the topmost) left behind.
TEST_F(EditingSessionTest, HoverShowsTheThicknessInForceAtTheEntity) {
  const InForceCase cases[] = {
      {"a command above only", {"L(0,0)-(2,0)", "GR(0,5)"}, "gr = 0,1"},
      {"the nearest command below", {"GR(0,35)", "L(0,0)-(2,0)", "GR(0,5)"}, "gr = 0,35"},
      {"below, past a colour", {"GR(0,35)", "K(255,0,0)", "L(0,0)-(2,0)", "GR(0,5)"}, "gr = 0,35"},
      {"its own", {"GR(0,35)", "L(0,0)-(2,0);K(0,0,0);GR(0,2)", "GR(0,5)"}, "gr = 0,2"},
      {"a command that does not read", {"L(0,0)-(2,0)", "GR(zły)", "GR(0,5)"}, "gr = 0,1"},
  };
  for (const InForceCase& c : cases) {
    SCOPED_TRACE(c.label);
    Draw(c.drawing);
    editor_.CommandEntered("ed");
    const PixelPoint p = Pixel(1, 0);
    editor_.MouseMove(p.x, p.y + 2);
    std::vector<std::string> texts;
    for (const auto& call : surface_.overlay().CallsOf(CanvasCall::Kind::kText)) {
      texts.push_back(call.text);
    }
    EXPECT_THAT(texts, Contains(c.shown));
  }
}

}  // namespace
}  // namespace blok::testing
