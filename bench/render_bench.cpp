// A full redraw of a 10,000-entity block onto a 1920x1080 image, beside a baseline that draws
// the very same primitives (recorded once: already parsed and mapped to pixels) with plain
// QPainter calls. The ratio of the two is the cost of reading the lines and mapping them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "model/numbers.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::string Number(double v) { return FormatPattern(v, kValuePattern); }

std::vector<std::string> MakeBlock(int count) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-50, 50);
  std::uniform_real_distribution<double> size(0.2, 5);
  std::uniform_int_distribution<int> angle(0, 359);
  const char* tails[] = {";K(0,0,0);GR(0,10)", ";K(255,0,0);GR(0,25)", ";K(0,128,0);GR(0.5)", ""};
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    const std::string tail = tails[i % 4];
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
    if (i % 1000 == 999) lines.push_back(i % 2000 == 999 ? "K(0,0,128)" : "GR(0,35)");
  }
  return lines;
}

// One primitive as the renderer asked for it, with the pen and brush in force.
struct Primitive {
  enum Kind { kLine, kRectangle, kEllipse, kPolyline, kPolygon, kText } kind;
  QPen pen;
  QBrush brush;
  std::vector<QPoint> points;
  QString text;
};

class RecordingPrimitives : public Canvas {
 public:
  std::vector<Primitive> primitives;

  void SetPenColour(std::uint32_t c) override { pen_.setColor(ToQColor(c)); }
  void SetPenWidth(int w) override { pen_.setWidth(w <= 1 ? 0 : w); }
  void SetPenStyle(PenStyle s) override {
    pen_.setStyle(s == PenStyle::kDotted ? Qt::DotLine : Qt::SolidLine);
  }
  void SetBrushColour(std::uint32_t c) override { brush_.setColor(ToQColor(c)); }
  void SetBrushStyle(BrushStyle s) override {
    brush_.setStyle(s == BrushStyle::kSolid   ? Qt::SolidPattern
                    : s == BrushStyle::kClear ? Qt::NoBrush
                                              : Qt::DiagCrossPattern);
  }
  void Line(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kLine, {{x1, y1}, {x2, y2}});
  }
  void Polyline(std::span<const PixelPoint> p) override { Add(Primitive::kPolyline, Points(p)); }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kRectangle, {{x1, y1}, {x2 - x1 - 1, y2 - y1 - 1}});
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Add(Primitive::kEllipse, {{x1, y1}, {x2 - x1 - 1, y2 - y1 - 1}});
  }
  void Polygon(std::span<const PixelPoint> p) override { Add(Primitive::kPolygon, Points(p)); }
  void Text(int x, int y, std::string_view text, const TextStyle&) override {
    Add(Primitive::kText, {{x, y}});
    primitives.back().text = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  void FocusRectangle(int, int, int, int) override {}

 private:
  static std::vector<QPoint> Points(std::span<const PixelPoint> p) {
    std::vector<QPoint> out;
    for (const auto& q : p) out.emplace_back(q.x, q.y);
    return out;
  }
  void Add(Primitive::Kind kind, std::vector<QPoint> points) {
    primitives.push_back({kind, pen_, brush_, std::move(points), {}});
  }
  QPen pen_;
  QBrush brush_;
};

struct Fixture {
  std::unique_ptr<StrokeFont> font;
  std::vector<std::string> lines = MakeBlock(10000);
  ViewSettings settings;
  ViewTransform view;
  std::vector<Primitive> primitives;

  Fixture() {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    auto loaded = LoadStrokeFont(exe.parent_path().parent_path() / "bin/Dane/Romans100.Lzs");
    if (!loaded) throw std::runtime_error(loaded.error().message);
    font = std::make_unique<StrokeFont>(*loaded);
    view.SetViewSize(kWidth, kHeight);
    ReadingDefaults defaults;
    view.ZoomAll(ComputeExtents(lines, *font, defaults));
    RecordingPrimitives recorder;
    Render(recorder);
    primitives = std::move(recorder.primitives);
  }

  void Render(Canvas& canvas) {
    ReadingDefaults defaults;
    RenderFrame(canvas, view, kWidth, kHeight, lines, *font, settings, defaults);
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

void BM_RenderFrame(benchmark::State& state) {
  Fixture& f = Shared();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    f.Render(canvas);
  }
  state.counters["primitives"] = static_cast<double>(f.primitives.size());
}

void BM_BaselinePlainQPainter(benchmark::State& state) {
  Fixture& f = Shared();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    for (const Primitive& p : f.primitives) {
      painter.setPen(p.pen);
      switch (p.kind) {
        case Primitive::kLine:
          painter.drawLine(p.points[0], p.points[1]);
          break;
        case Primitive::kRectangle:
          painter.setBrush(p.brush);
          painter.drawRect(QRect(p.points[0], QSize(p.points[1].x(), p.points[1].y())));
          break;
        case Primitive::kEllipse:
          painter.setBrush(p.brush);
          painter.drawEllipse(QRect(p.points[0], QSize(p.points[1].x(), p.points[1].y())));
          break;
        case Primitive::kPolyline:
          painter.drawPolyline(p.points.data(), static_cast<int>(p.points.size()));
          break;
        case Primitive::kPolygon:
          painter.setBrush(p.brush);
          painter.drawPolygon(p.points.data(), static_cast<int>(p.points.size()));
          break;
        case Primitive::kText:
          painter.drawText(p.points[0], p.text);
          break;
      }
    }
  }
}

BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselinePlainQPainter)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
