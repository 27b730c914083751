// What the user sees and picks of long texts and of arcs: ink wherever the letters fall, an
// arc picked only where it is drawn, a text picked over its letters.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ui/window_fixture.h"

namespace blok {
namespace {

constexpr Colour kRed = 0x0000FF;

class CullingPickingTest : public testing::WindowTest {
 protected:
  // A new block holding these lines, in a view of 100 pixels a unit round (cx, cy).
  void Show(std::initializer_list<const char*> lines, double cx, double cy) {
    OpenLibrary();
    Click("Bt_NowyBlok");
    for (const char* line : lines) window_->editor().block().DodajObiekt(line);
    QApplication::processEvents();
    window_->editor().view().transform().SetScale(10);
    window_->editor().view().transform().SetCentre(cx, cy);
    window_->editor().view().Redraw();
  }
  std::size_t LineCount() { return window_->editor().block().drawing().lines().size(); }
};

TEST_F(CullingPickingTest, LongTextZoomedInOnItsMiddleStillShows) {
  // Some 10 units long, from -9: its insertion point lies 600 pixels left of the view's middle.
  Show({"T(-9,0,'Studzienka kanalizacyjna',1,2,0);K(255,0,0);GR(0,1)"}, -3, 0.5);
  ASSERT_LT(Pixel(-9, 0).x(), -10);
  EXPECT_GT(testing::CountPixels(Screen(), kRed), 50);
}

TEST_F(CullingPickingTest, ArcIsPickedOnlyWhereItIsDrawn) {
  Show({"LUK(0,0,2,0,90);K(0,0,0);GR(0,1)"}, 0, 0);
  Type("u");
  ClickAt(0, -2);  // on its circle, where nothing is drawn
  ClickAt(-2, 0);
  EXPECT_EQ(LineCount(), 1u);
  ClickAt(2 * std::cos(0.5), 2 * std::sin(0.5));
  EXPECT_EQ(LineCount(), 0u);
}

TEST_F(CullingPickingTest, TextIsPickedOnItsLetters) {
  // The letters stand about 1.2 high and run from -3 to about 2: the click at 0.9 is on them,
  // 70 pixels from a line 0.2 above the baseline.
  Show({"T(-3,0,'Studzienka kanalizacyjna',1,1,0);K(0,0,0);GR(0,1)"}, 0, 0);
  Type("u");
  ClickAt(0, 1.5);  // above the letters
  EXPECT_EQ(LineCount(), 1u);
  ClickAt(0, 0.9);
  EXPECT_EQ(LineCount(), 0u);
}

}  // namespace
}  // namespace blok
