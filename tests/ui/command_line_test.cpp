// The command line of the main window: what each control sends, the keys of the command
// entry and of the relative-entry panel, the message pane and where the keys go.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "ui/qt_ui.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

class CommandLineTest : public testing::WindowTest {
 protected:
  QLineEdit* Entry() { return Find<QLineEdit>("E_Polecenie"); }

  // Types into a field and presses a key there.
  void Type(const char* field, const QString& text, Qt::Key key = Qt::Key_Return) {
    auto* edit = Find<QLineEdit>(field);
    edit->setText(text);
    QTest::keyClick(edit, key);
  }
};

TEST_F(CommandLineTest, ControlsHaveTheirNamesAndCaptions) {
  struct Caption {
    const char* name;
    const char* text;
  };
  for (const auto& [name, text] :
       {Caption{"L_dx", "dx="}, Caption{"L_dy", "dy="}, Caption{"StaticText15", "   Pomoc"}}) {
    EXPECT_EQ(Find<QLabel>(name)->text(), QString(text)) << name;
  }
  EXPECT_EQ(Find<QLineEdit>("E_dx")->text(), "0");
  EXPECT_EQ(Find<QLineEdit>("E_dy")->text(), "0");
  EXPECT_EQ(Find<QCheckBox>("CB_OdlKat")->text(), "odl - kąt");
  EXPECT_NE(Find<QPushButton>("B_Wprowadz_dxdy"), nullptr);
  // The panel waits for a command's first point.
  EXPECT_FALSE(Find<QWidget>("Panel_dxdy")->isVisible());
  for (const char* name : {"L_dx", "E_dx", "L_dy", "E_dy", "CB_OdlKat", "B_Wprowadz_dxdy"}) {
    EXPECT_EQ(Find<QWidget>(name)->parentWidget(), Find<QWidget>("Panel_dxdy")) << name;
  }
  auto* distance = Find<QAction>("B_Odleglosc");
  EXPECT_FALSE(distance->icon().isNull());
  EXPECT_TRUE(distance->toolTip().isEmpty());
}

TEST_F(CommandLineTest, DistanceAndAngleSwitchTheLabels) {
  auto* polar = Find<QCheckBox>("CB_OdlKat");
  polar->setChecked(true);
  EXPECT_EQ(Find<QLabel>("L_dx")->text(), "l=");
  EXPECT_EQ(Find<QLabel>("L_dy")->text(), "kąt[st]=");
  polar->setChecked(false);
  EXPECT_EQ(Find<QLabel>("L_dx")->text(), "dx=");
  EXPECT_EQ(Find<QLabel>("L_dy")->text(), "dy=");
}

TEST_F(CommandLineTest, EveryButtonAndMenuItemSendsItsCommand) {
  OpenLibrary();
  struct Sent {
    const char* button;
    const char* menu_item;  // nothing: the button alone
    const char* text;
    const char* message;  // the command's answer, above the echo of the text
  };
  const Sent table[] = {
      {"BWstawLinie", "Linia1", "l", "Rysuj linia ... ."},
      {"BWstawProstokat", "Prostokt1", "p", "Rysuj prostokat ... ."},
      {"BWstawOkrag", "Okrg1", "o", "Rysuj okrąg ... ."},
      {"BWstawLuk", "uk1", "a", "Rysuj luk ... ."},
      {"BWstawTekst", "ekst1", "t", "Rysuj text ... ."},
      {"BPrzesun", "M_Przesun", "mo", "Przesun. Wskaż obiekty do przesuniecia."},
      {"BKopiuj", "M_Kopiuj", "co", "Kopiuj. Wskaż obiekty do kopiowania."},
      {"BUsun", "M_Usun", "u", "Usun. Wskaż obiekty."},
      {"BRozciagnij", "M_Rozciagnij", "ro", "Rozciągnij. Wskaż obiekty do rozciągania"},
      {"BSkaluj", "M_Skaluj", "sc", "Skaluj. Wskaż obiekty do skalowania."},
      {"BFazuj", "M_Fazuj", "f", "Fazuj. Wskaż obiekty."},
      {"BTnij", "m_utnij", "tr", "Tnij. Wskaż obiekty."},
      {"BWydluz", "M_Wydluz", "w", "Wydłuż. Wskaż obiekty."},
      {"BOdsun", "M_Odsun", "od", "Odsun. Wpisz odległość lub wskaz myszką 2 punkty."},
      {"B_Obrot", "m_obroc", "ob", "Obrót. Wskaż obiekty do obrotu."},
      {"BEdycjaCech", "M_Wlasciwosci", "ed", "Edycja. Wskaż obiekt."},
      {"B_Odleglosc", nullptr, "odl", "Zmierz odległośc. Wskaż punkty."},
  };
  for (const Sent& sent : table) {
    for (const char* control : {sent.button, sent.menu_item}) {
      if (control == nullptr) continue;
      Find<QAction>(control)->trigger();
      const QStringList messages = Messages();
      ASSERT_GE(messages.size(), 2) << control;
      EXPECT_EQ(messages[0], sent.message) << control;
      EXPECT_EQ(messages[1], sent.text) << control;
    }
  }
}

TEST_F(CommandLineTest, HelpLabelAndF1ShowTheCommandList) {
  // Help needs no open file.
  dialogs_.Expect(ModalDialogs::Accept()).Expect(ModalDialogs::Accept());
  QTest::mouseClick(Find<QLabel>("StaticText15"), Qt::LeftButton);
  QTest::keyClick(Entry(), Qt::Key_F1);
  ASSERT_EQ(dialogs_.shown().size(), 2u);
  for (const auto& shown : dialogs_.shown()) {
    EXPECT_EQ(shown.name, "Opis");
    EXPECT_TRUE(shown.text.contains("Lista polecen programu")) << shown.text.toStdString();
  }
  ASSERT_EQ(Messages().size(), 4);
  EXPECT_EQ(Messages()[1], "?");
  EXPECT_EQ(Messages()[3], "?");
}

TEST_F(CommandLineTest, EnterHandsTheTypedTextOverAndEmptiesTheField) {
  OpenLibrary();
  Type("E_Polecenie", "L");
  EXPECT_TRUE(Entry()->text().isEmpty());
  EXPECT_EQ(Messages().mid(0, 2), (QStringList{"Rysuj linia ... .", "L"}));
  // One blank repeats the last entry.
  Type("E_Polecenie", " ");
  EXPECT_EQ(Messages().mid(0, 2), (QStringList{"Rysuj linia ... .", "L"}));
  EXPECT_EQ(Messages().size(), 5);
  Type("E_Polecenie", "xyz");
  EXPECT_EQ(Messages().front(), "xyz         <- nieznane polecenie.");
}

TEST_F(CommandLineTest, GridAndOrthoKeysWorkInEveryCommandField) {
  struct Press {
    const char* field;
    Qt::Key key;
    const char* box;
  };
  for (const Press& press :
       {Press{"E_Polecenie", Qt::Key_F4, "CB_Siatka"}, Press{"E_Polecenie", Qt::Key_F8, "CB_Orto"},
        Press{"E_dx", Qt::Key_F4, "CB_Siatka"}, Press{"E_dy", Qt::Key_F8, "CB_Orto"}}) {
    auto* box = Find<QCheckBox>(press.box);
    const bool before = box->isChecked();
    QTest::keyClick(Find<QLineEdit>(press.field), press.key);
    EXPECT_NE(box->isChecked(), before) << press.field << " " << press.box;
    const Settings& settings = window_->editor().preferences().settings();
    EXPECT_EQ(press.key == Qt::Key_F4 ? settings.grid_snap : settings.ortho, box->isChecked())
        << press.field << " " << press.box;
  }
}

TEST_F(CommandLineTest, EscapeCancelsFromEveryCommandField) {
  OpenLibrary();
  for (const char* field : {"E_Polecenie", "E_dx", "E_dy"}) {
    Type("E_Polecenie", "l");
    Type("E_Polecenie", "0,0");
    ASSERT_TRUE(Find<QWidget>("Panel_dxdy")->isVisible());
    QTest::keyClick(Find<QLineEdit>(field), Qt::Key_Escape);
    EXPECT_EQ(Messages().front(), "Anulowano.") << field;
    EXPECT_TRUE(window_->editor().machine().wskaz().Polecenie.empty()) << field;
    EXPECT_FALSE(Find<QWidget>("Panel_dxdy")->isVisible()) << field;
  }
}

TEST_F(CommandLineTest, RelativeEntryDrawsChainedLines) {
  OpenLibrary();
  Type("E_Polecenie", "l");
  Type("E_Polecenie", "0,0");
  EXPECT_TRUE(Find<QWidget>("Panel_dxdy")->isVisible());
  const size_t before = window_->editor().block().drawing().lines().size();
  // Enter in either field and the button all take both fields: (0,0) to (10,0), then to
  // (20,5), then 2 at 90 degrees to (20,7).
  Type("E_dx", "10");
  Type("E_dy", "5");
  Find<QCheckBox>("CB_OdlKat")->setChecked(true);
  Find<QLineEdit>("E_dx")->setText("2");
  Find<QLineEdit>("E_dy")->setText("90");
  Click("B_Wprowadz_dxdy");
  EXPECT_EQ(window_->editor().block().drawing().lines().size(), before + 3);
  EXPECT_NEAR(window_->editor().machine().wskaz().P1.x, 20.0, 1e-4);
  EXPECT_NEAR(window_->editor().machine().wskaz().P1.y, 7.0, 1e-4);
  EXPECT_TRUE(Messages().front().startsWith("Dodano linię")) << Messages().front().toStdString();
  QTest::keyClick(Entry(), Qt::Key_Escape);
  EXPECT_FALSE(Find<QWidget>("Panel_dxdy")->isVisible());
}

TEST_F(CommandLineTest, MessagePaneFollowsTheEditor) {
  Editor& editor = window_->editor();
  const auto expect_pane = [&](const char* when) {
    QApplication::processEvents();
    QStringList lines;
    for (const auto& m : editor.messages().lines()) lines << QString::fromStdString(m);
    EXPECT_EQ(Pane(), lines.join('\n')) << when;
  };
  editor.messages().Komunikat("pierwszy");
  expect_pane("one message");
  editor.messages().Komunikat("drugi");
  editor.messages().Komunikat("");
  editor.messages().Komunikat("czwarty");
  expect_pane("three more at once");
  expect_pane("nothing new");
  OpenLibrary();  // empties the pane, then reports the file
  expect_pane("after the pane was emptied");
  EXPECT_EQ(Messages().size(), 1);
  editor.messages().Komunikat("po");
  expect_pane("a message after emptying");
}

TEST_F(CommandLineTest, BlockListIsRebuiltOnlyWhenItChanges) {
  OpenLibrary();
  auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
  ASSERT_GT(list->count(), 2);
  list->item(0)->setData(Qt::UserRole, "shown before");
  window_->editor().library().SelectBlock(2);
  QTest::keyClick(Entry(), Qt::Key_F4);
  EXPECT_EQ(list->item(0)->data(Qt::UserRole), "shown before");
  EXPECT_EQ(list->currentRow(), 2);
  dialogs_.Expect(ModalDialogs::ChooseFile(library_));
  Click("B_OtworzPlik");  // the same file again: a new list
  EXPECT_FALSE(list->item(0)->data(Qt::UserRole).isValid());
  EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(CommandLineTest, KeysGoBackToTheEntryUnlessATextFieldIsInUse) {
  OpenLibrary();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  window_->qt_ui().ShowRelativePanel(true);
  struct Focus {
    QWidget* widget;
    bool returns;
  };
  for (const Focus& focus :
       {Focus{Find<QListWidget>("LB_NazwaBlokuCzytaj"), true},
        Focus{Find<QCheckBox>("CB_Koniec"), true}, Focus{Find<QLineEdit>("E_NazwaBloku"), false},
        Focus{Find<QLineEdit>("E_dx"), false}, Focus{Find<QComboBox>("CBGrubosci"), false}}) {
    focus.widget->setFocus();
    ASSERT_NE(QApplication::focusWidget(), Entry()) << focus.widget->objectName().toStdString();
    window_->qt_ui().FocusCommandEntry();
    EXPECT_EQ(QApplication::focusWidget() == Entry(), focus.returns)
        << focus.widget->objectName().toStdString();
  }
}

TEST_F(CommandLineTest, PickCursorIsTheOneOfCommandsThatWaitForAnObject) {
  QtUi& ui = window_->qt_ui();
  PaintBox& box = window_->podglad();
  ui.SetCursor(CursorShape::kPick);
  EXPECT_EQ(box.cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(box.cursor().pixmap().toImage(), window_->pick_cursor().pixmap().toImage());
  ui.SetCursor(CursorShape::kCross);
  EXPECT_EQ(box.cursor().shape(), Qt::CrossCursor);
}

}  // namespace
}  // namespace blok
