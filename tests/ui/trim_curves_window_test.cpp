// Trim with a circle as the object, as a user does it: the circle and a line across it drawn
// by typed commands, tr typed, the line picked as the edge and the circle clicked.
#include <gtest/gtest.h>

#include <QAction>
#include <string>
#include <vector>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class TrimCurvesWindowTest : public testing::WindowTest {
 protected:
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
};

TEST_F(TrimCurvesWindowTest, ACircleClickedOnOneSideLeavesTheArcOnTheOther) {
  const struct {
    const char* side;
    double x, y;
    const char* arc;
  } sides[] = {
      {"above", 0, 2, "LUK(0,0,2,180,360);K(0,0,0);GR(0.1)"},
      {"below", 0, -2, "LUK(0,0,2,0,180);K(0,0,0);GR(0.1)"},
  };
  OpenLibrary();
  Click("Bt_NowyBlok");
  for (const char* entry : {"o", "0,0", "2", "l", "-3,0", "3,0", ""}) Type(entry);
  const std::vector<std::string> drawn = Lines();
  ASSERT_EQ(drawn.size(), 2u);
  for (const auto& s : sides) {
    SCOPED_TRACE(s.side);
    Type("tr");
    ClickAt(-2.5, 0);  // the line, off the circle: the edge
    ClickAt(s.x, s.y);
    const std::vector<std::string> trimmed = Lines();
    ASSERT_EQ(trimmed.size(), 2u);
    EXPECT_EQ(trimmed[0], drawn[0]);
    EXPECT_EQ(trimmed[1], s.arc);
    Find<QAction>("BCofnij")->trigger();
    EXPECT_EQ(Lines(), drawn) << "one Cofnij brings the circle back";
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  }
}

}  // namespace
}  // namespace blok
