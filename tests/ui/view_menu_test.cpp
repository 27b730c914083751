// The Widok menu: the zoom items, and the two options of how the view follows the user, which
// are off at first and come back in the next run.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWheelEvent>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class ViewMenuTest : public testing::WindowTest {
 protected:
  void Wheel(QPoint at, int notches) {
    PaintBox& box = window_->podglad();
    QWheelEvent event(at, box.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&box, &event);
  }
  const ViewTransform& View() { return window_->editor().view().transform(); }
};

TEST_F(ViewMenuTest, HoldsTheZoomItemsAndTheOptionsOff) {
  auto* menu = Find<QMenu>("Widok1");
  QStringList names;
  for (QAction* action : menu->actions()) {
    if (!action->isSeparator()) names << action->objectName();
  }
  EXPECT_EQ(names, (QStringList{"Powieksz1", "Pomniejsz1", "Wszystko1", "Okno1", "Przesun1",
                                "M_ZoomPrzyKursorze", "M_DopasujPoWczytaniu"}));
  EXPECT_FALSE(Find<QAction>("M_ZoomPrzyKursorze")->isChecked());
  EXPECT_FALSE(Find<QAction>("M_DopasujPoWczytaniu")->isChecked());
  EXPECT_TRUE(Find<QAction>("M_ZoomPrzyKursorze")->text().remove('&') ==
              "Powiększaj przy kursorze");
}

// The world point under the cursor stays under it to a pixel, in and out; the middle moves.
TEST_F(ViewMenuTest, WheelAtTheCursorKeepsThePointUnderIt) {
  Find<QAction>("M_ZoomPrzyKursorze")->trigger();
  const QPoint at(120, 90);
  const double x = View().ScreenToWorldX(at.x());
  const double y = View().ScreenToWorldY(at.y());
  const double centre_x = View().centre_x();
  for (const int notches : {1, 3, -2, -5}) {
    Wheel(at, notches);
    EXPECT_LE(std::abs(View().WorldToScreenX(x) - at.x()), 1) << notches;
    EXPECT_LE(std::abs(View().WorldToScreenY(y) - at.y()), 1) << notches;
  }
  EXPECT_NE(View().centre_x(), centre_x);
}

TEST_F(ViewMenuTest, LoadingFitsTheBlockWhenAsked) {
  OpenLibrary();
  Find<QAction>("M_DopasujPoWczytaniu")->trigger();
  window_->editor().view().transform().SetScale(5000);  // everything a speck
  LoadBlock("Drzewo");
  const DrawingExtents e = ComputeExtents(window_->editor().block().drawing().records(),
                                          *window_->editor().view().romans_font());
  EXPECT_NEAR(View().centre_x(), (double{e.xmin} + e.xmax) / 2, 1e-9);
  EXPECT_LT(View().scale(), 5000);
  // The block fills the view: its box reaches from near one side to near the other.
  const int width = View().WorldToScreenX(e.xmax) - View().WorldToScreenX(e.xmin);
  const int height = View().WorldToScreenY(e.ymin) - View().WorldToScreenY(e.ymax);
  EXPECT_TRUE(width > window_->podglad().width() / 2 || height > window_->podglad().height() / 2);
}

TEST_F(ViewMenuTest, OptionsAreRememberedForTheNextRun) {
  Find<QAction>("M_ZoomPrzyKursorze")->trigger();
  ASSERT_TRUE(window_->close());
  window_ = std::make_unique<TPodgladRysowanie>(dir_.path());
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  EXPECT_TRUE(Find<QAction>("M_ZoomPrzyKursorze")->isChecked());
  EXPECT_FALSE(Find<QAction>("M_DopasujPoWczytaniu")->isChecked());
  EXPECT_TRUE(window_->editor().view().options().zoom_at_cursor);
  EXPECT_FALSE(window_->editor().view().options().fit_after_load);
}

}  // namespace
}  // namespace blok
