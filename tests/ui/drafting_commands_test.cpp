// Mirror, fillet, array and polygon started from their tool buttons and menu items in the real
// window, and what they draw seen on Podglad.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class DraftingWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    OpenLibrary();
    Click("Bt_NowyBlok");
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_F4);  // grid snap
  }
  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  // Black ink within two pixels of a world point.
  bool InkAt(const QImage& screen, double x, double y) {
    const QPoint p = Pixel(x, y);
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        if ((screen.pixel(p.x() + dx, p.y() + dy) & 0xFFFFFF) == 0) return true;
      }
    }
    return false;
  }
};

TEST_F(DraftingWindowTest, EveryCommandHasItsButtonAndMenuItem) {
  for (const char* name : {"B_Lustro", "M_Lustro", "B_Zaokraglij", "M_Zaokraglij", "B_Szyk",
                           "M_Szyk", "B_Wielokat", "M_Wielokat"}) {
    SCOPED_TRACE(name);
    QAction* action = Find<QAction>(name);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isEnabled());
    if (name[0] == 'B') {
      EXPECT_FALSE(action->icon().isNull());
    }
  }
}

TEST_F(DraftingWindowTest, MirrorFromItsButton) {
  Type("L(0,0)-(2,1)");
  Trigger("B_Lustro");
  ClickAt(2, 1);
  ClickAt(3, 0);
  ClickAt(3, 5);
  EXPECT_EQ(Lines().front(), "L(6,0)-(4,1);K(0,0,0);GR(0.1)");
  const QImage screen = Screen();
  EXPECT_TRUE(InkAt(screen, 5, 0.5));
  EXPECT_TRUE(InkAt(screen, 1, 0.5));
}

TEST_F(DraftingWindowTest, FilletFromItsMenuItem) {
  Type("L(-4,0)-(0,0)");
  Type("L(0,0)-(0,4)");
  Trigger("M_Zaokraglij");
  Type("2");
  ClickAt(-3, 0);
  ClickAt(0, 3);
  EXPECT_EQ(Lines().front(), "LUK(-2,2,2,270,360);K(0,0,0);GR(0,10)");
  // The arc is on the screen, the corner it cut off is not.
  const QImage screen = Screen();
  EXPECT_TRUE(InkAt(screen, -2 + 2 * std::cos(-kPi / 4), 2 + 2 * std::sin(-kPi / 4)));
  EXPECT_FALSE(InkAt(screen, -0.2, 0));
}

TEST_F(DraftingWindowTest, ArrayFromItsButton) {
  Type("o");
  Type("0,0");
  Type("0.5");
  Trigger("B_Szyk");
  ClickAt(0.5, 0);
  Type("2,2");
  Type("3,4");
  EXPECT_EQ(Lines().size(), 4u);
  const QImage screen = Screen();
  EXPECT_TRUE(InkAt(screen, 4.5, 3));
  EXPECT_TRUE(InkAt(screen, 0.5, 3));
}

TEST_F(DraftingWindowTest, PolygonFromItsMenuItem) {
  Trigger("M_Wielokat");
  Type("6");
  ClickAt(0, 0);
  ClickAt(3, 0);
  EXPECT_EQ(Lines().size(), 6u);
  EXPECT_EQ(Lines().back(), "L(3.0,0.0)-(1.5,2.5981);K(0,0,0);GR(0,10)");
  const QImage screen = Screen();
  EXPECT_TRUE(InkAt(screen, -3, 0));
  EXPECT_TRUE(InkAt(screen, 0, -2.5981));
}

}  // namespace
}  // namespace blok
