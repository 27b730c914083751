#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace blok {

// A pixel of a canvas: x to the right, y downwards from the top left corner.
struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// A straight stroke from (x1, y1) to (x2, y2). Without initial values, so that a batch of them
// on the stack costs nothing until it is filled.
struct PixelLine {
  int x1, y1, x2, y2;
  bool operator==(const PixelLine&) const = default;
};

enum class PenStyle { kSolid, kDotted };
enum class BrushStyle { kSolid, kClear, kDiagonalCross };

// Platform-font text: colour of the letters, and the ground behind them (transparent when empty).
struct TextStyle {
  std::uint32_t colour = 0x000000;
  std::optional<std::uint32_t> background;
  int pixel_height = 0;  // 0: the platform's default size
  bool operator==(const TextStyle&) const = default;
};

// What drawing needs of a bitmap. Colours are 0x00BBGGRR. The pen and the brush are state, set
// piece by piece and kept until changed: previews set a dotted pen and then let the ordinary
// primitives choose colour and width. A pen width of 0 draws the thinnest line there is.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPenColour(std::uint32_t colour) = 0;
  virtual void SetPenWidth(int width) = 0;
  virtual void SetPenStyle(PenStyle style) = 0;
  virtual void SetBrushColour(std::uint32_t colour) = 0;
  virtual void SetBrushStyle(BrushStyle style) = 0;

  // Pen only.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  virtual void Polyline(std::span<const PixelPoint> points) = 0;
  // Lines one after another in the same pen, drawn as that many calls of Line would draw them.
  // A canvas that can put them down in one go, pixel for pixel the same, overrides it.
  virtual void Lines(std::span<const PixelLine> lines) {
    for (const PixelLine& l : lines) Line(l.x1, l.y1, l.x2, l.y2);
  }
  // Outlined with the pen and filled with the brush; the corners span the bounding box.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void Polygon(std::span<const PixelPoint> points) = 0;
  // UTF-8 text with its top left corner at the pixel.
  virtual void Text(int x, int y, std::string_view text, const TextStyle& style) = 0;
  // The width in pixels that Text covers with this text in this style.
  virtual int TextWidth(std::string_view text, const TextStyle& style) = 0;
  // The dotted, inverting rectangle of a drag; drawing it twice removes it.
  virtual void FocusRectangle(int x1, int y1, int x2, int y2) = 0;
};

// Gathers the lines of one pen and hands them to the canvas together: whenever it is full, and
// on Flush, which must come before the pen changes. Fixed storage: a redraw allocates nothing.
class LineBatch {
 public:
  explicit LineBatch(Canvas& canvas) : canvas_(canvas) {}
  LineBatch(const LineBatch&) = delete;
  LineBatch& operator=(const LineBatch&) = delete;
  ~LineBatch() { Flush(); }

  void Add(int x1, int y1, int x2, int y2) {
    if (count_ == kCapacity) Flush();
    lines_[count_++] = {x1, y1, x2, y2};
  }
  void Flush() {
    if (count_ > 0) canvas_.Lines(std::span<const PixelLine>(lines_.data(), count_));
    count_ = 0;
  }

 private:
  static constexpr std::size_t kCapacity = 512;  // a few glyphs' strokes, a circle's chords
  Canvas& canvas_;
  std::array<PixelLine, kCapacity> lines_;
  std::size_t count_ = 0;
};

}  // namespace blok
