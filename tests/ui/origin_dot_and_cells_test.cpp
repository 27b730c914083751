// Real pixels of what lies at the origin and of characters the font has no strokes for: the
// base-point dot under the entities, and a "€" seen as its cell, on Podglad and in a thumbnail.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "model/angles.h"
#include "ui/block_browser.h"
#include "ui/block_picture.h"
#include "ui/window_fixture.h"
#include "view/renderer.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

using testing::CountPixels;

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlack = 0x000000;

// Whether a pixel of the colour lies within reach pixels of p.
bool ColourNear(const QImage& image, QPoint p, Colour colour, int reach = 1) {
  const QRgb wanted = qRgb(Red(colour), Green(colour), Blue(colour)) & 0xFFFFFF;
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint q = p + QPoint(dx, dy);
      if (image.rect().contains(q) && (image.pixel(q) & 0xFFFFFF) == wanted) return true;
    }
  }
  return false;
}

class OriginAndCellsTest : public testing::WindowTest {
 protected:
  void SetUp() override {
    OpenLibrary();
    Click("Bt_NowyBlok");
  }
  // A new block holding the line, zoomed to everything: the origin a unit from the edges.
  QImage Drawn(const char* line) {
    window_->editor().block().DodajObiekt(line);
    QApplication::processEvents();
    Find<QAction>("BWszystko")->trigger();
    return Image().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(OriginAndCellsTest, CircleAtTheOriginShowsOverTheBasePoint) {
  ASSERT_TRUE(Find<QCheckBox>("CB_PunktBazowy")->isChecked());
  // Radius 0.1: wholly inside the dot of radius 0.12, so a dot drawn after it would hide it.
  const QImage image = Drawn("O(0,0,0.1);K(255,0,0)");
  EXPECT_TRUE(ColourNear(image, Pixel(0.03, 0.06), kBasePointColour, 0)) << "the dot is drawn";
  for (const double degrees : {40.0, 130.0, 220.0, 310.0}) {
    const double a = degrees * kRadiansPerDegree;
    EXPECT_TRUE(ColourNear(image, Pixel(0.1 * std::cos(a), 0.1 * std::sin(a)), kRed)) << degrees;
  }
}

TEST_F(OriginAndCellsTest, EuroShowsItsCell) {
  // The cell is the blank's advance (57.14 units of 0.012) wide, from 0.3 to 1.2 up.
  const QImage image = Drawn("T(0,0,'€',1,1,0)");
  const double right = 57.14 * 0.012;
  EXPECT_TRUE(ColourNear(image, Pixel(right / 2, 0.3), kBlack)) << "bottom";
  EXPECT_TRUE(ColourNear(image, Pixel(right / 2, 1.2), kBlack)) << "top";
  EXPECT_TRUE(ColourNear(image, Pixel(right, 0.75), kBlack)) << "right";
  EXPECT_TRUE(ColourNear(image, Pixel(0, 0.75), kBlack)) << "left";
  EXPECT_FALSE(ColourNear(image, Pixel(right / 2, 0.75), kBlack, 3)) << "an outline, not filled";
}

class ThumbnailTest : public ::testing::Test {
 protected:
  ThumbnailTest() {
    Result<StrokeFont> loaded =
        LoadStrokeFont(std::filesystem::path(BLOK_BIN_DIR) / "Dane" / "Romans100.Lzs");
    EXPECT_TRUE(loaded.has_value());
    font_ = std::make_unique<StrokeFont>(loaded.value_or(StrokeFont{}));
  }
  QImage Thumbnail(const std::vector<std::string>& lines) {
    return BlockPicture(lines, *font_, BlockBrowser::kThumbnailSize)
        .convertToFormat(QImage::Format_RGB32);
  }
  std::unique_ptr<StrokeFont> font_;
};

TEST_F(ThumbnailTest, CircleAtTheOriginKeepsItsColour) {
  const QImage image = Thumbnail({"O(0,0,0.1);K(255,0,0)"});
  // Fitted to the circle: its rightmost point is on the middle row.
  const int row = image.height() / 2;
  int rightmost = -1;
  for (int x = 0; x < image.width(); ++x) {
    if ((image.pixel(x, row) & 0xFFFFFF) == 0xFF0000) rightmost = x;
  }
  EXPECT_GT(rightmost, image.width() / 2);
  EXPECT_EQ(CountPixels(image, kBasePointColour), 0);
}

TEST_F(ThumbnailTest, EuroIsSeen) {
  const QImage image = Thumbnail({"T(0,0,'€',1,1,0);K(0,0,0);GR(0,1)"});
  // Its outline: a row and a column of black.
  int widest_row = 0, tallest_column = 0;
  for (int y = 0; y < image.height(); ++y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0;
    widest_row = std::max(widest_row, n);
  }
  for (int x = 0; x < image.width(); ++x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) n += (image.pixel(x, y) & 0xFFFFFF) == 0;
    tallest_column = std::max(tallest_column, n);
  }
  EXPECT_GT(widest_row, image.width() / 2);
  EXPECT_GT(tallest_column, image.height() / 4);
}

}  // namespace
}  // namespace blok
