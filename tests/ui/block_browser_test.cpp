#include "ui/block_browser.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <functional>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/text_file.h"
#include "model/cp1250.h"
#include "ui/block_picture.h"
#include "ui/window_fixture.h"
#include "view/stroke_font.h"

namespace blok::testing {
namespace {

int NonWhitePixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) count += (row[x] & 0xFFFFFF) != 0xFFFFFF;
  }
  return count;
}

QPixmap Picture(const QListWidgetItem* item) {
  return item->data(Qt::DecorationRole).value<QPixmap>();
}

class BlockBrowserTest : public WindowTest {
 protected:
  QListWidget* List() { return Find<QListWidget>("LB_NazwaBlokuCzytaj"); }
  BlockBrowser& Browser() { return *window_->findChild<BlockBrowser*>(); }

  QStringList Rows() {
    QStringList rows;
    for (int i = 0; i < List()->count(); ++i) rows << List()->item(i)->text();
    return rows;
  }

  // Lets the browser read the library and make the pictures it wants.
  void Settle() { QTRY_VERIFY_WITH_TIMEOUT(!Browser().busy(), 10000); }

  int PicturedRows() {
    int count = 0;
    for (int i = 0; i < List()->count(); ++i) count += !Picture(List()->item(i)).isNull();
    return count;
  }

  // A library of count blocks named "Blok 10000" on, written at once, opened in the window.
  void OpenLargeLibrary(int count, const std::function<std::vector<std::string>(int)>& lines) {
    std::string bytes;
    for (int i = 0; i < count; ++i) {
      const BlockToSave block{"Blok " + std::to_string(10000 + i), "m", lines(i)};
      for (const std::string& line : BlockRecordLines(block)) bytes += Utf8ToCp1250(line) + "\r\n";
    }
    const auto big = dir_ / "Bloki" / "duza.blk";
    ASSERT_TRUE(ReplaceFileContents(big, bytes));
    dialogs_.Expect(ModalDialogs::ChooseFile(big));
    Click("B_OtworzPlik");
    ASSERT_EQ(List()->count(), count);
  }

  void TypeFilter(const QString& text) {
    auto* filter = Find<QLineEdit>("E_FiltrBlokow");
    filter->setFocus();
    filter->insert(text);  // as typed: QTest types ASCII only
  }
};

TEST_F(BlockBrowserTest, RowsShowPicturesOfTheirBlocks) {
  OpenLibrary();
  Settle();
  ASSERT_EQ(List()->count(), 7);
  for (int i = 0; i < List()->count(); ++i) {
    const QPixmap picture = Picture(List()->item(i));
    ASSERT_FALSE(picture.isNull()) << i;
    EXPECT_EQ(picture.size(), BlockBrowser::kThumbnailSize);
    EXPECT_GT(NonWhitePixels(picture), 20) << List()->item(i)->text().toStdString();
  }
  // Each block its own picture.
  EXPECT_NE(Picture(List()->item(0)).toImage(), Picture(List()->item(1)).toImage());
}

TEST_F(BlockBrowserTest, PicturesAreDrawnInTheScreensOwnPixels) {
  const std::vector<std::string> lines = {"O(0,0,1);K(255,0,0)", "L(-1,-1)-(1,1)"};
  const auto font = LoadStrokeFont(std::filesystem::path(BLOK_BIN_DIR) / "Dane" / "Romans100.Lzs");
  ASSERT_TRUE(font);
  const auto font_ptr = std::make_unique<StrokeFont>(*font);
  const QImage single = BlockPicture(lines, *font_ptr, BlockBrowser::kThumbnailSize);
  for (const qreal ratio : {1.0, 2.0, 0.0, 100.0}) {  // the last two are no ratio a screen has
    SCOPED_TRACE(ratio);
    const QImage image = BlockPicture(lines, *font_ptr, BlockBrowser::kThumbnailSize, ratio);
    const qreal used = ratio == 2.0 ? 2.0 : 1.0;
    EXPECT_EQ(image.size(), BlockBrowser::kThumbnailSize * used);
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(BlockBrowser::kThumbnailSize));
    // The same drawing, finer: its ink grows with the pixels along each stroke.
    const int ink = NonWhitePixels(QPixmap::fromImage(image));
    EXPECT_GE(ink, NonWhitePixels(QPixmap::fromImage(single)) * used * 0.8);
  }
}

TEST_F(BlockBrowserTest, FilterNarrowsTheListAndEscapeClearsIt) {
  OpenLibrary();
  auto* filter = Find<QLineEdit>("E_FiltrBlokow");
  EXPECT_EQ(filter->placeholderText(), "Szukaj…");
  struct Case {
    QString typed;
    QStringList rows;
  };
  const Case cases[] = {
      {"studz", {"Studzienka kanalizacyjna"}},
      {"STRZALKA", {"Strzałka"}},
      {"st", {"Strzałka", "Studzienka kanalizacyjna", "Wpust uliczny", "Znak STOP"}},
      {"u", {"Studzienka kanalizacyjna", "Wpust uliczny"}},
      {"żółw", {"Brak bloków pasujących do „żółw”"}},
  };
  for (const Case& c : cases) {
    filter->clear();
    TypeFilter(c.typed);
    EXPECT_EQ(Rows(), c.rows) << c.typed.toStdString();
  }
  QTest::keyClick(filter, Qt::Key_Escape);
  EXPECT_TRUE(filter->text().isEmpty());
  EXPECT_EQ(Rows().size(), 7);
}

// A filter that matches nothing says so on a row that is no block: nothing selects or loads
// it, and it goes when the filter lets blocks through again.
TEST_F(BlockBrowserTest, AFilterMatchingNothingSaysSo) {
  OpenLibrary();
  window_->editor().block().DodajObiekt("O(0,0,3)");  // a load would ask first
  QApplication::processEvents();
  const QStringList messages = Messages();
  const size_t dialogs = dialogs_.shown().size();
  TypeFilter("xyz");
  ASSERT_EQ(Rows(), QStringList{"Brak bloków pasujących do „xyz”"});
  QListWidgetItem* note = List()->item(0);
  EXPECT_FALSE(note->flags() & Qt::ItemIsSelectable);
  const QPoint row = List()->visualItemRect(note).center();
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, row);
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, row);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Down);
  QTest::keyClick(List(), Qt::Key_Return);
  QTest::keyClick(List(), Qt::Key_Enter);
  EXPECT_EQ(List()->currentRow(), -1);
  EXPECT_TRUE(List()->selectedItems().isEmpty());
  EXPECT_EQ(window_->editor().library().selected_block_row(), std::nullopt);
  EXPECT_EQ(dialogs_.shown().size(), dialogs);
  EXPECT_EQ(Messages(), messages);
  EXPECT_TRUE(window_->editor().block().unsaved());

  auto* filter = Find<QLineEdit>("E_FiltrBlokow");
  filter->clear();
  EXPECT_EQ(Rows().size(), 7);
  EXPECT_FALSE(Rows().join('\n').contains("Brak bloków"));
  TypeFilter("hydr");
  EXPECT_EQ(Rows(), QStringList{"Hydrant"});
}

TEST_F(BlockBrowserTest, LoadsTheBlockOfAFilteredRow) {
  OpenLibrary();
  TypeFilter("a");
  ASSERT_EQ(Rows().first(), "Hydrant");
  LoadBlock("Latarnia");
  EXPECT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), "Latarnia");
  EXPECT_EQ(Messages(), QStringList{"Wczytano blok Latarnia"});

  // With unsaved changes the question comes first; "Nie" loads the row's block, and double
  // click does the same as the button.
  window_->editor().block().DodajObiekt("O(0,0,3)");
  QApplication::processEvents();
  Find<QLineEdit>("E_FiltrBlokow")->clear();
  TypeFilter("wpu");
  ASSERT_EQ(Rows(), QStringList{"Wpust uliczny"});
  List()->setCurrentRow(0);
  dialogs_.Expect(ModalDialogs::Press("Button2"));  // "Nie"
  const QPoint row = List()->visualItemRect(List()->item(0)).center();
  QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, row);
  QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(dialogs_.shown().back().text, "Dane niezapisane. Nadpisać?");
  EXPECT_EQ(Find<QLineEdit>("E_NazwaBloku")->text(), "Wpust uliczny");
}

TEST_F(BlockBrowserTest, SelectingARowPreviewsItsBlock) {
  OpenLibrary();
  Settle();
  auto* preview = Find<QFrame>("PodgladBloku");
  EXPECT_FALSE(preview->isVisible());
  TypeFilter("znak");
  List()->setCurrentRow(0);
  ASSERT_TRUE(preview->isVisible());
  const QString text = preview->findChildren<QLabel*>().back()->text();
  EXPECT_TRUE(text.contains("Znak STOP")) << text.toStdString();
  EXPECT_TRUE(text.contains("Jednostka: m")) << text.toStdString();
  const auto block = WczytajBlok(library_, "Znak STOP");
  ASSERT_TRUE(block && *block);
  EXPECT_TRUE(text.contains(QString("obiektów: %1").arg(EntityCount((*block)->lines))));
  const QPixmap picture = preview->findChildren<QLabel*>().front()->pixmap();
  EXPECT_EQ(picture.size(), BlockBrowser::kPreviewSize);
  EXPECT_GT(NonWhitePixels(picture), 200);
  // Nothing is loaded by selecting, and the preview goes when the block is loaded.
  EXPECT_TRUE(window_->editor().block().drawing().IsBlank());
  Click("B_WczytajBlok");
  EXPECT_FALSE(window_->editor().block().drawing().IsBlank());
  EXPECT_FALSE(preview->isVisible());
}

TEST_F(BlockBrowserTest, SavedBlockGetsANewPicture) {
  OpenLibrary();
  Settle();
  LoadBlock("Hydrant");
  const int row = List()->currentRow();
  const QImage before = Picture(List()->item(row)).toImage();
  const QImage other = Picture(List()->item(row + 1)).toImage();
  window_->editor().block().DodajObiekt("P(-5,-5)-(5,5);K(0,0,255);GR(0,10)");
  QApplication::processEvents();
  dialogs_.Expect(ModalDialogs::Press("Button1"));  // "Tak" to "Taki blok już istnieje! Nadpisać?"
  Click("Bt_ZapiszBlok");
  Settle();
  EXPECT_NE(Picture(List()->item(row)).toImage(), before);
  EXPECT_GT(CountPixels(Picture(List()->item(row)).toImage(), 0xFF0000), 10);  // the blue frame
  EXPECT_EQ(Picture(List()->item(row + 1)).toImage(), other);
}

// A library far larger than the screen: names at once, pictures for what is seen and near it,
// and never more pictures held than the cache keeps.
TEST_F(BlockBrowserTest, LargeLibraryMakesPicturesForWhatIsOnScreen) {
  constexpr int kBlocks = 3000;
  OpenLargeLibrary(kBlocks, [](int i) {
    return std::vector<std::string>{"O(0,0," + std::to_string(1 + i) + ")", "L(0,0)-(60,30)"};
  });
  Settle();
  EXPECT_FALSE(Picture(List()->item(0)).isNull());
  EXPECT_TRUE(Picture(List()->item(kBlocks - 1)).isNull());
  EXPECT_LT(PicturedRows(), 200);

  QScrollBar* bar = List()->verticalScrollBar();
  for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
    bar->setValue(value);
    Settle();
  }
  bar->setValue(bar->maximum());
  Settle();
  EXPECT_FALSE(Picture(List()->item(kBlocks - 1)).isNull());
  EXPECT_LE(PicturedRows(), static_cast<int>(BlockBrowser::kCachedPictures));
  EXPECT_GT(PicturedRows(), 0);

  // Narrowed from down there, the list shows its first rows, with their pictures.
  TypeFilter("blok 129");
  ASSERT_EQ(List()->count(), 100);
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  Settle();
  EXPECT_FALSE(Picture(List()->item(0)).isNull());
}

// Ten thousand blocks scrolled and filtered while the library is still being read and its
// pictures made, as a user does not wait: the reading thread and the window's share nothing
// unguarded (the thread build runs this under ThreadSanitizer), and the end is as if the user
// had waited.
TEST_F(BlockBrowserTest, ScrolledAndFilteredWhileReadingAndPicturing) {
  constexpr int kBlocks = 10000;
  OpenLargeLibrary(kBlocks, [](int i) {
    return std::vector<std::string>{"O(0,0," + std::to_string(1 + i % 7) + ")", "L(0,0)-(60,30)",
                                    "T(0,0,'Studzienka " + std::to_string(i) + "',1,1,0)"};
  });
  QScrollBar* bar = List()->verticalScrollBar();
  for (int step = 0; step < 60; ++step) {
    bar->setValue((step * 7919) % (bar->maximum() + 1));
    if (step == 30) TypeFilter("blok 1");
    if (step == 45) Find<QLineEdit>("E_FiltrBlokow")->clear();
    QCoreApplication::processEvents();
  }
  bar->setValue(bar->maximum());
  Settle();
  EXPECT_EQ(List()->count(), kBlocks);
  EXPECT_FALSE(Picture(List()->item(kBlocks - 1)).isNull());
  EXPECT_LE(PicturedRows(), static_cast<int>(BlockBrowser::kCachedPictures));
}

TEST_F(BlockBrowserTest, OpeningAFileEmptiesTheFilter) {
  OpenLibrary();
  TypeFilter("studz");
  ASSERT_EQ(Rows().size(), 1);
  OpenLibrary();
  EXPECT_TRUE(Find<QLineEdit>("E_FiltrBlokow")->text().isEmpty());
  EXPECT_EQ(Rows().size(), 7);
}

// A list longer than the screen: the row of a block loaded or saved is current and scrolled to,
// wherever the user had scrolled.
TEST_F(BlockBrowserTest, LoadedOrSavedBlocksRowIsCurrentAndVisible) {
  std::string bytes;
  for (int i = 0; i < 200; ++i) {
    const BlockToSave block{"Blok " + std::to_string(1000 + 2 * i), "m", {"O(0,0,1)"}};
    for (const std::string& line : BlockRecordLines(block)) bytes += Utf8ToCp1250(line) + "\r\n";
  }
  const auto big = dir_ / "Bloki" / "duza.blk";
  ASSERT_TRUE(ReplaceFileContents(big, bytes));
  dialogs_.Expect(ModalDialogs::ChooseFile(big));
  Click("B_OtworzPlik");
  QScrollBar* bar = List()->verticalScrollBar();
  const auto shown = [&](int row) {
    return List()->viewport()->rect().contains(List()->visualItemRect(List()->item(row)));
  };

  List()->setCurrentRow(150);  // "Blok 1300"
  bar->setValue(0);
  ASSERT_FALSE(shown(150));
  Click("B_WczytajBlok");
  EXPECT_EQ(window_->editor().block().block_name(), "Blok 1300");
  EXPECT_EQ(List()->currentRow(), 150);
  EXPECT_TRUE(shown(150));

  bar->setValue(0);
  window_->editor().block().SetBlockName("Blok 1301");
  window_->editor().block().DodajObiekt("O(0,0,2)");
  Click("Bt_ZapiszBlok");
  ASSERT_EQ(List()->count(), 201);
  EXPECT_EQ(List()->currentRow(), 151);
  EXPECT_EQ(List()->currentItem()->text(), "Blok 1301");
  EXPECT_TRUE(shown(151));
}

// The preview belongs to the list: it goes as soon as the user is elsewhere.
TEST_F(BlockBrowserTest, PreviewGoesWhenTheUserLeavesTheList) {
  OpenLibrary();
  Settle();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  auto* preview = Find<QFrame>("PodgladBloku");
  struct Case {
    const char* how;
    std::function<void()> leave;
  };
  const Case cases[] = {
      {"pointer leaves the list",
       [&] {
         QEvent leave(QEvent::Leave);
         QApplication::sendEvent(List(), &leave);
       }},
      {"focus goes to the command entry", [&] { Find<QLineEdit>("E_Polecenie")->setFocus(); }},
      {"click in the drawing",
       [&] { QTest::mouseClick(&window_->podglad(), Qt::LeftButton, {}, QPoint(200, 200)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    List()->setFocus();
    ASSERT_TRUE(List()->hasFocus());
    List()->setCurrentRow(-1);
    List()->setCurrentRow(2);
    ASSERT_TRUE(preview->isVisible());
    c.leave();
    EXPECT_FALSE(preview->isVisible());
    // Nothing brings it back until a row is chosen again.
    QApplication::processEvents();
    EXPECT_FALSE(preview->isVisible());
  }
}

// Blocks that draw the same are marked beside their pictures, the tooltip naming the others.
TEST_F(BlockBrowserTest, TwinsAreMarkedAndNamed) {
  std::string bytes;
  for (const BlockToSave& block : {BlockToSave{"Aaa", "m", {"O(0,0,1)", "L(0,0)-(1,1)"}},
                                   BlockToSave{"Bbb", "m", {"L(0,0)-(1,1)", "O(0,0,1.00001)"}},
                                   BlockToSave{"Ccc", "m", {"O(0,0,2)"}}}) {
    for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
  }
  const auto twins = dir_ / "Bloki" / "blizniaki.blk";
  ASSERT_TRUE(ReplaceFileContents(twins, bytes));
  dialogs_.Expect(ModalDialogs::ChooseFile(twins));
  Click("B_OtworzPlik");
  Settle();
  ASSERT_EQ(Rows(), QStringList({"Aaa", "Bbb", "Ccc"}));
  const auto marked = [&](int row) {
    return List()->item(row)->data(BlockBrowser::kTwinRole).toBool();
  };
  EXPECT_TRUE(marked(0));
  EXPECT_EQ(List()->item(0)->toolTip(), "Ten sam rysunek co: Bbb");
  EXPECT_TRUE(marked(1));
  EXPECT_EQ(List()->item(1)->toolTip(), "Ten sam rysunek co: Aaa");
  EXPECT_FALSE(marked(2));
  EXPECT_TRUE(List()->item(2)->toolTip().isEmpty());
  // The mark is drawn on the marked rows alone.
  const QImage shown = List()->viewport()->grab().toImage();
  const auto mark_pixels = [&](int row) {
    const QRect rect = List()->visualItemRect(List()->item(row));
    return CountPixels(shown.copy(rect), 0x0050C0);
  };
  EXPECT_GT(mark_pixels(0), 10);
  EXPECT_EQ(mark_pixels(2), 0);
  // A filtered list marks its rows too.
  TypeFilter("b");
  ASSERT_EQ(Rows(), QStringList({"Bbb"}));
  EXPECT_TRUE(marked(0));
  EXPECT_EQ(List()->item(0)->toolTip(), "Ten sam rysunek co: Aaa");
}

}  // namespace
}  // namespace blok::testing
