// Shift on Podglad grows u's selection; Enter in E_Polecenie ends it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <string>
#include <vector>

#include "ui/window_fixture.h"

namespace blok {
namespace {

using ::testing::ElementsAre;

class GrowingSelectionWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    OpenLibrary();
    Click("Bt_NowyBlok");
    for (const char* line : {"L(0,0)-(4,0)", "L(0,1)-(4,1)", "L(0,2)-(4,2)"}) {
      window_->editor().block().DodajObiekt(line);
    }
    QApplication::processEvents();
    Find<QAction>("BWszystko")->trigger();
  }
  void ShiftClickAt(double x, double y) {
    QTest::mouseMove(&window_->podglad(), Pixel(x, y));
    QTest::mouseClick(&window_->podglad(), Qt::LeftButton, Qt::ShiftModifier, Pixel(x, y));
  }
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
};

TEST_F(GrowingSelectionWindowTest, ShiftClicksGatherAndEnterDeletesThemAsOneStep) {
  Type("u");
  ShiftClickAt(2, 0);
  EXPECT_EQ(Messages().front(), "Wybrano 1 obiekt.");
  ShiftClickAt(2, 1);
  EXPECT_EQ(Messages().front(), "Wybrano 2 obiekty.");
  ShiftClickAt(2, 0);
  EXPECT_EQ(Messages().front(), "Wybrano 1 obiekt.");
  EXPECT_EQ(Lines().size(), 3u);
  Type("");
  EXPECT_THAT(Lines(), ElementsAre("L(0,2)-(4,2)", "L(0,0)-(4,0)"));
  Find<QAction>("BCofnij")->trigger();
  EXPECT_EQ(Lines().size(), 3u);
}

}  // namespace
}  // namespace blok
