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

// The widths of the dotted lines a command's preview puts on the overlay once the selection and
// its base point are given and the mouse moves on.
std::vector<int> DottedWidths(const RecordingCanvas& overlay) {
  std::vector<int> widths;
  for (const CanvasCall& call : overlay.calls()) {
    if ((call.kind == CanvasCall::Kind::kLine || call.kind == CanvasCall::Kind::kPolyline) &&
        call.pen.style == PenStyle::kDotted) {
      widths.push_back(call.pen.width);
    }
  }
  return widths;
}

// The previews of the commands that act on a selection draw each entity as the redraw drew it:
// a line without a thickness of its own as thick as the nearest command below it makes it, as
// if it had that thickness itself; never as the redraw's last command (the topmost) left it.
TEST_F(EditingSessionTest, PreviewsDrawTheThicknessInForceAtEachEntity) {
  const std::vector<std::string> in_force = {"GR(0,35)", "L(0,0)-(2,0)", "GR(0,5)"};
  const std::vector<std::string> own = {"GR(0,35)", "L(0,0)-(2,0);K(0,0,0);GR(0,35)", "GR(0,5)"};
  const std::vector<std::string> topmost = {"L(0,0)-(2,0);K(0,0,0);GR(0,5)", "GR(0,5)"};
  for (const char* command : {"mo", "co", "ob", "sc"}) {
    SCOPED_TRACE(command);
    const auto preview = [&](const std::vector<std::string>& drawing) {
      Draw(drawing);
      editor_.CommandEntered(command);
      Drag(-1, -1, 3, 1);
      Click(0, 0);
      const PixelPoint p = Pixel(1, 2);
      editor_.MouseMove(p.x, p.y);
      std::vector<int> widths = DottedWidths(surface_.overlay());
      editor_.CommandKey(Key::kEscape);
      return widths;
    };
    const std::vector<int> shown = preview(in_force);
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(shown, preview(own));
    EXPECT_NE(shown, preview(topmost));
  }
}

}  // namespace
}  // namespace blok::testing
