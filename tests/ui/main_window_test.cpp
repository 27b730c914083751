// The main window as a user meets it: built on a program directory of its own, driven through
// its controls (found by their object names), with dialogs answered from a script.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QWheelEvent>

#include "document/block_file.h"
#include "support/scripted_ui.h"
#include "support/test_dir.h"
#include "ui/paint_box.h"
#include "view/renderer.h"

namespace blok {
namespace {

using testing::ScriptedUi;
using testing::TestDir;

// Pixels of one colour in the paint box's image.
int CountPixels(const QImage& image, Colour colour) {
  const QRgb wanted = qRgb(Red(colour), Green(colour), Blue(colour));
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) count += (row[x] & 0xFFFFFF) == (wanted & 0xFFFFFF);
  }
  return count;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    const auto built = std::filesystem::path(BLOK_BIN_DIR);
    std::filesystem::create_directories(dir_ / "Dane");
    std::filesystem::create_directories(dir_ / "Bloki");
    for (const char* font : {"Romans100.Lzs", "Greeks100.Lzs"}) {
      std::filesystem::copy_file(built / "Dane" / font, dir_ / "Dane" / font);
    }
    std::filesystem::copy_file(std::filesystem::path(BLOK_SOURCE_DIR) / "data/Bloki/przyklad.blk",
                               library_);
    window_ = std::make_unique<TPodgladRysowanie>(dir_.path());
    window_->SetDialogsForTesting(&ui_);
    window_->resize(1000, 700);
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  ~MainWindowTest() override {
    window_->SetDialogsForTesting(nullptr);
    window_.reset();
  }

  template <typename T>
  T* Find(const char* name) {
    T* found = window_->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

  QStringList Messages() {
    return Find<QPlainTextEdit>("RE_Polecenia")->toPlainText().split('\n', Qt::SkipEmptyParts);
  }

  void OpenLibrary() {
    ui_.open_paths.push_back(library_);
    Click("B_OtworzPlik");
  }

  void LoadBlock(const QString& name) {
    auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    list->setCurrentItem(items.front());
    Click("B_WczytajBlok");
  }

  TestDir dir_;
  std::filesystem::path library_ = dir_ / "Bloki" / "przyklad.blk";
  ScriptedUi ui_;
  std::unique_ptr<TPodgladRysowanie> window_;
};

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
  EXPECT_FALSE(Find<QCheckBox>("CB_Prosto")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>("CB_RysujSiatka")->isChecked());
  // The start panel's red frame is in the image.
  EXPECT_GT(CountPixels(window_->podglad().image(), 0x0000FF), 300);
}

TEST_F(MainWindowTest, OpensTheLibraryAndLoadsABlock) {
  OpenLibrary();
  ASSERT_EQ(ui_.dialogs.size(), 1u);
  EXPECT_EQ(ui_.dialogs[0].dialog.title, "Bloki VERADO");
  EXPECT_EQ(ui_.dialogs[0].dialog.initial_directory, dir_ / "Bloki" / "");
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
  EXPECT_EQ(CountPixels(window_->podglad().image(), 0x0000FF), 0);

  LoadBlock("Znak STOP");
  EXPECT_EQ(Messages(), QStringList{"Wczytano blok Znak STOP"});
  EXPECT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), "Znak STOP");
  EXPECT_EQ(Find<QComboBox>("CB_Jednostka")->currentText(), "m");
  EXPECT_FALSE(Find<QLabel>("L_Zmiana")->isVisible());
  Find<QAction>("BWszystko")->trigger();
  // The red octagon fills a good part of the view once zoomed to everything.
  EXPECT_GT(CountPixels(window_->podglad().image(), 0x0000FF), 1000);
}

TEST_F(MainWindowTest, WheelZoomsAndMiddleButtonPans) {
  PaintBox& box = window_->podglad();
  const double scale = window_->editor().view().scale();
  const QPointF centre(box.width() / 2.0, box.height() / 2.0);
  QWheelEvent up(centre, box.mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                 Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&box, &up);
  EXPECT_DOUBLE_EQ(window_->editor().view().scale(), scale * 0.9);

  const double x = window_->editor().view().centre_x();
  QTest::mousePress(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(300, 200));
  QMouseEvent move(QEvent::MouseMove, QPointF(400, 200), box.mapToGlobal(QPointF(400, 200)),
                   Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(&box, &move);
  QTest::mouseRelease(&box, Qt::MiddleButton, Qt::NoModifier, QPoint(400, 200));
  EXPECT_LT(window_->editor().view().centre_x(), x);  // dragged right: the world moves left
}

TEST_F(MainWindowTest, UnsavedChangesGuardTheClose) {
  OpenLibrary();
  LoadBlock("Drzewo");
  window_->editor().DodajObiekt("O(0,0,3);K(0,0,0);GR(0,10)");
  window_->SyncFromEditor();
  EXPECT_TRUE(Find<QLabel>("L_Zmiana")->isVisible());
  EXPECT_TRUE(Find<QAction>("BCofnij")->isEnabled());

  ui_.answers.push_back(Answer::kKasuj);
  window_->close();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(ui_.questions.back(), "Dane nie zapisane. Zapisać?");

  Find<QAction>("BCofnij")->trigger();
  EXPECT_TRUE(Find<QAction>("BPrzod")->isEnabled());
  ui_.answers.push_back(Answer::kNie);
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  // The recent files were written at exit.
  EXPECT_NE(testing::ReadBytes(dir_ / "Dane" / "PozMenu.Lpk").find("przyklad.blk"),
            std::string::npos);
}

TEST_F(MainWindowTest, DoubleClickOnTheMessagesOpensTheViewer) {
  OpenLibrary();
  auto* pane = Find<QPlainTextEdit>("RE_Polecenia");
  QTest::mouseDClick(pane->viewport(), Qt::LeftButton);
  ASSERT_EQ(ui_.viewer_texts.size(), 1u);
  EXPECT_EQ(ui_.viewer_texts[0].size(), 1u);
}

TEST_F(MainWindowTest, SaveButtonWritesTheBlock) {
  OpenLibrary();
  LoadBlock("Hydrant");
  window_->editor().DodajObiekt("L(0,0)-(1,1);K(0,0,0);GR(0,10)");
  window_->SyncFromEditor();
  ui_.answers.push_back(Answer::kTak);  // "Taki blok już istnieje! Nadpisać?"
  Click("Bt_ZapiszBlok");
  EXPECT_EQ(Messages().front(), "Nadpisano blok: Hydrant");
  EXPECT_FALSE(Find<QLabel>("L_Zmiana")->isVisible());
  const auto block = WczytajBlok(library_, "Hydrant");
  ASSERT_TRUE(block && *block);
  EXPECT_EQ((*block)->lines.front(), "L(0,0)-(1,1);K(0,0,0);GR(0,10)");
}

TEST_F(MainWindowTest, TypingAGridStepKeepsTheKeys) {
  OpenLibrary();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QLineEdit* step = Find<QComboBox>("CB_SiatkaKrok")->lineEdit();
  step->setFocus();
  step->selectAll();
  QTest::keyClicks(step, "0,5");
  EXPECT_FLOAT_EQ(window_->editor().settings().grid_step, 0.5f);
  QWidget* focus = QApplication::focusWidget();
  EXPECT_TRUE(focus == step || focus == Find<QComboBox>("CB_SiatkaKrok"));
  EXPECT_EQ(step->text(), "0,5");
}

}  // namespace
}  // namespace blok
