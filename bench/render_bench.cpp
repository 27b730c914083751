// Full redraws of a 10,000-entity block onto a 1920x1080 image, each beside a baseline that
// replays the very same QPainter calls (recorded once: already parsed, culled and mapped to
// pixels, with the canvas's own pens, brushes and text). The frame over its replay is the cost
// of walking the records and mapping them; the replay draws a picture identical to the frame's,
// which the run checks pixel by pixel. Three views: zoom to everything with thin pens, a zoom of
// 8x with wide pens, and a zoom into a corner that leaves most entities off screen, whose frame
// must cost about what drawing the few in view costs: the thousands passed over cost next to
// nothing. The ratios are of CPU time: the drawing is single-threaded, and a shared machine
// makes wall time noisy.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/numbers.h"
#include "ratio_reporter.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::string Number(double v) { return FormatPattern(v, kValuePattern); }

// Lines, circles, arcs and texts scattered over -50..50, a quarter without a colour and
// thickness of their own; a colour or thickness command every thousand lines.
std::vector<std::string> MakeBlock(int count, bool wide_pens) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-50, 50);
  std::uniform_real_distribution<double> size(0.2, 5);
  std::uniform_int_distribution<int> angle(0, 359);
  const char* thin[] = {";K(0,0,0);GR(0,10)", ";K(255,0,0);GR(0,25)", ";K(0,128,0);GR(0.5)", ""};
  const char* wide[] = {";K(0,0,0);GR(1)", ";K(255,0,0);GR(2,5)", ";K(0,128,0);GR(1.5)", ""};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    const std::string tail = (wide_pens ? wide : thin)[i % 4];
    switch (i % 4) {
      case 0:
        lines.push_back("L(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                        ")-(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                        ")" + tail);
        break;
      case 1:
        lines.push_back("O(" + Number(coordinate(random)) + "," + Number(coordinate(random)) + "," +
                        Number(size(random)) + ")" + tail);
        break;
      case 2:
        lines.push_back("LUK(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                        "," + Number(size(random)) + "," + std::to_string(angle(random)) + "," +
                        std::to_string(angle(random)) + ")" + tail);
        break;
      default:
        lines.push_back("T(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                        ",'Studzienka " + std::to_string(i) + "',0.6,0.5," +
                        std::to_string(angle(random)) + ")" + tail);
        break;
    }
    if (i % 1000 == 999) {
      lines.push_back(i % 2000 == 999 ? "K(0,0,128)" : wide_pens ? "GR(2)" : "GR(0,35)");
    }
  }
  return lines;
}

// One QPainter call as PainterCanvas makes it, with the pen and brush it applies first (only
// when they changed, as a hand-written QPainter loop would).
struct Primitive {
  enum Kind { kLine, kRectangle, kEllipse, kPolyline, kPolygon, kText } kind;
  std::optional<QPen> pen;
  std::optional<QBrush> brush;
  QPolygon points;
  QRect box;
  // Text only.
  QString text;
  QColor text_colour;
  std::optional<QColor> text_background;
  int pixel_height = 0;
};

// Records the calls PainterCanvas would make: the same pen (round caps and joins, width 0 for
// the thinnest), the same brush, the same boxes with their far edge excluded, the same text.
class RecordingPrimitives : public Canvas {
 public:
  std::vector<Primitive> primitives;

  void SetPenColour(std::uint32_t c) override { pen_colour_ = ToQColor(c); }
  void SetPenWidth(int w) override { pen_width_ = w; }
  void SetPenStyle(PenStyle s) override { pen_style_ = s; }
  void SetBrushColour(std::uint32_t c) override { brush_colour_ = ToQColor(c); }
  void SetBrushStyle(BrushStyle s) override { brush_style_ = s; }

  void Line(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kLine, false).points = QPolygon({QPoint(x1, y1), QPoint(x2, y2)});
  }
  void Polyline(std::span<const PixelPoint> p) override {
    Add(Primitive::kPolyline, false).points = Points(p);
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kRectangle, true).box = Box(x1, y1, x2, y2);
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kEllipse, true).box = Box(x1, y1, x2, y2);
  }
  void Polygon(std::span<const PixelPoint> p) override {
    Add(Primitive::kPolygon, true).points = Points(p);
  }
  void Text(int x, int y, std::string_view text, const TextStyle& style) override {
    Primitive p{Primitive::kText, {}, {}, {}, QRect(x, y, 100000, 100000), {}, {}, {}, 0};
    p.text = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    p.text_colour = ToQColor(style.colour);
    if (style.background) p.text_background = ToQColor(*style.background);
    p.pixel_height = style.pixel_height;
    primitives.push_back(std::move(p));
  }
  int TextWidth(std::string_view, const TextStyle&) override {
    return 0;
  }  // nothing here lays text out
  void FocusRectangle(int, int, int, int) override {}

 private:
  static QPolygon Points(std::span<const PixelPoint> p) {
    QPolygon out(static_cast<int>(p.size()));
    for (size_t i = 0; i < p.size(); ++i) out.setPoint(static_cast<int>(i), p[i].x, p[i].y);
    return out;
  }
  static QRect Box(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    return QRect(x1, y1, std::max(0, x2 - x1 - 1), std::max(0, y2 - y1 - 1));
  }
  QPen CurrentPen() const {
    QPen pen(pen_colour_);
    pen.setWidth(pen_width_ <= 1 ? 0 : pen_width_);
    pen.setStyle(pen_style_ == PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
  }
  QBrush CurrentBrush() const {
    switch (brush_style_) {
      case BrushStyle::kSolid:
        return QBrush(brush_colour_, Qt::SolidPattern);
      case BrushStyle::kClear:
        return QBrush(Qt::NoBrush);
      case BrushStyle::kDiagonalCross:
        return QBrush(brush_colour_, Qt::DiagCrossPattern);
    }
    return {};
  }
  Primitive& Add(Primitive::Kind kind, bool with_brush) {
    Primitive p{kind, {}, {}, {}, {}, {}, {}, {}, 0};
    if (const QPen pen = CurrentPen(); !applied_pen_ || *applied_pen_ != pen) {
      p.pen = applied_pen_ = pen;
    }
    if (with_brush) {
      if (const QBrush brush = CurrentBrush(); !applied_brush_ || *applied_brush_ != brush) {
        p.brush = applied_brush_ = brush;
      }
    }
    primitives.push_back(std::move(p));
    return primitives.back();
  }

  QColor pen_colour_{Qt::black};
  int pen_width_ = 1;
  PenStyle pen_style_ = PenStyle::kSolid;
  QColor brush_colour_{Qt::white};
  BrushStyle brush_style_ = BrushStyle::kSolid;
  std::optional<QPen> applied_pen_;
  std::optional<QBrush> applied_brush_;
};

void Replay(QPainter& painter, const std::vector<Primitive>& primitives) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (const Primitive& p : primitives) {
    if (p.pen) painter.setPen(*p.pen);
    if (p.brush) painter.setBrush(*p.brush);
    switch (p.kind) {
      case Primitive::kLine:
        painter.drawLine(p.points.point(0), p.points.point(1));
        break;
      case Primitive::kRectangle:
        painter.drawRect(p.box);
        break;
      case Primitive::kEllipse:
        painter.drawEllipse(p.box);
        break;
      case Primitive::kPolyline:
        painter.drawPolyline(p.points);
        break;
      case Primitive::kPolygon:
        painter.drawPolygon(p.points);
        break;
      case Primitive::kText: {
        painter.save();
        QFont font = painter.font();
        if (p.pixel_height > 0) font.setPixelSize(p.pixel_height);
        painter.setFont(font);
        painter.setPen(p.text_colour);
        painter.setBackgroundMode(p.text_background ? Qt::OpaqueMode : Qt::TransparentMode);
        if (p.text_background) painter.setBackground(*p.text_background);
        painter.drawText(p.box, Qt::AlignLeft | Qt::AlignTop, p.text);
        painter.restore();
        break;
      }
    }
  }
}

const StrokeFont& Font() {
  static const std::unique_ptr<StrokeFont> font = [] {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    auto loaded = LoadStrokeFont(exe.parent_path().parent_path() / "bin/Dane/Romans100.Lzs");
    if (!loaded) throw std::runtime_error(loaded.error().message);
    return std::make_unique<StrokeFont>(*loaded);
  }();
  return *font;
}

enum class Case { kZoomAll, kWidePens, kOffScreen };

struct Fixture {
  std::vector<ParsedEntity> records;
  ViewSettings settings;
  ViewTransform view;
  std::vector<Primitive> primitives;
  long differing_pixels = 0;

  explicit Fixture(Case c) : records(ParseLines(MakeBlock(10000, c == Case::kWidePens))) {
    view.SetViewSize(kWidth, kHeight);
    view.ZoomAll(ComputeExtents(records, Font()));
    if (c == Case::kWidePens) view.SetScale(view.scale() / 8);
    if (c == Case::kOffScreen) {
      // A corner of the block: a few hundred entities of ten thousand in view.
      view.SetScale(view.scale() / 8);
      view.SetCentre(40, 40);
    }
    RecordingPrimitives recorder;
    Render(recorder);
    primitives = std::move(recorder.primitives);

    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    QImage replay(kWidth, kHeight, QImage::Format_RGB32);
    frame.fill(Qt::white);
    replay.fill(Qt::white);
    {
      QPainter painter(&frame);
      PainterCanvas canvas(painter);
      Render(canvas);
    }
    {
      QPainter painter(&replay);
      Replay(painter, primitives);
    }
    for (int y = 0; y < kHeight; ++y) {
      const auto* a = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
      const auto* b = reinterpret_cast<const QRgb*>(replay.constScanLine(y));
      for (int x = 0; x < kWidth; ++x) differing_pixels += a[x] != b[x];
    }
    // A faster frame that draws something else is no faster frame: stop the run.
    if (differing_pixels != 0) {
      std::fprintf(stderr, "render_bench: %ld pixels of the frame differ from the replay's\n",
                   differing_pixels);
      std::exit(1);
    }
  }

  void Render(Canvas& canvas) {
    ReadingDefaults defaults;
    RenderFrame(canvas, view, kWidth, kHeight, records, Font(), settings, defaults);
  }
};

Fixture& Shared(Case c) {
  static std::map<Case, std::unique_ptr<Fixture>> fixtures;
  auto& fixture = fixtures[c];
  if (!fixture) fixture = std::make_unique<Fixture>(c);
  return *fixture;
}

void BM_Frame(benchmark::State& state, Case c) {
  Fixture& f = Shared(c);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    f.Render(canvas);
  }
  state.counters["primitives"] = static_cast<double>(f.primitives.size());
}

void BM_Replay(benchmark::State& state, Case c) {
  Fixture& f = Shared(c);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    Replay(painter, f.primitives);
  }
  state.counters["differing_pixels"] = static_cast<double>(f.differing_pixels);
}

BENCHMARK_CAPTURE(BM_Frame, zoom_all, Case::kZoomAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, zoom_all, Case::kZoomAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, wide_pens, Case::kWidePens)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, wide_pens, Case::kWidePens)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frame, off_screen, Case::kOffScreen)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Replay, off_screen, Case::kOffScreen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("zoom all: frame / replay", "BM_Frame/zoom_all", "BM_Replay/zoom_all", 0.6);
    r.Ratio("wide pens: frame / replay", "BM_Frame/wide_pens", "BM_Replay/wide_pens", 1.5);
    r.Ratio("off screen: frame / replay", "BM_Frame/off_screen", "BM_Replay/off_screen", 1.2);
  });
}
