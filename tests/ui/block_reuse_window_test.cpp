// Reusing symbols in the window: a library block typed into place, copied entities pasted into
// another block, plain text pasted from another program, each one step of Cofnij; and what a
// draughtsman sees while placing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "document/block_file.h"
#include "support/blk_runner.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

constexpr Colour kRed = 0x0000FF;

class BlockReuseWindowTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    // A block in centimetres beside the sample's blocks in metres.
    ASSERT_TRUE(DopiszBlok(
        library_, {.name = "Krawężnik", .unit = "cm", .lines = {"L(0,0)-(100,0);K(255,0,0)"}}));
    OpenLibrary();
  }
  void SelectRow(const QString& name) {
    auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list->setCurrentItem(items.front());
  }
  size_t LineCount() { return window_->editor().block().drawing().lines().size(); }
  void Undo() { Find<QAction>("BCofnij")->trigger(); }
  void SaveAs(const QString& name) {
    auto* field = Find<QLineEdit>("E_NazwaBloku");
    field->setFocus();
    QTest::keyClicks(field, name);
    Click("Bt_ZapiszBlok");
  }
  std::string Show(const std::string& block) {
    return testing::BlkWithInput("show " + library_.string() + " '" + block + "'").out;
  }
};

TEST_F(BlockReuseWindowTest, TypedInsertionIsSavedTransformed) {
  Click("Bt_NowyBlok");
  SelectRow("Hydrant");
  for (const char* entry : {"wb", "10,20", "2", "90"}) Type(entry);
  EXPECT_EQ(LineCount(), 4u);
  Undo();
  EXPECT_EQ(LineCount(), 0u);
  Find<QAction>("BPrzod")->trigger();
  // The other unit: centimetres into metres.
  SelectRow("Krawężnik");
  for (const char* entry : {"wb", "0,0", "", ""}) Type(entry);
  EXPECT_TRUE(Messages().front().endsWith("Przeliczono z cm na m.")) << Pane().toStdString();
  SaveAs("Wstawiony");
  EXPECT_EQ(Show("Wstawiony"),
            "unit: m\n"
            "L(0,0)-(1,0);K(255,0,0);GR(0.1)\n"
            "O(10,20,0.6);K(255,0,0);GR(0.35)\n"
            "L(10,19.4)-(10,20.6);K(255,0,0);GR(0.25)\n"
            "LUK(10,20,1,90,270);K(255,0,0);GR(0.18)\n"
            "T(11.4,19.5,'Hp 80',0.5,0.4,90);K(0,0,0);GR(0.1)\n");
}

TEST_F(BlockReuseWindowTest, CopiedInOneBlockPastedIntoAnother) {
  LoadBlock("Hydrant");
  Type("ks");
  // A window round the whole symbol.
  QTest::mousePress(&window_->podglad(), Qt::LeftButton, {}, Pixel(-1, 1));
  QTest::mouseMove(&window_->podglad(), Pixel(1, -1));
  QTest::mouseRelease(&window_->podglad(), Qt::LeftButton, {}, Pixel(1, -1));
  Type("0,0");
  ASSERT_EQ(Messages().front(), "Skopiowano do schowka 4 obiekty.") << Pane().toStdString();
  LoadBlock("Drzewo");
  const size_t before = LineCount();
  Type("wk");
  Type("5,5");
  EXPECT_EQ(Messages().front(), "Wklejono 4 obiekty.");
  EXPECT_EQ(LineCount(), before + 4);
  EXPECT_EQ(window_->editor().block().drawing().lines()[0], "O(5,5,0.3);K(255,0,0);GR(0.35)");
  Undo();
  EXPECT_EQ(LineCount(), before);
}

TEST_F(BlockReuseWindowTest, PlainTextFromAnotherProgramPastes) {
  Click("Bt_NowyBlok");
  QApplication::clipboard()->setText("L(0,0)-(1,0)\nto nie jest obiekt\nO(0,0,1);K(0,0,255)\n");
  Type("wk");
  Type("2,2");
  EXPECT_EQ(Messages().front(), "Wklejono 2 obiekty, pominięto 1 linię.");
  const auto lines = window_->editor().block().drawing().lines();
  EXPECT_EQ(
      std::vector(lines.begin(), lines.end()),
      (std::vector<std::string>{"L(2,2)-(3,2);K(0,0,0);GR(0.1)", "O(2,2,1);K(0,0,255);GR(0.1)"}));
  Undo();
  EXPECT_EQ(LineCount(), 0u);
}

// While the point is sought the block follows the cursor, drawn on the screen but not into the
// drawing; placed, it is in the drawing's image.
TEST_F(BlockReuseWindowTest, ThePreviewFollowsTheCursor) {
  Click("Bt_NowyBlok");
  SelectRow("Hydrant");
  Type("wb");
  QTest::mouseMove(&window_->podglad(), Pixel(2, 1));
  EXPECT_GT(testing::CountPixels(Screen(), kRed), 20);
  EXPECT_EQ(testing::CountPixels(Image(), kRed), 0);
  QTest::mouseClick(&window_->podglad(), Qt::LeftButton, {}, Pixel(2, 1));
  Type("");
  Type("");
  EXPECT_GT(testing::CountPixels(Image(), kRed), 20);
}

}  // namespace
}  // namespace blok
