// The start panel as it is painted: every line of text inside its red frame.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/frame.h"
#include "ui/painter_canvas.h"

namespace blok {
namespace {

struct Bounds {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  bool Empty() const { return right < 0; }
};

TEST(StartPanelTest, TheFrameHoldsEveryLine) {
  struct Case {
    const char* label;
    StartPanelText text;
  };
  const Case cases[] = {
      {"the program's own", StartPanel()},
      {"short", {"Wskaż plik do edycji.", {"a", "b"}}},
      {"one long line",
       {"Wskaż plik do edycji.",
        {"x", "ta linia jest znacznie dłuższa niż jakakolwiek inna na panelu startowym"}}},
      {"many lines", {"Wskaż plik do edycji.", std::vector<std::string>(14, "linia tekstu")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    QImage image(900, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      PainterCanvas canvas(painter);
      DrawStartPanel(canvas, c.text);
    }
    // The frame is the red; the lines are the dark pixels below the prompt.
    Bounds frame, text;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor colour = image.pixelColor(x, y);
        if (colour == QColor(255, 0, 0)) {
          frame.Add(x, y);
        } else if (y >= 60 && colour.lightness() < 128) {
          text.Add(x, y);
        }
      }
    }
    ASSERT_FALSE(frame.Empty());
    ASSERT_FALSE(text.Empty()) << "no font drew the lines";
    EXPECT_GT(text.left, frame.left);
    EXPECT_GT(text.top, frame.top);
    EXPECT_LT(text.right, frame.right);
    EXPECT_LT(text.bottom, frame.bottom);
    // The frame is drawn for its text: never narrower than the panel of short lines, and no
    // wider than the text with its margins.
    EXPECT_GE(frame.right, 174);
    EXPECT_LE(frame.right, std::max(174, text.right + 40));
  }
}

}  // namespace
}  // namespace blok
