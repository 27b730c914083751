// A solid hatch brought in from DXF and drawn by blk render: the area comes out solid at any
// zoom, its fill lines as far apart as they are drawn wide.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <string>

#include "support/blk_runner.h"
#include "support/dxf_drawing.h"
#include "support/test_dir.h"

namespace blok::testing {
namespace {

// A solid hatch of a square, 1 m a side, of the line weight given (hundredths of a millimetre).
std::string SolidSquare(const std::string& lineweight) {
  return ModelSpaceDxf(
      "0\nHATCH\n8\n0\n370\n" + lineweight +
      "\n10\n0\n20\n0\n30\n0\n2\nSOLID\n70\n1\n71\n0\n91\n1\n92\n2\n72\n0\n73\n1\n93\n4\n"
      "10\n0\n20\n0\n10\n1\n20\n0\n10\n1\n20\n1\n10\n0\n20\n1\n97\n0\n75\n0\n76\n1\n98\n0\n");
}

bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

TEST(BlkHatchPicture, ASolidHatchIsDrawnSolidAtEveryZoom) {
  const struct {
    std::string lineweight;
    int size;
  } cases[] = {{"-1", 200}, {"-1", 800}, {"-1", 3000}, {"50", 800}, {"50", 3000}};
  TestDir dir;
  for (const auto& c : cases) {
    const std::string what = c.lineweight + " at " + std::to_string(c.size);
    SCOPED_TRACE(what);
    const auto dxf = dir / "kwadrat.dxf";
    const auto library = dir / ("kwadrat" + c.lineweight + ".blk");
    WriteBytes(dxf, SolidSquare(c.lineweight));
    std::filesystem::remove(library);
    const BlkRun imported = BlkWithInput("import " + dxf.string() + " " + library.string());
    ASSERT_EQ(imported.status, 0) << imported.err;
    const std::string size = std::to_string(c.size);
    const auto png = dir / "kwadrat.png";
    const BlkRun drawn = BlkWithInput("render " + library.string() + " kwadrat -o " + png.string() +
                                      " --plain --size " + size + "x" + size);
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    const QImage image(QString::fromStdString(png.string()));
    ASSERT_FALSE(image.isNull());
    // The square's picture: where the dark pixels are.
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (!Dark(image.pixel(x, y))) continue;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
    ASSERT_GT(right - left, c.size / 4);
    // Inside its edges (and clear of the corners a thick boundary leaves cut) no pixel is light.
    const int margin = c.size / 30;
    int light = 0;
    for (int y = top + margin; y <= bottom - margin; ++y) {
      for (int x = left + margin; x <= right - margin; ++x)
        light += Dark(image.pixel(x, y)) ? 0 : 1;
    }
    EXPECT_EQ(light, 0);
  }
}

}  // namespace
}  // namespace blok::testing
