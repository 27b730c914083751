// Drawing in the main window as a user does: typed commands, clicks on Podglad with the grid
// snap, the previews on screen, and the block saved into the library.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

class DrawingTest : public testing::WindowTest {};

TEST_F(DrawingTest, ClicksAndTypedValuesDrawAndTheBlockIsSaved) {
  OpenLibrary();
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_F4);  // grid snap
  Type("l");
  ClickAt(0, 0);
  ClickAt(3, 0);
  // The rubber line to the cursor is on the screen, green, and gone after Esc.
  QTest::mouseMove(&window_->podglad(), Pixel(3, 4));
  EXPECT_GT(testing::CountPixels(Screen(), 0x008000), 20);
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);
  EXPECT_EQ(testing::CountPixels(Screen(), 0x008000), 0);

  Type("o");
  ClickAt(-2, -2);
  Type("1,5");
  Type("t");
  Type("1,1");
  Type("90");
  Type("Hydrant");

  auto* name = Find<QLineEdit>("E_NazwaBloku");
  name->setFocus();
  QTest::keyClicks(name, "Rysunek");
  Click("Bt_ZapiszBlok");

  const auto block = WczytajBlok(library_, "Rysunek");
  ASSERT_TRUE(block.has_value()) << block.error().message;
  ASSERT_TRUE(block->has_value());
  EXPECT_EQ((*block)->lines, (std::vector<std::string>{
                                 "T(1,1,'Hydrant',0.6,0.5,90);K(0,0,0);GR(0,10)",
                                 "O(-2,-2,1.5);K(0,0,0);GR(0,10)",
                                 "L(0.0,0.0)-(3.0,0.0);K(0,0,0);GR(0,10)",
                             }));
  EXPECT_TRUE(Messages().front().startsWith("Zapisano blok")) << Messages().front().toStdString();
}

// Each entity dialog, opened by a double click on its entity: one field changed through its
// name, and the saved line shows it.
TEST_F(DrawingTest, DoubleClickOpensTheDialogAndTheEditIsSaved) {
  const struct {
    const char* block;
    const char* entity;
    double x, y;  // a point on the entity
    const char* dialog;
    const char* field;
    const char* shown;
    const char* typed;
    const char* saved;
  } cases[] = {
      {"Okrag", "O(2,0,1);K(0,0,0);GR(0,1)", 3, 0, "OkragEdycja", "E_r", "1", "2,5",
       "O(2,0,2.5);K(0,0,0);GR(0,1)"},
      {"Linia", "L(0,0)-(4,0);K(0,0,0);GR(0,1)", 2, 0, "LinieEdycja", "E_y2", "0", "1",
       "L(0,0.0)-(4.0,1.0);K(0,0,0);GR(0,1)"},
      {"Opis", "T(0,0,'Abc',1,1,0);K(0,0,0);GR(0,1)", 0.5, 0.2, "TekstyEdycja", "Tekst", "Abc",
       "Abcd", "T(0,0,'Abcd',1,1,0);K(0,0,0);GR(0,1)"},
  };
  OpenLibrary();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    Click("Bt_NowyBlok");
    window_->editor().block().DodajObiekt(c.entity);
    QApplication::processEvents();
    const QPoint on_entity = Pixel(c.x, c.y);
    dialogs_.Expect([&c](QDialog& d) {
      EXPECT_EQ(d.objectName(), c.dialog);
      auto* field = d.findChild<QLineEdit*>(c.field);
      ASSERT_NE(field, nullptr);
      EXPECT_EQ(field->text(), c.shown);
      field->setText(c.typed);
      QTest::mouseClick(d.findChild<QPushButton*>("wprowadz"), Qt::LeftButton);
    });
    // Qt delivers a double click as a press, a release and then the double click itself.
    QTest::mouseClick(&window_->podglad(), Qt::LeftButton, {}, on_entity);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, on_entity,
                    window_->podglad().mapToGlobal(on_entity), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(&window_->podglad(), &dbl);

    auto* name = Find<QLineEdit>("E_NazwaBloku");
    name->setFocus();
    name->clear();
    QTest::keyClicks(name, c.block);
    Click("Bt_ZapiszBlok");
    const auto block = WczytajBlok(library_, c.block);
    ASSERT_TRUE(block.has_value()) << block.error().message;
    ASSERT_TRUE(block->has_value());
    EXPECT_EQ((*block)->lines, (std::vector<std::string>{c.saved}));
  }
}

}  // namespace
}  // namespace blok
