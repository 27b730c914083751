// The lines a redraw hands to PainterCanvas in batches come out pixel for pixel as they did one
// call each: both ways draw the same entities onto images of their own, which must be equal.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "support/built_font.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"

namespace blok {
namespace {

// The painter as it was before batches: every line of a batch is a drawLine of its own.
class LineByLineCanvas : public PainterCanvas {
 public:
  using PainterCanvas::PainterCanvas;
  void Lines(std::span<const PixelLine> lines) override { Canvas::Lines(lines); }
};

struct Case {
  const char* name;
  std::vector<std::string> lines;
  double scale;  // world units per 1000 pixels
  PenStyle style;
  QImage::Format format;
  double pixel_ratio = 1;  // device pixels a pixel of the drawing
  bool clipped = false;    // to the left of the image, through the strokes
};

template <typename Painter>
QImage Draw(const Case& c) {
  QImage image(400, 300, c.format);
  image.fill(Qt::white);
  image.setDevicePixelRatio(c.pixel_ratio);
  ViewTransform view;
  view.SetViewSize(static_cast<int>(image.width() / c.pixel_ratio),
                   static_cast<int>(image.height() / c.pixel_ratio));
  view.SetScale(c.scale);
  const std::vector<ParsedEntity> records = ParseLines(c.lines);
  QPainter painter(&image);
  if (c.clipped) painter.setClipRect(0, 0, 180, 300);
  Painter canvas(painter);
  canvas.SetPenStyle(c.style);
  ReadingDefaults defaults;
  DrawEntities(canvas, view, records, testing::BuiltRomans(), defaults);
  return image;
}

int Differing(const QImage& a, const QImage& b) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

int Inked(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
  }
  return count;
}

const std::vector<std::string> kMixed = {
    "T(-15,2,'Studzienka ąęś 17',1.2,1,15);K(0,0,255)",
    "LUK(3,-2,6,20,250);K(0,128,0)",
    "O(-5,-3,4.5);K(255,0,0)",
    "L(-18,-9)-(18,9);K(0,0,0)",
    "L(-18,9)-(18,-9.3);K(255,0,255)",
};

TEST(BatchedLinesTest, DrawTheSamePixelsAsOneLineAtATime) {
  const std::string long_text(70, 'W');
  const Case cases[] = {
      {"thin", kMixed, 100, PenStyle::kSolid, QImage::Format_RGB32},
      {"wide",
       {"GR(0.5)", kMixed[0], kMixed[1], "GR(1)", kMixed[2], kMixed[3]},
       100,
       PenStyle::kSolid,
       QImage::Format_RGB32},
      {"dotted", kMixed, 100, PenStyle::kDotted, QImage::Format_RGB32},
      {"wide dotted",
       {"GR(0.5)", kMixed[0], kMixed[1], kMixed[2]},
       100,
       PenStyle::kDotted,
       QImage::Format_RGB32},
      // More strokes than one batch holds.
      {"long text",
       {"T(-19,-5,'" + long_text + "',1.5,0.8,10)"},
       100,
       PenStyle::kSolid,
       QImage::Format_RGB32},
      // Texts and circles of different colours over one another, on a transparent overlay.
      {"overlapping",
       {"T(-4,0,'OOOO',3,3,0);K(255,0,0)", "O(0,1,2);K(0,0,255)",
        "T(-3,-1,'XXXX',3,3,0);K(0,160,0)", "O(1,0,2.5);K(0,0,0)"},
       50,
       PenStyle::kSolid,
       QImage::Format_ARGB32_Premultiplied},
      {"small", kMixed, 400, PenStyle::kSolid, QImage::Format_RGB32},
      // Strokes of a pixel and less, most of them.
      {"tiny", kMixed, 1500, PenStyle::kSolid, QImage::Format_RGB32},
      {"tiny on an overlay", kMixed, 1500, PenStyle::kSolid, QImage::Format_ARGB32_Premultiplied},
      // Short strokes cut by the image's edges.
      {"across the edges",
       {"T(-21,-15.5,'Studzienka 7',1,0.8,30)", "T(18,13,'Studzienka 8',1,0.8,200)",
        "O(19.5,14.5,1.5)", "LUK(-20,15,1,0,270)"},
       100,
       PenStyle::kSolid,
       QImage::Format_RGB32},
      // A picture for a screen of two device pixels a pixel: a pixel of the drawing is four.
      {"twice the pixels", kMixed, 400, PenStyle::kSolid, QImage::Format_RGB32, 2},
      {"twice the pixels, tiny", kMixed, 1500, PenStyle::kSolid, QImage::Format_RGB32, 2},
      {"clipped", kMixed, 400, PenStyle::kSolid, QImage::Format_RGB32, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage batched = Draw<PainterCanvas>(c);
    const QImage one_by_one = Draw<LineByLineCanvas>(c);
    EXPECT_GT(Inked(one_by_one), 60);  // something to compare
    EXPECT_EQ(Differing(batched, one_by_one), 0);
  }
}

}  // namespace
}  // namespace blok
