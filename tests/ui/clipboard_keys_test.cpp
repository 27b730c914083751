// Ctrl+C, Ctrl+X and Ctrl+V: the drawing's clipboard commands wherever the focus is, but the text
// fields' own copy, cut and paste while they hold the text the user means.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>

#include "document/entity_clipboard.h"
#include "ui/qt_text.h"
#include "ui/qt_ui.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

struct ClipboardKey {
  Qt::Key key;
  const char* command;  // the keyword the menu item starts
};
constexpr ClipboardKey kKeys[] = {{Qt::Key_C, "KS"}, {Qt::Key_X, "WS"}, {Qt::Key_V, "WK"}};

class ClipboardKeysTest : public testing::WindowTest {
 protected:
  ClipboardKeysTest() {
    OpenLibrary();
    Click("Bt_NowyBlok");
  }
  QLineEdit* Entry() { return Find<QLineEdit>("E_Polecenie"); }
  void Press(QWidget* widget, Qt::Key key) {
    // A dialog that has closed leaves no window active off-screen; shortcuts need one.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    widget->setFocus();
    QTest::keyClick(widget, key, Qt::ControlModifier);
  }
  bool AnyClipboardCommandRuns() {
    const CommandMachine& machine = window_->editor().machine();
    return machine.Runs("KS") || machine.Runs("WS") || machine.Runs("WK");
  }
  void EndCommand() { QTest::keyClick(Entry(), Qt::Key_Escape); }
};

// Without selected text in the command line the keys start the commands, and the line keeps what
// was typed; with selected text they copy, cut and paste it.
TEST_F(ClipboardKeysTest, CommandLineLeavesTheKeysToTheCommandsUnlessTextIsSelected) {
  for (const ClipboardKey& k : kKeys) {
    SCOPED_TRACE(k.command);
    // A paste starts only with something to paste.
    QApplication::clipboard()->setText("L(0,0)-(1,0)");
    Entry()->setText("ab");
    Entry()->setCursorPosition(1);
    Press(Entry(), k.key);
    EXPECT_TRUE(window_->editor().machine().Runs(k.command));
    EXPECT_EQ(QApplication::clipboard()->text(), "L(0,0)-(1,0)");
    EndCommand();
    ASSERT_FALSE(AnyClipboardCommandRuns());
  }

  const struct {
    Qt::Key key;
    QString clipboard;  // after the key
    QString field;
  } selected[] = {
      {Qt::Key_C, "abc", "abc"},
      {Qt::Key_X, "abc", ""},
      {Qt::Key_V, "ze schowka", "ze schowka"},
  };
  for (const auto& [key, clipboard, field] : selected) {
    SCOPED_TRACE(field.toStdString());
    QApplication::clipboard()->setText("ze schowka");
    Entry()->setText("abc");
    Entry()->selectAll();
    Press(Entry(), key);
    EXPECT_EQ(QApplication::clipboard()->text(), clipboard);
    EXPECT_EQ(Entry()->text(), field);
    EXPECT_FALSE(AnyClipboardCommandRuns());
  }
}

// A point copied from elsewhere is pasted where it is typed: the step waiting for it goes on.
TEST_F(ClipboardKeysTest, APasteWithoutEntitiesStaysInTheCommandLine) {
  Type("l");
  QApplication::clipboard()->setText("10,20");
  Entry()->clear();
  Press(Entry(), Qt::Key_V);
  EXPECT_EQ(Entry()->text(), "10,20");
  EXPECT_TRUE(window_->editor().machine().Runs("L"));
  EXPECT_FALSE(AnyClipboardCommandRuns());
}

// The other text fields copy, cut and paste their own text; the drawing and the block list leave
// the keys to the commands.
TEST_F(ClipboardKeysTest, OtherFieldsKeepTheirKeysTheDrawingAndTheListDoNot) {
  for (const char* name : {"E_NazwaBloku", "E_FiltrBlokow"}) {
    SCOPED_TRACE(name);
    auto* field = Find<QLineEdit>(name);
    QApplication::clipboard()->setText("ze schowka");
    field->setText("Studzienka");
    field->selectAll();
    Press(field, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "Studzienka");
    QApplication::clipboard()->setText("Hydrant");
    Press(field, Qt::Key_V);
    EXPECT_EQ(field->text(), "Hydrant");
    EXPECT_FALSE(AnyClipboardCommandRuns());
    field->clear();
  }
  for (const char* name : {"Podglad", "LB_NazwaBlokuCzytaj"}) {
    SCOPED_TRACE(name);
    for (const ClipboardKey& k : kKeys) {
      QApplication::clipboard()->setText("L(0,0)-(1,0)");
      Press(Find<QWidget>(name), k.key);
      EXPECT_TRUE(window_->editor().machine().Runs(k.command)) << k.command;
      EndCommand();
    }
  }
}

TEST_F(ClipboardKeysTest, CommandsSitInTheirMenusWithTheirKeys) {
  const struct {
    const char* item;
    const char* menu;
    QKeySequence key;
  } items[] = {
      {"M_KopiujDoSchowka", "Modyfikuj1", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {"M_WytnijDoSchowka", "Modyfikuj1", QKeySequence(Qt::CTRL | Qt::Key_X)},
      {"M_Wklej", "Modyfikuj1", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {"M_WstawBlok", "Wstaw1", QKeySequence()},
  };
  for (const auto& [item, menu, key] : items) {
    SCOPED_TRACE(item);
    QAction* action = Find<QAction>(item);
    EXPECT_TRUE(Find<QMenu>(menu)->actions().contains(action));
    EXPECT_EQ(action->shortcut(), key);
    EXPECT_TRUE(action->isEnabled());
  }
  QAction* button = Find<QAction>("B_WstawBlok");
  EXPECT_TRUE(Find<QToolBar>("ToolBarWstawianie")->actions().contains(button));
  EXPECT_FALSE(button->icon().pixmap(24, 24).isNull());
}

// Our own form travels beside the plain lines; text put there by another program is text only.
TEST_F(ClipboardKeysTest, ClipboardHoldsBothFormsOfEntities) {
  QtUi& ui = window_->qt_ui();
  ui.PutEntitiesOnClipboard("L(0,0)-(1,0)\n", "m\nL(0,0)-(1,0)\n");
  ClipboardContents read = ui.ReadClipboard();
  EXPECT_EQ(read.text, "L(0,0)-(1,0)\n");
  EXPECT_EQ(read.entities, std::optional<std::string>("m\nL(0,0)-(1,0)\n"));
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(Q(kEntitiesMimeType)));

  QApplication::clipboard()->setText("L(0,0)-(2,0)");
  read = ui.ReadClipboard();
  EXPECT_EQ(read.text, "L(0,0)-(2,0)");
  EXPECT_EQ(read.entities, std::nullopt);
}

}  // namespace
}  // namespace blok
