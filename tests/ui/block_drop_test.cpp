// A block dragged from Lista bloków onto Podglad, and files from the desktop dropped there too.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include "ui/block_browser.h"
#include "ui/block_drag.h"
#include "ui/window_fixture.h"

namespace blok {
namespace {

constexpr char kBlock[] = "Studzienka kanalizacyjna";  // five entities in the sample library

class BlockDropTest : public testing::WindowTest {
 protected:
  PaintBox& Podglad() { return window_->podglad(); }
  QListWidget* List() { return Find<QListWidget>("LB_NazwaBlokuCzytaj"); }
  // What entering Podglad with the data answered: the action, or nothing when refused.
  std::optional<Qt::DropAction> Enter(const QMimeData& data, QPoint at) {
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&Podglad(), &enter);
    if (!enter.isAccepted()) return std::nullopt;
    return enter.dropAction();
  }
  void Drop(const QMimeData& data, QPoint at) {
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Podglad(), &drop);
  }
  std::unique_ptr<QMimeData> RowData(const QString& name) {
    const auto items = List()->findItems(name, Qt::MatchExactly);
    EXPECT_EQ(items.size(), 1);
    if (items.empty()) return nullptr;
    const QModelIndex index = List()->model()->index(List()->row(items.front()), 0);
    return std::unique_ptr<QMimeData>(List()->model()->mimeData({index}));
  }
};

// A row carries its block's name in our own type and as text, whichever row is current.
TEST_F(BlockDropTest, RowDragsItsBlocksName) {
  OpenLibrary();
  List()->setCurrentRow(0);
  for (const QString name : {"Hydrant", kBlock}) {
    SCOPED_TRACE(name.toStdString());
    const std::unique_ptr<QMimeData> data = RowData(name);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(kBlockMimeType), name.toUtf8());
    EXPECT_EQ(data->text(), name);
  }
  EXPECT_TRUE(List()->model()->mimeTypes().contains(kBlockMimeType));
  // A copy only: a move would take the row out of the list.
  EXPECT_EQ(List()->defaultDropAction(), Qt::CopyAction);
}

// Pressed on a row, the mouse starts a drag only once it has gone the desktop's drag distance: a
// shaking hand still clicks. The drag takes the preview off the drawing it would hide.
TEST_F(BlockDropTest, DragStartsPastTheDragDistance) {
  OpenLibrary();
  auto* browser = window_->findChild<BlockBrowser*>("PanelListaBlokow");
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->busy(); }));
  QWidget* viewport = List()->viewport();
  QWidget* preview = Find<QWidget>("PodgladBloku");
  const auto dragging = [&] { return !List()->findChildren<QDrag*>().isEmpty(); };
  const QPoint row = List()->visualItemRect(List()->item(1)).center();
  QTest::mousePress(viewport, Qt::LeftButton, {}, row);
  EXPECT_EQ(List()->currentRow(), 1);
  EXPECT_TRUE(preview->isVisible());
  const int distance = QApplication::startDragDistance();
  QTest::mouseMove(viewport, row + QPoint(0, distance / 2));
  QTest::mouseMove(viewport, row + QPoint(distance / 2, distance / 2));
  EXPECT_FALSE(dragging());
  EXPECT_TRUE(preview->isVisible());
  QTest::mouseMove(viewport, row + QPoint(0, distance + 2));
  EXPECT_TRUE(dragging());
  EXPECT_FALSE(preview->isVisible());
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, row);
  EXPECT_EQ(List()->currentRow(), 1);
}

// Podglad takes a block as a copy and tells the window the block and the pixel; text alone is
// taken by nobody.
TEST_F(BlockDropTest, PodgladTakesOnlyBlocks) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  QSignalSpy dropped(&Podglad(), &PaintBox::blockDropped);
  const std::unique_ptr<QMimeData> block = RowData(kBlock);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(Enter(*block, {120, 90}), std::optional(Qt::CopyAction));
  Drop(*block, {120, 90});
  ASSERT_EQ(dropped.size(), 1);
  EXPECT_EQ(dropped[0], (QVariantList{QString(kBlock), 120, 90}));

  QMimeData text;
  text.setText(kBlock);
  EXPECT_EQ(Enter(text, {120, 90}), std::nullopt);
  Drop(text, {120, 90});
  EXPECT_EQ(dropped.size(), 1);
}

// The dropped block is placed in the drawing as one step of Cofnij.
TEST_F(BlockDropTest, DroppedBlockIsInsertedAsOneStep) {
  OpenLibrary();
  Click("Bt_NowyBlok");
  const std::unique_ptr<QMimeData> block = RowData(kBlock);
  ASSERT_NE(block, nullptr);
  ASSERT_TRUE(window_->editor().block().drawing().lines().empty());
  // A drop goes to the widget that took the drag as it entered.
  ASSERT_EQ(Enter(*block, Pixel(1, 1)), std::optional(Qt::CopyAction));
  Drop(*block, Pixel(1, 1));
  // Queued behind the drop; QtTest's QTRY macros would fail unseen by gtest.
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return !window_->editor().block().drawing().lines().empty(); }));
  EXPECT_EQ(window_->editor().block().drawing().lines().size(), 5u);
  Find<QAction>("BCofnij")->trigger();
  EXPECT_TRUE(window_->editor().block().drawing().lines().empty());
}

// A library from the file manager still opens when it is let go over the drawing.
TEST_F(BlockDropTest, LibraryDroppedOnPodgladOpens) {
  const std::filesystem::path other = dir_ / "Bloki" / "inna.blk";
  std::filesystem::copy_file(library_, other);
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(QString::fromStdString(other.string()))});
  EXPECT_NE(Enter(file, {100, 100}), std::nullopt);
  Drop(file, {100, 100});
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->editor().library().open_file() == other; }));
  EXPECT_EQ(window_->editor().library().open_file(), std::optional(other));
}

}  // namespace
}  // namespace blok
