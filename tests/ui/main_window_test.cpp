// The main window as a user meets it: built on a program directory of its own, driven through
// its controls (found by their object names), with its real dialogs answered as they show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::CountPixels;
using testing::ModalDialogs;

using MainWindowTest = testing::WindowTest;

TEST_F(MainWindowTest, StartsWithTheStartPanelAndToolsDisabled) {
  ASSERT_TRUE(window_->started());
  EXPECT_EQ(window_->windowTitle(), "...");
  for (const char* name : {"E_Polecenie", "L_Polecenie", "RE_Polecenia", "E_NazwaBloku",
                           "CB_Jednostka", "LB_NazwaBlokuCzytaj", "CB_SiatkaKrok",
                           "CB_SiatkaRozmiar", "CBGrubosci", "CB_HTekstu", "CB_STekstu"}) {
    EXPECT_NE(window_->findChild<QWidget*>(name), nullptr) << name;
  }
  for (const char* name : {"BWstawLinie", "BWstawLuk", "BTnij", "B_Obrot", "BCofnij", "BPrzod",
                           "BPowieksz", "BOkno", "BPan", "M_Przesun", "M_Wlasciwosci", "Nowy1",
                           "Otworzplik1", "M_ZapiszBlok", "Rezygnuj1"}) {
    EXPECT_NE(window_->findChild<QAction*>(name), nullptr) << name;
  }
  EXPECT_FALSE(Find<QPushButton>("Bt_ZapiszBlok")->isEnabled());
  EXPECT_FALSE(Find<QAction>("BWstawLinie")->isEnabled());
  EXPECT_FALSE(Find<QLabel>("L_Zmiana")->isVisible());
  EXPECT_EQ(Find<QLabel>("L_NazwaPliku")->text(), "NAZWA");
  EXPECT_TRUE(Find<QCheckBox>("CB_Prosto")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>("CB_RysujSiatka")->isChecked());
  // The start panel's red frame is in the image.
  EXPECT_GT(CountPixels(Image(), 0x0000FF), 300);
}

TEST_F(MainWindowTest, OpensTheLibraryAndLoadsABlock) {
  OpenLibrary();
  ASSERT_EQ(dialogs_.shown().size(), 1u);
  EXPECT_EQ(dialogs_.shown()[0].title, "Bloki VERADO");
  EXPECT_EQ(dialogs_.shown()[0].text, QString::fromStdString((dir_ / "Bloki").string()));
  EXPECT_EQ(window_->windowTitle(), QString::fromStdString(library_.string()));
  EXPECT_EQ(Messages(),
            QStringList{"Wczytano plik z blokami " + QString::fromStdString(library_.string())});
  auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  EXPECT_EQ(names, (QStringList{"Drzewo", "Hydrant", "Latarnia", "Strzałka",
                                "Studzienka kanalizacyjna", "Wpust uliczny", "Znak STOP"}));
  EXPECT_TRUE(Find<QPushButton>("Bt_ZapiszBlok")->isEnabled());
  EXPECT_TRUE(Find<QAction>("BWstawLinie")->isEnabled());
  // No file open any more: no start panel.
  EXPECT_EQ(CountPixels(Image(), 0x0000FF), 0);

  LoadBlock("Znak STOP");
  EXPECT_EQ(Messages(), QStringList{"Wczytano blok Znak STOP"});
  EXPECT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), "Znak STOP");
  EXPECT_EQ(Find<QComboBox>("CB_Jednostka")->currentText(), "m");
  EXPECT_FALSE(Find<QLabel>("L_Zmiana")->isVisible());
  Find<QAction>("BWszystko")->trigger();
  // The red octagon fills a good part of the view once zoomed to everything.
  EXPECT_GT(CountPixels(Image(), 0x0000FF), 1000);
}

TEST_F(MainWindowTest, WheelZoomsAndMiddleButtonPans) {
  PaintBox& box = window_->podglad();
  const double scale = window_->editor().view().transform().scale();
  const QPointF centre(box.width() / 2.0, box.height() / 2.0);
  QWheelEvent up(centre, box.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&box, &up);
  EXPECT_DOUBLE_EQ(window_->editor().view().transform().scale(), scale * 0.9);

  const double x = window_->editor().view().transform().centre_x();
  QTest::mousePress(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(300, 200));
  QMouseEvent move(QEvent::MouseMove, QPointF(400, 200), box.mapToGlobal(QPointF(400, 200)),
                   Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &move);
  QTest::mouseRelease(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(400, 200));
  EXPECT_LT(window_->editor().view().transform().centre_x(),
            x);  // dragged right: the world moves left
}

TEST_F(MainWindowTest, UnsavedChangesGuardTheClose) {
  OpenLibrary();
  LoadBlock("Drzewo");
  const QRect load_button = Find<QWidget>("B_WczytajBlok")->geometry();
  window_->editor().block().DodajObiekt("O(0,0,3);K(0,0,0);GR(0,10)");
  QApplication::processEvents();
  QApplication::processEvents();
  EXPECT_TRUE(Find<QLabel>("L_Zmiana")->isVisible());
  EXPECT_EQ(Find<QWidget>("B_WczytajBlok")->geometry(), load_button);  // the mark takes no room
  EXPECT_TRUE(Find<QAction>("BCofnij")->isEnabled());

  dialogs_.Expect(ModalDialogs::Press("Kasuj"));
  window_->close();
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(dialogs_.shown().size(), 2u);
  EXPECT_EQ(dialogs_.shown().back().name, "PytanieTakNieKasuj");
  EXPECT_EQ(dialogs_.shown().back().text, "Dane nie zapisane. Zapisać?");

  Find<QAction>("BCofnij")->trigger();
  EXPECT_TRUE(Find<QAction>("BPrzod")->isEnabled());
  dialogs_.Expect(ModalDialogs::Press("Button2"));  // "Nie"
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  // The recent files were written at exit.
  EXPECT_NE(testing::ReadBytes(dir_ / "Dane" / "PozMenu.Lpk").find("przyklad.blk"),
            std::string::npos);
}

TEST_F(MainWindowTest, DoubleClickOnTheMessagesOpensTheViewer) {
  OpenLibrary();
  auto* pane = Find<QPlainTextEdit>("RE_Polecenia");
  dialogs_.Expect(ModalDialogs::Press("B_Powrot"));
  QTest::mouseDClick(pane->viewport(), Qt::LeftButton);
  ASSERT_EQ(dialogs_.shown().size(), 2u);
  EXPECT_EQ(dialogs_.shown().back().name, "Opis");
  EXPECT_EQ(dialogs_.shown().back().text, Pane());
}

TEST_F(MainWindowTest, SaveButtonWritesTheBlock) {
  OpenLibrary();
  LoadBlock("Hydrant");
  window_->editor().block().DodajObiekt("L(0,0)-(1,1);K(0,0,0);GR(0,10)");
  QApplication::processEvents();
  dialogs_.Expect(ModalDialogs::Press("Button1"));  // "Tak" to "Taki blok już istnieje! Nadpisać?"
  Click("Bt_ZapiszBlok");
  EXPECT_EQ(dialogs_.shown().back().text, "Taki blok już istnieje! Nadpisać?");
  EXPECT_EQ(Messages().front(), "Nadpisano blok: Hydrant");
  EXPECT_FALSE(Find<QLabel>("L_Zmiana")->isVisible());
  const auto block = WczytajBlok(library_, "Hydrant");
  ASSERT_TRUE(block && *block);
  EXPECT_EQ((*block)->lines.front(), "L(0,0)-(1,1);K(0,0,0);GR(0,10)");
}

TEST_F(MainWindowTest, SwatchOpensTheColourDialog) {
  struct Choice {
    ModalDialogs::Answer answer;
    Colour colour;  // the current colour afterwards
  };
  for (const Choice& choice : {Choice{ModalDialogs::ChooseColour(QColor(255, 128, 0)), 0x0080FF},
                               Choice{ModalDialogs::Cancel(), 0x0080FF},
                               Choice{ModalDialogs::ChooseColour(Qt::black), 0x000000}}) {
    dialogs_.Expect(choice.answer);
    QTest::mouseClick(Find<QLabel>("Shape"), Qt::LeftButton);
    EXPECT_EQ(window_->editor().preferences().settings().colour, choice.colour);
  }
  // Each time the dialog started from the colour of the swatch.
  ASSERT_EQ(dialogs_.shown().size(), 3u);
  EXPECT_EQ(dialogs_.shown()[0].text, "#000000");
  EXPECT_EQ(dialogs_.shown()[1].text, "#ff8000");
  EXPECT_EQ(dialogs_.shown()[2].text, "#ff8000");
}

TEST_F(MainWindowTest, TypingAGridStepKeepsTheKeys) {
  OpenLibrary();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QLineEdit* step = Find<QComboBox>("CB_SiatkaKrok")->lineEdit();
  step->setFocus();
  step->selectAll();
  QTest::keyClicks(step, "0,5");
  EXPECT_FLOAT_EQ(window_->editor().preferences().settings().grid_step, 0.5f);
  QWidget* focus = QApplication::focusWidget();
  EXPECT_TRUE(focus == step || focus == Find<QComboBox>("CB_SiatkaKrok"));
  EXPECT_EQ(step->text(), "0,5");
}

}  // namespace
}  // namespace blok
