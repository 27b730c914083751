// What users of any desktop program expect of the window: the standard shortcut keys, menus
// with accelerator letters, a command line that remembers, files opened from the command line
// and by dropping them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class DesktopTest : public testing::WindowTest {
 protected:
  QLineEdit* Entry() { return Find<QLineEdit>("E_Polecenie"); }
  std::vector<std::string> Lines() {
    const auto& lines = window_->editor().block().drawing().lines();
    return {lines.begin(), lines.end()};
  }
  void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    // A dialog that has closed leaves no window active off-screen; shortcuts need one.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
  }
};

// Ctrl+Z and Ctrl+Y reach the drawing while the empty command line has the focus; with text in
// the line they are the line's own.
TEST_F(DesktopTest, UndoAndRedoKeysFromTheEmptyCommandLine) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  Type("L(0,0)-(1,0)");
  Type("L(0,0)-(0,1)");
  ASSERT_EQ(Lines().size(), 2u);
  Key(Entry(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lines().size(), 1u);
  EXPECT_TRUE(Find<QAction>("M_Naprzod")->isEnabled());
  Key(Entry(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Lines().size(), 2u);
  Key(Entry(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing left to redo
  Key(Entry(), Qt::Key_Z, Qt::ControlModifier);
  Key(Entry(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Lines().size(), 2u);

  Entry()->setText("mo");
  Key(Entry(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(DesktopTest, DeleteKeyStartsAndEndsDelete) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  Key(Entry(), Qt::Key_Delete);
  EXPECT_TRUE(window_->editor().machine().wskaz().usun);
  Key(Entry(), Qt::Key_Delete);
  EXPECT_FALSE(window_->editor().machine().wskaz().usun);
  Entry()->setText("abc");  // in a line with text it deletes a letter
  Entry()->setCursorPosition(0);
  Key(Entry(), Qt::Key_Delete);
  EXPECT_EQ(Entry()->text(), "bc");
  EXPECT_FALSE(window_->editor().machine().wskaz().usun);
}

// The standard keys are on the menu items, where the menus show them.
TEST_F(DesktopTest, MenuItemsCarryTheStandardKeys) {
  const std::pair<const char*, QKeySequence> keys[] = {
      {"M_Cofnij", QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {"M_Naprzod", QKeySequence(Qt::CTRL | Qt::Key_Y)},
      {"M_ZapiszBlok", QKeySequence(Qt::CTRL | Qt::Key_S)},
      {"M_NowyBlok", QKeySequence(Qt::CTRL | Qt::Key_N)},
      {"Otworzplik1", QKeySequence(Qt::CTRL | Qt::Key_O)},
      {"Koniec1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
  };
  for (const auto& [name, key] : keys) {
    EXPECT_EQ(Find<QAction>(name)->shortcut(), key) << name;
  }
  EXPECT_TRUE(Find<QAction>("M_Naprzod")
                  ->shortcuts()
                  .contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
}

// Every menu and every item in it has a letter of its own.
TEST_F(DesktopTest, EveryMenuItemHasItsOwnAccelerator) {
  OpenLibrary();  // the recent files are items too
  QList<QMenu*> menus = {Find<QMenu>("MenuZoom")};
  QSet<QChar> titles;
  for (QAction* action : window_->menuBar()->actions()) {
    const QString title = action->text();
    ASSERT_TRUE(title.contains('&')) << title.toStdString();
    EXPECT_FALSE(titles.contains(title[title.indexOf('&') + 1].toLower())) << title.toStdString();
    titles.insert(title[title.indexOf('&') + 1].toLower());
    menus << action->menu();
  }
  for (QMenu* menu : menus) {
    QSet<QChar> letters;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || !action->isVisible()) continue;
      const QString text = action->text();
      const qsizetype at = text.indexOf('&');
      ASSERT_GE(at, 0) << text.toStdString();
      EXPECT_FALSE(letters.contains(text[at + 1].toLower())) << text.toStdString();
      letters.insert(text[at + 1].toLower());
    }
  }
}

// Up and Down walk what was entered; Tab completes a keyword.
TEST_F(DesktopTest, CommandLineRemembersAndCompletes) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  for (const char* entry : {"o", "0,0", "2"}) Type(entry);
  Entry()->setText("lu");  // being typed when the walk starts
  Key(Entry(), Qt::Key_Up);
  EXPECT_EQ(Entry()->text(), "2");
  Key(Entry(), Qt::Key_Up);
  EXPECT_EQ(Entry()->text(), "0,0");
  Key(Entry(), Qt::Key_Down);
  Key(Entry(), Qt::Key_Down);
  EXPECT_EQ(Entry()->text(), "lu");
  Entry()->setText("li");
  Key(Entry(), Qt::Key_Tab);
  EXPECT_EQ(Entry()->text(), "lista");
  EXPECT_TRUE(Entry()->hasFocus());
}

// A library and a block given as the program's arguments; a file that is not there says so
// and leaves an empty window.
TEST_F(DesktopTest, OpensTheFileAndBlockItIsGiven) {
  window_->OpenGivenFile(QString::fromStdString(library_.string()), "Hydrant");
  EXPECT_EQ(window_->editor().library().open_file(), library_);
  EXPECT_EQ(window_->editor().block().block_name(), "Hydrant");
  EXPECT_EQ(window_->editor().preferences().recent_files().entries().at(0).path, library_.string());
  EXPECT_FALSE(window_->editor().block().drawing().lines().empty());

  auto other = std::make_unique<TPodgladRysowanie>(dir_.path());
  dialogs_.Expect(testing::ModalDialogs::Accept());
  other->OpenGivenFile(QString::fromStdString((dir_ / "nie ma.blk").string()));
  EXPECT_EQ(other->editor().library().open_file(), std::nullopt);
  ASSERT_FALSE(dialogs_.shown().empty());
  EXPECT_TRUE(dialogs_.shown().back().text.contains("nie istnieje"));
}

// A library dropped on the window opens, after the question about the unsaved block.
TEST_F(DesktopTest, DroppedLibraryOpens) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  Type("L(0,0)-(1,0)");
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  std::filesystem::copy_file(library_, other);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(other.string()))});
  QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  dialogs_.Expect(testing::ModalDialogs::Press("Button2"));  // "Nie" to the unsaved block
  QApplication::sendEvent(window_.get(), &drop);
  QTRY_COMPARE(window_->editor().library().open_file(), std::optional(other));

  QMimeData text;
  text.setUrls({QUrl::fromLocalFile("/tmp/rysunek.txt")});
  QDragEnterEvent refused(QPoint(300, 300), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window_.get(), &refused);
  EXPECT_FALSE(refused.isAccepted());
}

}  // namespace
}  // namespace blok
