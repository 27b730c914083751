// The rectangle's rubber band on the screen: its four sides through the two corners, not the
// diagonal.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class RubberBandTest : public testing::WindowTest {
 protected:
  // Green within a pixel of a world point.
  bool GreenAt(const QImage& screen, double x, double y) {
    const QPoint p = Pixel(x, y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if ((screen.pixel(p.x() + dx, p.y() + dy) & 0xFFFFFF) == 0x008000) return true;
      }
    }
    return false;
  }
};

TEST_F(RubberBandTest, RectangleShowsItsSides) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_F4);  // grid snap
  Type("p");
  ClickAt(0, 0);
  QTest::mouseMove(&window_->podglad(), Pixel(4, 3));
  const QImage screen = Screen();
  for (const auto& [x, y] : {std::pair{2.0, 0.0}, {4.0, 1.5}, {2.0, 3.0}, {0.0, 1.5}}) {
    EXPECT_TRUE(GreenAt(screen, x, y)) << x << "," << y;
  }
  EXPECT_FALSE(GreenAt(screen, 2, 1.5));  // the middle of the diagonal
}

}  // namespace
}  // namespace blok
