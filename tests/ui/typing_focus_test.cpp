// Where the next typed command lands: in the command line after a command ends in the relative
// fields, after Esc there, and after a setting is chosen from its list; never in the block's
// name, where a typed "l" would become part of the name saved.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "ui/qt_ui.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

class TypingFocusTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    OpenLibrary();
    Click("Bt_NowyBlok");
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  QLineEdit* Entry() { return Find<QLineEdit>("E_Polecenie"); }
  QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString("(none)");
  }
  // A line started at (0,0), its panel of relative fields shown, the focus in field.
  void LineWaitingInField(const char* field) {
    Type("l");
    Type("0,0");
    ASSERT_TRUE(Find<QWidget>("Panel_dxdy")->isVisible());
    Find<QLineEdit>(field)->setFocus();
    ASSERT_EQ(FocusName(), field);
  }
};

TEST_F(TypingFocusTest, EscapeInARelativeFieldLeavesTheFocusInTheCommandLine) {
  for (const char* field : {"E_dx", "E_dy"}) {
    LineWaitingInField(field);
    QTest::keyClick(Find<QLineEdit>(field), Qt::Key_Escape);
    EXPECT_FALSE(Find<QWidget>("Panel_dxdy")->isVisible()) << field;
    EXPECT_EQ(FocusName(), "E_Polecenie") << field;
  }
}

// However a command ends, the machine hides the panel: with the focus inside, the next command
// typed must start, not change the grid step.
TEST_F(TypingFocusTest, ThePanelHiddenWithTheFocusInsideLeavesItInTheCommandLine) {
  LineWaitingInField("E_dy");
  const QString step = Find<QComboBox>("CB_SiatkaKrok")->currentText();
  window_->qt_ui().ShowRelativePanel(false);
  EXPECT_EQ(FocusName(), "E_Polecenie");
  QTest::keyClicks(QApplication::focusWidget(), "o");
  EXPECT_EQ(Entry()->text(), "o");
  EXPECT_EQ(Find<QComboBox>("CB_SiatkaKrok")->currentText(), step);
}

TEST_F(TypingFocusTest, ASettingChosenFromItsListSendsTheFocusToTheCommandLine) {
  for (const char* name : {"CB_SiatkaKrok", "CB_SiatkaRozmiar", "CB_HTekstu", "CB_STekstu"}) {
    auto* combo = Find<QComboBox>(name);
    combo->setFocus();
    emit combo->activated(1);
    EXPECT_EQ(FocusName(), "E_Polecenie") << name;
  }
  // And what is typed next is a command, not part of the block's name.
  const QString name = Find<QLineEdit>("E_NazwaBloku")->text();
  QTest::keyClicks(QApplication::focusWidget(), "l");
  EXPECT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), name);
}

}  // namespace
}  // namespace blok
