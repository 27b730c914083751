// The block's lines beside the drawing, through the window's controls: shown by B_Zrodlo and
// Ctrl+L, coloured after B_SprawdzSkladnia (checked on the screen), edited in place and saved,
// and rows and entities leading to each other.
#include <gtest/gtest.h>

#include <QListView>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "document/block_file.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::ModalDialogs;

class SourceViewTest : public testing::WindowTest {
 protected:
  QListView* Rows() { return Find<QListView>("Polecenia"); }
  QString Row(int row) { return Rows()->model()->index(row, 0).data().toString(); }
  int RowOf(const QString& text) {
    for (int row = 1; row < Rows()->model()->rowCount(); ++row) {
      if (Row(row) == text) return row;
    }
    ADD_FAILURE() << text.toStdString();
    return 0;
  }
  // Types over a row as the user does: F2, the text, Enter.
  void EditRow(int row, const QString& text) {
    Rows()->setFocus();
    Rows()->setCurrentIndex(Rows()->model()->index(row, 0));
    QTest::keyClick(Rows(), Qt::Key_F2);
    // The open editor: a closed one may linger until its deferred deletion.
    QLineEdit* line = nullptr;
    for (QLineEdit* each : Rows()->viewport()->findChildren<QLineEdit*>()) {
      if (each->isVisible()) line = each;
    }
    ASSERT_NE(line, nullptr) << "no editor for row " << row;
    line->selectAll();
    line->insert(text);  // as typed: keyClicks knows only ASCII
    QTest::keyClick(line, Qt::Key_Return);
    // The rows follow the drawing once the editor has closed: a slow machine takes a while.
    for (int i = 0; i < 200; ++i) {
      QTest::qWait(5);
      if (Rows()->model()->rowCount() ==
          static_cast<int>(window_->editor().block().drawing().size()) + 1) {
        break;
      }
    }
  }
  // Pixels of the row on the screen near this colour. The row is not the selected one, which
  // shows in the selection's colours.
  int PixelsOf(int row, QColor colour) {
    Rows()->selectionModel()->clear();
    const QImage image = Rows()->viewport()->grab().toImage();
    const QRect rect = Rows()->visualRect(Rows()->model()->index(row, 0));
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
      for (int x = rect.left(); x <= rect.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        count += std::abs(c.red() - colour.red()) < 40 &&
                 std::abs(c.green() - colour.green()) < 40 &&
                 std::abs(c.blue() - colour.blue()) < 40;
      }
    }
    return count;
  }
};

TEST_F(SourceViewTest, ShownCheckedEditedAndSaved) {
  OpenLibrary();
  LoadBlock("Znak STOP");
  const auto stored = WczytajBlok(library_, "Znak STOP").value()->lines;
  EXPECT_FALSE(Rows()->isVisible());
  Click("B_Zrodlo");
  ASSERT_TRUE(Rows()->isVisible());
  EXPECT_TRUE(Find<QAction>("M_Zrodlo")->isChecked());
  // A blank row for a new line, then every line as it will be saved.
  ASSERT_EQ(Rows()->model()->rowCount(), static_cast<int>(stored.size()) + 1);
  for (size_t i = 0; i < stored.size(); ++i)
    EXPECT_EQ(Row(static_cast<int>(i) + 1).toStdString(), stored[i]);

  // A new row: a faulty line and a comment, both kept.
  EditRow(0, "X(1,2)");
  EditRow(0, "// słupek");
  ASSERT_EQ(Rows()->model()->rowCount(), static_cast<int>(stored.size()) + 3);
  EXPECT_EQ(Row(1), "// słupek");
  EXPECT_EQ(Row(2), "X(1,2)");
  EXPECT_TRUE(Find<QLabel>("L_Zmiana")->isVisible());

  // Before the check the rows are all black; after it, red, green and black on the screen.
  const int entity = RowOf("GR(0,50)");
  EXPECT_EQ(PixelsOf(2, Qt::red), 0);
  Click("B_SprawdzSkladnia");
  EXPECT_GT(PixelsOf(2, Qt::red), 20);
  EXPECT_GT(PixelsOf(1, QColor(0, 128, 0)), 20);
  EXPECT_EQ(PixelsOf(entity, Qt::red), 0);
  EXPECT_EQ(PixelsOf(entity, QColor(0, 128, 0)), 0);
  EXPECT_GT(PixelsOf(entity, Qt::black), 20);
  // The colours follow an edit: the faulty line mended is black.
  EditRow(2, "O(0,0,2)");
  EXPECT_EQ(PixelsOf(2, Qt::red), 0);
  EditRow(2, "X(1,2)");
  EXPECT_GT(PixelsOf(2, Qt::red), 20);

  // An entity line changed, another emptied (deleted), one deleted by the Delete key.
  EditRow(RowOf("GR(0,50)"), "GR(0,35)");
  EditRow(RowOf("L(1.2,0.5)-(1.2,-0.5)"), "");
  Rows()->setFocus();
  Rows()->setCurrentIndex(Rows()->model()->index(RowOf("L(-1.2,-0.5)-(-1.2,0.5)"), 0));
  QTest::keyClick(Rows(), Qt::Key_Delete);
  EXPECT_FALSE(window_->editor().machine().wskaz().usun);

  // Saved after the question about the faulty line and the one about the name.
  dialogs_.Expect(ModalDialogs::Press("Button1")).Expect(ModalDialogs::Press("Button1"));
  Click("Bt_ZapiszBlok");
  EXPECT_EQ(dialogs_.shown().end()[-2].text, "Blok zawiera 1 błędną linię. Zapisać?");
  std::vector<std::string> expected;
  for (int row = 1; row < Rows()->model()->rowCount(); ++row)
    expected.push_back(Row(row).toStdString());
  EXPECT_EQ(WczytajBlok(library_, "Znak STOP").value()->lines, expected);
  EXPECT_EQ(expected.size(), stored.size());  // two added, two deleted
  EXPECT_NE(std::find(expected.begin(), expected.end(), "GR(0,35)"), expected.end());
  EXPECT_EQ(std::find(expected.begin(), expected.end(), "L(1.2,0.5)-(1.2,-0.5)"), expected.end());

  // B_Zrodlo hides the rows, and the menu item follows.
  Click("B_Zrodlo");
  EXPECT_FALSE(Rows()->isVisible());
  EXPECT_FALSE(Find<QAction>("M_Zrodlo")->isChecked());
}

// A row the file could not hold is refused with the reason, and its editor opens again with
// what was typed, so that it can be corrected rather than typed anew.
TEST_F(SourceViewTest, ARefusedRowKeepsWhatWasTyped) {
  OpenLibrary();
  LoadBlock("Znak STOP");
  Click("B_SprawdzSkladnia");  // the mark of a change, so that nothing else asks below
  Click("B_Zrodlo");
  const std::vector<std::string> before(window_->editor().block().drawing().lines().begin(),
                                        window_->editor().block().drawing().lines().end());
  const QString too_long = "T(0,0,'" + QString(260, 'x') + "',1,1,0)";
  for (const int row : {0, 1}) {
    for (const QString& typed : {QString("T(0,0,'żółw ☃',1,1,0)"), too_long}) {
      SCOPED_TRACE(row);
      dialogs_.Expect(ModalDialogs::Accept());  // the reason
      const size_t shown = dialogs_.shown().size();
      EditRow(row, typed);
      ASSERT_EQ(dialogs_.shown().size(), shown + 1);
      EXPECT_TRUE(dialogs_.shown().back().text.contains(typed == too_long ? "255" : "U+2603"));
      QLineEdit* again = nullptr;
      ASSERT_TRUE(QTest::qWaitFor([&] {
        for (QLineEdit* each : Rows()->viewport()->findChildren<QLineEdit*>()) {
          if (each->isVisible() && each->text() == typed) again = each;
        }
        return again != nullptr;
      }));
      EXPECT_EQ(again->text(), typed);
      EXPECT_EQ(Rows()->currentIndex().row(), row);
      QTest::keyClick(again, Qt::Key_Escape);
      const std::vector<std::string> now(window_->editor().block().drawing().lines().begin(),
                                         window_->editor().block().drawing().lines().end());
      EXPECT_EQ(now, before);
    }
  }
  // Closed with Esc, the row's editor shows the line again, not the refused text.
  Rows()->setCurrentIndex(Rows()->model()->index(1, 0));
  EXPECT_EQ(Rows()->model()->index(1, 0).data(Qt::EditRole).toString().toStdString(), before[0]);
}

TEST_F(SourceViewTest, CtrlLShowsAndHidesTheRows) {
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto* entry = Find<QLineEdit>("E_Polecenie");
  entry->setFocus();
  for (const bool shown : {true, false}) {
    QTest::keyClick(entry, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(Rows()->isVisible(), shown);
    EXPECT_EQ(Find<QPushButton>("B_Zrodlo")->isChecked(), shown);
    EXPECT_EQ(Find<QAction>("M_Zrodlo")->isChecked(), shown);
  }
}

TEST_F(SourceViewTest, RowsAndEntitiesLeadToEachOther) {
  OpenLibrary();
  LoadBlock("Znak STOP");
  Click("B_Zrodlo");
  const int post = RowOf("L(0.0,-1.2)-(0.0,-3.0);K(0,0,0);GR(0,18)");
  // The delete command's hover over the post selects its row.
  Type("u");
  QTest::mouseMove(&window_->podglad(), Pixel(0, -2));
  QTest::mouseMove(&window_->podglad(), Pixel(0, -2.1));
  EXPECT_EQ(Rows()->currentIndex().row(), post);
  Type("");
  QTest::keyClick(Find<QLineEdit>("E_Polecenie"), Qt::Key_Escape);

  // A row clicked: its entity red on the screen, where it was black.
  const auto red_near_post = [&] {
    const QImage screen = Screen();
    int red = 0;
    for (int y = Pixel(0, -1.4).y(); y <= Pixel(0, -2.8).y(); ++y) {
      for (int x = Pixel(0, 0).x() - 2; x <= Pixel(0, 0).x() + 2; ++x) {
        const QColor c = screen.pixelColor(x, y);
        red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
      }
    }
    return red;
  };
  EXPECT_EQ(red_near_post(), 0);
  const QRect rect = Rows()->visualRect(Rows()->model()->index(post, 0));
  QTest::mouseClick(Rows()->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_GT(red_near_post(), 5);

  // A row whose object is off the screen: the view goes to it, and the keys stay in the rows.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  Rows()->setCurrentIndex(Rows()->model()->index(RowOf("L(-0.5,1.2)-(0.5,1.2)"), 0));
  window_->editor().view().transform().SetCentre(1000, 1000);
  Rows()->setFocus();
  QTest::keyClick(Rows(), Qt::Key_Down);
  ASSERT_EQ(Row(Rows()->currentIndex().row()), "L(0.5,1.2)-(1.2,0.5)");
  EXPECT_NEAR(window_->editor().view().transform().centre_x(), 0.85, 1e-6);
  EXPECT_NEAR(window_->editor().view().transform().centre_y(), 0.85, 1e-6);
  EXPECT_EQ(QApplication::focusWidget(), Rows());
}

// Pixels of two pictures of the same size that differ, but for those inside the box given.
int Differing(const QImage& a, const QImage& b, const QRect& apart) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x)
      count += !apart.contains(x, y) && a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

// The rows draw their panel, focus and text themselves, the text laid out once: pixel for pixel
// what the style's own item draws, checked or not, chosen, focused, and cut at the right. Only
// the letters of the chosen row may shade their edges a little differently: the style lays them
// out at another fraction of a pixel there.
TEST_F(SourceViewTest, RowsLookAsTheStyleDrawsThem) {
  const std::string long_line = "T(0,0,'" + std::string(300, 'W') + "',1,1,0)";
  ASSERT_TRUE(DopiszBlok(library_, {.name = "Wiersze",
                                    .unit = "m",
                                    .lines = {"// opis ąęś", "L(0,0)-(1,1)", "X(1,2", long_line,
                                              "O(0,0,1);K(255,0,0)"}}));
  OpenLibrary();
  LoadBlock("Wiersze");
  Click("B_Zrodlo");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Rows()->viewport()->height() > 100; }));
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QAbstractItemDelegate* rows_own = Rows()->itemDelegate();
  QStyledItemDelegate styles_own;
  for (const bool checked : {false, true}) {
    if (checked) Click("B_SprawdzSkladnia");
    for (const int chosen : {0, 2, 4}) {
      SCOPED_TRACE(::testing::Message() << "checked " << checked << ", row " << chosen);
      Rows()->setFocus();
      Rows()->setCurrentIndex(Rows()->model()->index(chosen, 0));
      QCoreApplication::processEvents();
      const QImage drawn = Rows()->viewport()->grab().toImage();
      Rows()->setItemDelegate(&styles_own);
      QCoreApplication::processEvents();
      const QImage by_the_style = Rows()->viewport()->grab().toImage();
      Rows()->setItemDelegate(rows_own);
      QCoreApplication::processEvents();
      ASSERT_EQ(drawn.size(), by_the_style.size());
      const QRect letters =
          Rows()->visualRect(Rows()->model()->index(chosen, 0)).adjusted(1, 1, -1, -1);
      EXPECT_EQ(Differing(drawn, by_the_style, letters), 0);
    }
  }
}

TEST_F(SourceViewTest, TenThousandLinesScroll) {
  std::vector<std::string> lines;
  for (int i = 0; i < 10000; ++i)
    lines.push_back("L(" + std::to_string(i) + ",0)-(" + std::to_string(i) + ",1)");
  ASSERT_TRUE(DopiszBlok(library_, {.name = "Duży", .unit = "m", .lines = lines}));
  OpenLibrary();
  LoadBlock("Duży");
  Click("B_Zrodlo");
  ASSERT_EQ(Rows()->model()->rowCount(), 10001);
  Rows()->verticalScrollBar()->setValue(Rows()->verticalScrollBar()->maximum());
  EXPECT_EQ(Row(10000).toStdString(), lines.back());
  // A line typed on the command line comes in as row 1; the place scrolled to stays.
  const int scrolled = Rows()->verticalScrollBar()->value();
  Type("L(0,0)-(5,5)");
  EXPECT_EQ(Rows()->model()->rowCount(), 10002);
  EXPECT_TRUE(Row(1).startsWith("L(0.0,0.0)-(5.0,5.0)")) << Row(1).toStdString();
  EXPECT_EQ(Rows()->verticalScrollBar()->value(), scrolled);
}

}  // namespace
}  // namespace blok
