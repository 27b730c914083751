// The paint box Podglad as the user sees it: real pixels of its image and overlay composed on
// screen, and full frames drawn once per paint however often they were asked for.
#include "ui/paint_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "ui/window_fixture.h"

namespace blok {
namespace {

using testing::CountPixels;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kYellow = 0x00FFFF;
// The smallest the box gets.
constexpr int kWidth = 200;
constexpr int kHeight = 150;

QRgb Rgb(Colour c) { return qRgb(Red(c), Green(c), Blue(c)); }

// Pixels of a row (or a column) of the screen that differ from the ground.
int ChangedInRow(const QImage& screen, int y, int x1, int x2, QRgb ground) {
  int changed = 0;
  for (int x = x1; x <= x2; ++x) changed += (screen.pixel(x, y) & 0xFFFFFF) != (ground & 0xFFFFFF);
  return changed;
}

int ChangedInColumn(const QImage& screen, int x, int y1, int y2, QRgb ground) {
  int changed = 0;
  for (int y = y1; y <= y2; ++y) changed += (screen.pixel(x, y) & 0xFFFFFF) != (ground & 0xFFFFFF);
  return changed;
}

class PaintBoxTest : public ::testing::Test {
 protected:
  PaintBoxTest() {
    box_.resize(kWidth, kHeight);
    box_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&box_));
  }

  // A full frame of one colour.
  void Frame(Colour ground) {
    Canvas& image = box_.ImageCanvas();
    image.SetBrushStyle(BrushStyle::kSolid);
    image.SetBrushColour(ground);
    image.SetPenColour(ground);
    image.Rectangle(0, 0, box_.width(), box_.height());
    box_.Present();
  }

  // What the box shows on screen.
  QImage Screen() { return box_.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  PaintBox box_;
};

TEST_F(PaintBoxTest, FocusRectangleShowsOnAnyGround) {
  for (const Colour ground : {kWhite, kBlack, kRed, 0x808080u}) {
    Frame(ground);
    box_.RestoreView();
    box_.OverlayCanvas().FocusRectangle(20, 30, 120, 90);
    const QImage screen = Screen();
    // The outline runs from the first corner to one pixel short of the second; at least
    // every other pixel of each side stands out.
    EXPECT_GE(ChangedInRow(screen, 30, 20, 119, Rgb(ground)), 50) << std::hex << ground;
    EXPECT_GE(ChangedInRow(screen, 89, 20, 119, Rgb(ground)), 50) << std::hex << ground;
    EXPECT_GE(ChangedInColumn(screen, 20, 30, 89, Rgb(ground)), 30) << std::hex << ground;
    EXPECT_GE(ChangedInColumn(screen, 119, 30, 89, Rgb(ground)), 30) << std::hex << ground;
    // Inside and outside, nothing.
    EXPECT_EQ(ChangedInRow(screen, 60, 22, 117, Rgb(ground)), 0) << std::hex << ground;
    EXPECT_EQ(ChangedInRow(screen, 28, 0, kWidth - 1, Rgb(ground)), 0) << std::hex << ground;
    EXPECT_EQ(ChangedInColumn(screen, 120, 0, kHeight - 1, Rgb(ground)), 0) << std::hex << ground;
  }
}

TEST_F(PaintBoxTest, FocusRectangleDrawnTwiceIsGone) {
  Frame(kWhite);
  box_.RestoreView();
  for (const auto& [x1, y1, x2, y2] :
       {std::tuple{20, 30, 120, 90}, std::tuple{5, 5, 6, 50}, std::tuple{40, 40, 40, 40}}) {
    box_.OverlayCanvas().FocusRectangle(x1, y1, x2, y2);
    box_.OverlayCanvas().FocusRectangle(x1, y1, x2, y2);
    EXPECT_EQ(CountPixels(Screen(), kWhite), kWidth * kHeight) << x1 << "," << y1;
  }
}

TEST_F(PaintBoxTest, DottedLineAndLabelGroundShowOnTheOverlay) {
  Frame(kWhite);
  box_.RestoreView();
  Canvas& overlay = box_.OverlayCanvas();
  overlay.SetPenColour(kRed);
  overlay.SetPenWidth(1);
  overlay.SetPenStyle(PenStyle::kDotted);
  overlay.Line(10, 100, 150, 100);
  overlay.Text(10, 10, "X=12,50 Y=3,00", TextStyle{kBlack, kYellow, 0});
  const QImage screen = Screen();
  const int red = CountPixels(screen.copy(10, 100, 140, 1), kRed);
  EXPECT_GT(red, 30);   // there is a line
  EXPECT_LT(red, 120);  // with gaps in it
  EXPECT_EQ(CountPixels(screen.copy(0, 99, kWidth, 3), kRed), red);
  EXPECT_GT(CountPixels(screen, kYellow), 100);
}

// A selection shown in place is the entity dotted over itself: the gaps are the paper's colour,
// or nothing would show. A hatched frame keeps a clear ground: the drawing shows through it.
TEST_F(PaintBoxTest, DottedLineOverItselfShowsItsGapsAndHatchingLetsTheDrawingThrough) {
  Frame(kWhite);
  Canvas& image = box_.ImageCanvas();
  image.SetPenColour(kBlack);
  image.SetPenWidth(1);
  image.SetPenStyle(PenStyle::kSolid);
  image.Line(10, 100, 150, 100);
  image.Line(10, 40, 150, 40);
  box_.Present();
  box_.RestoreView();
  Canvas& overlay = box_.OverlayCanvas();
  overlay.SetPenColour(kBlack);
  overlay.SetPenStyle(PenStyle::kDotted);
  overlay.Line(10, 100, 150, 100);
  overlay.SetPenStyle(PenStyle::kSolid);
  overlay.SetBrushStyle(BrushStyle::kDiagonalCross);
  overlay.SetBrushColour(kRed);
  overlay.Rectangle(5, 20, 160, 60);
  const QImage screen = Screen();
  const int black = CountPixels(screen.copy(10, 100, 140, 1), kBlack);
  EXPECT_GT(black, 30);   // the dots
  EXPECT_LT(black, 120);  // and white between them
  // Under the hatching the line drawn before is still there, where the hatch leaves it.
  EXPECT_GT(CountPixels(screen.copy(10, 40, 140, 1), kBlack), 40);
}

TEST_F(PaintBoxTest, FrameKeepsTheOverlayDrawnSinceTheRequest) {
  Frame(kWhite);
  box_.RestoreView();  // a redraw is asked for: previews go now
  box_.OverlayCanvas().Text(10, 10, "P1", TextStyle{kBlack, kYellow, 0});
  Frame(kWhite);  // the frame comes later
  EXPECT_GT(CountPixels(Screen(), kYellow), 20);
}

TEST_F(PaintBoxTest, FrameHookRunsAtEveryPaintBeforeTheImageIsShown) {
  int frames_asked = 0;
  box_.SetFrameHook([&] {
    ++frames_asked;
    Frame(kRed);
  });
  const QImage screen = Screen();
  EXPECT_EQ(frames_asked, 1);
  EXPECT_EQ(CountPixels(screen, kRed), kWidth * kHeight);
  box_.SetFrameHook(nullptr);
}

// Made smaller and larger again, the box shows neither an old frame nor an old preview: white
// until a frame comes, then the frame over all of it.
TEST_F(PaintBoxTest, ResizedBoxShowsNothingOfItsOldFramesOrPreviews) {
  for (const auto& [width, height] : {std::pair{400, 300}, std::pair{220, 160}, std::pair{230, 290},
                                      std::pair{500, 320}, std::pair{kWidth, kHeight}}) {
    Frame(kRed);
    box_.OverlayCanvas().Text(5, 5, "P1", TextStyle{kBlack, kYellow, 0});
    box_.resize(width, height);
    ASSERT_EQ(box_.image().size(), QSize(width, height));
    EXPECT_EQ(CountPixels(Screen(), kWhite), width * height) << width << "x" << height;
    Frame(kBlack);
    EXPECT_EQ(CountPixels(Screen(), kBlack), width * height) << width << "x" << height;
  }
}

// The paint box in the window, drawing what the Editor asks for.
class PodgladTest : public testing::WindowTest {
 protected:
  PaintBox& Box() { return window_->podglad(); }

  // Lets the event loop run until the box has painted a frame, or a while when none comes.
  void LetItPaint(uint64_t frames_before) {
    // No frame is a result the caller checks, not a failure here.
    (void)QTest::qWaitFor([&] { return Box().frames_presented() > frames_before; }, 500);
    QCoreApplication::processEvents();
  }

  void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint p) {
    QMouseEvent event(type, QPointF(p), Box().mapToGlobal(QPointF(p)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&Box(), &event);
  }
};

TEST_F(PodgladTest, RedrawRequestsBeforeAPaintMakeOneFrame) {
  Image();
  const uint64_t frames = Box().frames_presented();
  for (int i = 0; i < 3; ++i) window_->editor().view().Redraw();
  EXPECT_EQ(Box().frames_presented(), frames);  // asked for, not drawn yet
  LetItPaint(frames);
  EXPECT_EQ(Box().frames_presented(), frames + 1);
  Image();  // a paint with no frame due shows the old one
  EXPECT_EQ(Box().frames_presented(), frames + 1);
}

TEST_F(PodgladTest, MouseMovesDrawNoFrame) {
  Image();
  const uint64_t frames = Box().frames_presented();
  for (int x = 300; x < 320; x += 5) Mouse(QEvent::MouseMove, Qt::NoButton, {}, QPoint(x, 200));
  LetItPaint(frames);
  EXPECT_EQ(Box().frames_presented(), frames);
}

TEST_F(PodgladTest, ZoomWindowRubberBandIsSeen) {
  Image();
  const QImage before = Box().grab().toImage().convertToFormat(QImage::Format_RGB32);
  window_->editor().view().BeginZoomWindow();
  Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(300, 150));
  Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(420, 240));
  const QImage after = Box().grab().toImage().convertToFormat(QImage::Format_RGB32);
  int top = 0;
  int left = 0;
  int inside = 0;
  for (int x = 300; x < 420; ++x) top += after.pixel(x, 150) != before.pixel(x, 150);
  for (int y = 150; y < 240; ++y) left += after.pixel(300, y) != before.pixel(300, y);
  for (int x = 305; x < 415; ++x) inside += after.pixel(x, 200) != before.pixel(x, 200);
  EXPECT_GE(top, 55);
  EXPECT_GE(left, 40);
  EXPECT_EQ(inside, 0);
  Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, {}, QPoint(420, 240));
}

}  // namespace
}  // namespace blok
