// The window's layout as a desktop program keeps it: a minimum size at which every control
// stays readable, a tab order through the controls, and the size, place and split of the
// window remembered from one run to the next.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>

#include "ui/window_fixture.h"

namespace blok {
namespace {

class WindowLayoutTest : public testing::WindowTest {};

// Shrunk as far as it goes, no caption is cut and the block list shows several rows.
TEST_F(WindowLayoutTest, EveryControlReadableAtTheSmallestSize) {
  OpenLibrary();
  window_->resize(300, 200);
  QTest::qWait(20);
  QApplication::processEvents();
  EXPECT_GE(window_->width(), window_->minimumWidth());
  for (QLabel* label : window_->findChildren<QLabel*>()) {
    if (!label->isVisible() || label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->minimumSizeHint().width())
        << label->objectName().toStdString() << " " << label->text().toStdString();
  }
  for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
    if (!button->isVisible() || button->text().isEmpty()) continue;
    EXPECT_GE(button->width(), button->sizeHint().width())
        << button->objectName().toStdString() << " " << button->text().toStdString();
  }
  for (QComboBox* combo : window_->findChildren<QComboBox*>()) {
    if (!combo->isVisible()) continue;
    EXPECT_GE(combo->width(), combo->minimumSizeHint().width())
        << combo->objectName().toStdString();
  }
  auto* list = Find<QListWidget>("LB_NazwaBlokuCzytaj");
  ASSERT_GT(list->count(), 0);
  EXPECT_GE(list->viewport()->height(), 3 * list->sizeHintForRow(0));
}

// Tab walks the command line, the settings bar and the block panel in reading order.
TEST_F(WindowLayoutTest, TabGoesThroughTheControlsAsTheyRead) {
  const QStringList expected = {"E_Polecenie",   "CB_Siatka",      "CB_SiatkaKrok",
                                "CBGrubosci",    "CB_PunktBazowy", "B_NowyPlik",
                                "E_NazwaBloku",  "E_FiltrBlokow",  "LB_NazwaBlokuCzytaj",
                                "Bt_ZapiszBlok", "CB_NadpisujBlok"};
  QStringList walked;
  QWidget* widget = Find<QWidget>("E_Polecenie");
  for (int i = 0; i < 400 && walked.size() < expected.size(); ++i) {
    if (expected.contains(widget->objectName()) && !walked.contains(widget->objectName())) {
      walked << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  }
  EXPECT_EQ(walked, expected);
}

// Size, place and the split between drawing and messages come back in the next run.
TEST_F(WindowLayoutTest, SizeAndSplitAreRemembered) {
  window_->resize(1100, 760);
  auto* splitter = Find<QSplitter>("Rozdzielacz");
  splitter->setSizes({300, 250});
  QApplication::processEvents();
  const QList<int> sizes = splitter->sizes();
  ASSERT_TRUE(window_->close());
  window_ = std::make_unique<TPodgladRysowanie>(dir_.path());
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  EXPECT_EQ(window_->size(), QSize(1100, 760));
  EXPECT_EQ(Find<QSplitter>("Rozdzielacz")->sizes(), sizes);
}

}  // namespace
}  // namespace blok
