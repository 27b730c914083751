// The question dialog is one, reused: Enter gives the answer that loses nothing each time it is
// shown, whichever button was clicked the time before.
#include <gtest/gtest.h>

#include <QListWidget>
#include <fstream>
#include <iterator>
#include <string>

#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

class QuestionFocusTest : public testing::WindowTest {
 protected:
  struct Seen {
    QString focused;  // objectName of the focused button
    QString default_button;
    QStringList captions;  // of the visible buttons
  };
  // Notes what the dialog offers, then presses Enter where the keys are.
  ModalDialogs::Answer Enter() {
    return [this](QDialog& dialog) {
      Seen seen;
      for (auto* button : dialog.findChildren<QPushButton*>()) {
        if (button->isDefault()) seen.default_button = button->objectName();
        if (button->isVisible()) seen.captions << button->text();
      }
      QWidget* keys = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
      seen.focused = keys->objectName();
      seen_.push_back(seen);
      QTest::keyClick(keys, Qt::Key_Return);
    };
  }
  // A click with the mouse, which leaves the focus on the button as the user's click does.
  static ModalDialogs::Answer Click(const char* button) {
    return [button](QDialog& dialog) {
      auto* found = dialog.findChild<QPushButton*>(button);
      ASSERT_NE(found, nullptr) << button;
      QTest::mouseClick(found, Qt::LeftButton);
    };
  }
  void Draw() {
    window_->editor().block().DodajObiekt("O(0,0,3)");
    QApplication::processEvents();
  }
  std::string Bytes() {
    std::ifstream in(library_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<Seen> seen_;
};

TEST_F(QuestionFocusTest, EnterAfterNieSavesTheDrawing) {
  OpenLibrary();
  LoadBlock("Latarnia");
  Draw();
  dialogs_.Expect(Click("Button2"));  // "Nie": Hydrant replaces the drawing
  LoadBlock("Hydrant");
  ASSERT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), "Hydrant");
  Draw();
  // Enter says "Tak": the drawing is saved before another block replaces it.
  const std::string before = Bytes();
  dialogs_.Expect(Enter());
  LoadBlock("Latarnia");
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].focused, "Button1");
  EXPECT_EQ(seen_[0].default_button, "Button1");
  EXPECT_EQ(seen_[0].captions, (QStringList{"Tak", "Nie", "Kasuj"}));
  EXPECT_TRUE(Bytes() != before) << "the drawing was not saved";
}

TEST_F(QuestionFocusTest, DeleteQuestionSaysWhatItsButtonsDo) {
  OpenLibrary();
  auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
  list->setCurrentItem(list->findItems("Hydrant", Qt::MatchExactly).front());
  // Once "Usuń" is clicked, Enter at the next deletion still cancels.
  dialogs_.Expect(Click("Button1"));
  Find<QAction>("M_UsunBlok")->trigger();
  list->setCurrentItem(list->findItems("Latarnia", Qt::MatchExactly).front());
  dialogs_.Expect(Enter());
  Find<QAction>("M_UsunBlok")->trigger();
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(dialogs_.shown().back().text, "Usunąć blok Latarnia?");
  EXPECT_EQ(seen_[0].captions, (QStringList{"Usuń", "Anuluj"}));
  EXPECT_EQ(seen_[0].focused, "Kasuj");
  EXPECT_FALSE(list->findItems("Latarnia", Qt::MatchExactly).isEmpty());
  EXPECT_TRUE(list->findItems("Hydrant", Qt::MatchExactly).isEmpty());
}

}  // namespace
}  // namespace blok
