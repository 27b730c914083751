// The further snaps in the main window: a switch of the settings bar catches the point a click
// takes, and the bar's switches come back in the next run.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <string>
#include <vector>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class SnapMoreWindowTest : public testing::WindowTest {
 protected:
  std::vector<std::string> Lines() {
    const auto lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  void Restart() {
    ASSERT_TRUE(window_->close());
    window_ = std::make_unique<TPodgladRysowanie>(dir_.path());
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
};

// A click a few pixels off the line ends the new one at the foot of the perpendicular.
TEST_F(SnapMoreWindowTest, PerpendicularClickEndsTheLineAtTheFoot) {
  OpenLibrary();
  Type("l");
  Type("0,0");
  Type("10,0");
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  ASSERT_EQ(Lines().size(), 1u);

  Type("l");
  Type("3,5");
  QTest::mouseClick(Find<QCheckBox>("CB_Prosto"), Qt::LeftButton);
  ASSERT_TRUE(window_->editor().preferences().settings().snap_perpendicular);
  const QPoint near = Pixel(3, 0) + QPoint(4, -3);
  QTest::mouseMove(&window_->podglad(), near);
  QTest::mouseClick(&window_->podglad(), Qt::LeftButton, {}, near);
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(Lines().front(), "L(3.0,5.0)-(3.0,0.0);K(0,0,0);GR(0,10)");
}

TEST_F(SnapMoreWindowTest, SwitchesSurviveARestart) {
  struct Switch {
    const char* name;
    bool Settings::*field;
  };
  const Switch switches[] = {
      {"CB_Siatka", &Settings::grid_snap},
      {"CB_Orto", &Settings::ortho},
      {"CB_Koniec", &Settings::snap_end},
      {"CB_Srodek", &Settings::snap_middle},
      {"CB_Przeciecie", &Settings::snap_intersection},
      {"CB_Centrum", &Settings::snap_centre},
      {"CB_Prosto", &Settings::snap_perpendicular},
      {"CB_Styczny", &Settings::snap_tangent},
      {"CB_Najblizszy", &Settings::snap_nearest},
      {"CB_Kwadrant", &Settings::snap_quadrant},
  };
  // Every other one on, then each turned over: a switch turned off stays off too.
  for (const bool first_on : {true, false}) {
    SCOPED_TRACE(first_on ? "first on" : "first off");
    bool on = first_on;
    for (const Switch& s : switches) {
      auto* box = Find<QCheckBox>(s.name);
      if (box->isChecked() != on) QTest::mouseClick(box, Qt::LeftButton);
      on = !on;
    }
    Restart();
    on = first_on;
    for (const Switch& s : switches) {
      EXPECT_EQ(Find<QCheckBox>(s.name)->isChecked(), on) << s.name;
      EXPECT_EQ(window_->editor().preferences().settings().*s.field, on) << s.name;
      on = !on;
    }
  }
}

}  // namespace
}  // namespace blok
