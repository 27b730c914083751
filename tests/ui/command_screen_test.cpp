// What commands show on the screen while they run: previews that show what the click will
// write, prompts that say what is asked, and commands that end when the block goes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "ui/window_fixture.h"

namespace blok {
namespace {

constexpr QRgb kRubberGreen = 0x008000;
constexpr QRgb kPreviewRed = 0xFF0000;
constexpr QRgb kBlack = 0x000000;

class CommandScreenTest : public testing::WindowTest {
 protected:
  // A new block of the sample library, grid snap on.
  void NewBlock() {
    OpenLibrary();
    Click("Bt_NowyBlok");
    QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_F4);
  }
  // The colour within two pixels of a world point (a dotted line's dots are three apart).
  bool ColourAt(const QImage& screen, double x, double y, QRgb colour) {
    const QPoint p = Pixel(x, y);
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) {
        if ((screen.pixel(p.x() + dx, p.y() + dy) & 0xFFFFFF) == colour) return true;
      }
    }
    return false;
  }
  bool GreenAt(const QImage& screen, double x, double y) {
    return ColourAt(screen, x, y, kRubberGreen);
  }
  QString Prompt() { return Find<QLabel>("L_Polecenie")->text(); }
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
};

TEST_F(CommandScreenTest, RectangleShowsItsSides) {
  NewBlock();
  Type("p");
  ClickAt(0, 0);
  QTest::mouseMove(&window_->podglad(), Pixel(4, 3));
  const QImage screen = Screen();
  for (const auto& [x, y] : {std::pair{2.0, 0.0}, {4.0, 1.5}, {2.0, 3.0}, {0.0, 1.5}}) {
    EXPECT_TRUE(GreenAt(screen, x, y)) << x << "," << y;
  }
  EXPECT_FALSE(GreenAt(screen, 2, 1.5));  // the middle of the diagonal
}

// With the cursor on the start ray behind the centre, the click writes the upper half: the
// screen shows that half in red and nothing of the lower one.
TEST_F(CommandScreenTest, ArcPreviewShowsTheHalfTheClickWrites) {
  NewBlock();
  for (const char* entry : {"a", "0,0", "2", "0"}) Type(entry);
  QTest::mouseMove(&window_->podglad(), Pixel(-2, 0));
  const QImage screen = Screen();
  // Off the grid's points and the cursor's cross.
  EXPECT_TRUE(ColourAt(screen, -1.414, 1.414, kPreviewRed));
  EXPECT_FALSE(ColourAt(screen, 1.414, -1.414, kPreviewRed));
  ClickAt(-2, 0);
  EXPECT_EQ(Lines(), std::vector<std::string>{"LUK(0,0,2,0,180);K(0,0,0);GR(0,10)"});
  EXPECT_TRUE(ColourAt(Screen(), -1.414, 1.414, kBlack));
}

// Stretching the corner of a rectangle its line does not name: the preview has that corner
// where the cursor is, and the drawing has it there after the click.
TEST_F(CommandScreenTest, StretchPreviewShowsTheResult) {
  NewBlock();
  Type("P(0,0)-(2,2)");
  Type("ro");
  QTest::mouseMove(&window_->podglad(), Pixel(1.5, -0.5));
  QTest::mousePress(&window_->podglad(), Qt::LeftButton, {}, Pixel(1.5, -0.5));
  QTest::mouseMove(&window_->podglad(), Pixel(2.5, 0.5));
  QTest::mouseRelease(&window_->podglad(), Qt::LeftButton, {}, Pixel(2.5, 0.5));
  ClickAt(2, 0);
  QTest::mouseMove(&window_->podglad(), Pixel(3, -1));
  // The sides through the moved corner, dotted in the preview, drawn after the click (clear of
  // the cursor's label, right of the cursor).
  const QImage preview = Screen();
  EXPECT_TRUE(ColourAt(preview, 3, 1.7, kBlack));
  EXPECT_TRUE(ColourAt(preview, 1.5, -1, kBlack));
  ClickAt(3, -1);
  const QImage result = Screen();
  EXPECT_TRUE(ColourAt(result, 3, 1.7, kBlack));
  EXPECT_TRUE(ColourAt(result, 1.5, -1, kBlack));
  EXPECT_EQ(Prompt(), "Polecenie:");
}

// Loading another block ends a running move: its selection is dropped, the prompt asks for a
// command, and clicks change nothing of the loaded block.
TEST_F(CommandScreenTest, LoadingABlockEndsTheCommand) {
  NewBlock();
  Type("L(0,0)-(2,0)");
  Type("mo");
  ClickAt(1, 0);
  ASSERT_FALSE(window_->editor().block().selection().empty());
  dialogs_.Expect(testing::ModalDialogs::Press("Button2"));  // "Nie" to the unsaved question
  LoadBlock("Hydrant");
  EXPECT_TRUE(window_->editor().block().selection().empty());
  EXPECT_EQ(Prompt(), "Polecenie:");
  const std::vector<std::string> loaded = Lines();
  ClickAt(0, 0);
  ClickAt(5, 5);
  EXPECT_EQ(Lines(), loaded);
}

// A finished command leaves the prompt asking for a command (not for the radius just given),
// and the base point of a scale may be typed.
TEST_F(CommandScreenTest, PromptsAfterCircleAndTypedScaleBase) {
  NewBlock();
  for (const char* entry : {"o", "0,0", "2"}) Type(entry);
  EXPECT_EQ(Prompt(), "Polecenie:");
  Type("L(0,0)-(1,0)");
  Type("sc");
  ClickAt(0.5, 0);
  Type("0,0");
  EXPECT_FALSE(Pane().contains("nieznane polecenie"));
  Type("2");
  EXPECT_EQ(Lines().front(), "L(0,0)-(2,0);K(0,0,0);GR(0.1)");
  EXPECT_EQ(Prompt(), "Polecenie:");
}

}  // namespace
}  // namespace blok
