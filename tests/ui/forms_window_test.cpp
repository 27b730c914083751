// A typed circle and fa's chamfer by distances in the real window, through the object names,
// and what they draw seen on Podglad.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QToolButton>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class FormsWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    OpenLibrary();
    Click("Bt_NowyBlok");
  }
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  // Whether the screen is black anywhere within two pixels of a world point.
  bool InkAt(const QImage& screen, double x, double y) {
    const QImage near = screen.copy(QRect(Pixel(x, y) - QPoint(2, 2), QSize(5, 5)));
    for (int i = 0; i < near.width() * near.height(); ++i) {
      if ((near.pixel(i % near.width(), i / near.width()) & 0xFFFFFF) == 0) return true;
    }
    return false;
  }
};

TEST_F(FormsWindowTest, TypedCircleIsAddedAndUndoneAtOnce) {
  Type("O(0,0,3)");
  EXPECT_EQ(Lines(), std::vector<std::string>{"O(0,0,3);K(0,0,0);GR(0,10)"});
  EXPECT_TRUE(Messages().contains("Dodaj okrąg."));
  EXPECT_TRUE(InkAt(Screen(), 3, 0));
  Find<QAction>("BCofnij")->trigger();
  EXPECT_TRUE(Lines().empty());
}

TEST_F(FormsWindowTest, ChamferByDistancesFromItsButton) {
  Type("L(-4,0)-(0,0)");
  Type("L(0,0)-(0,4)");
  const std::vector<std::string> before = Lines();
  QAction* action = Find<QAction>("B_Fazka");
  ASSERT_NE(action, nullptr);
  EXPECT_FALSE(action->icon().isNull());
  EXPECT_NE(Find<QAction>("M_Fazka"), nullptr);
  // The button as the user clicks it on its tool bar.
  auto* bar = Find<QToolBar>("ToolBarEdycja");
  auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(Find<QLabel>("L_Polecenie")->text(), "Wprowadz Odległości fazki <1,00;1,00>");
  Type("1,2");
  ClickAt(-3, 0);
  ClickAt(0, 3);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"L(-1.0,0.0)-(0.0,2.0);K(0,0,0);GR(0,10)",
                                               "L(0,2)-(0,4);K(0,0,0);GR(0.1)",
                                               "L(-4,0)-(-1,0);K(0,0,0);GR(0.1)"}));
  // The joining line is on the screen, the corner it cut off is not.
  const QImage screen = Screen();
  EXPECT_TRUE(InkAt(screen, -0.5, 1));
  EXPECT_FALSE(InkAt(screen, -0.2, 0));
  EXPECT_FALSE(InkAt(screen, 0, 0.5));
  Find<QAction>("BCofnij")->trigger();
  EXPECT_EQ(Lines(), before);
}

}  // namespace
}  // namespace blok
