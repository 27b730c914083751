// The library browser's pictures: making the thumbnails of a few hundred varied blocks (the
// key of each block's lines, the plain picture, the pixmap the list shows, the cache) beside
// rendering the same blocks with RenderFrame at the same size, each block parsed and fitted
// as the picture is. The browser does no more work per block than a frame of the block would;
// a ratio above 1 would mean the pictures cost more than the view's own drawing. Also the
// preview's size. The ratios are of CPU time.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editor/block_browser.h"
#include "model/numbers.h"
#include "ratio_reporter.h"
#include "ui/block_picture.h"
#include "view/renderer.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kBlocks = 300;
constexpr QSize kThumbnail{44, 32};
constexpr QSize kPreview{240, 180};

std::string Number(double v) { return FormatPattern(v, kValuePattern); }

// Symbols as a library holds them: 3 to 40 lines, circles, arcs, rectangles and a label each,
// half of them with a colour and thickness of their own.
std::vector<std::vector<std::string>> MakeBlocks() {
  std::mt19937 random(13);
  std::uniform_real_distribution<double> coordinate(-1.5, 1.5);
  std::uniform_real_distribution<double> size(0.1, 1);
  std::uniform_int_distribution<int> count(3, 40);
  std::uniform_int_distribution<int> angle(0, 359);
  std::vector<std::vector<std::string>> blocks;
  for (int b = 0; b < kBlocks; ++b) {
    std::vector<std::string> lines = {"// symbol " + std::to_string(b)};
    const int n = count(random);
    for (int i = 0; i < n; ++i) {
      const std::string tail = i % 2 == 0 ? ";K(0,0,0);GR(0,10)" : "";
      switch (i % 5) {
        case 0:
        case 1:
          lines.push_back("L(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          ")-(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          ")" + tail);
          break;
        case 2:
          lines.push_back("O(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          "," + Number(size(random)) + ")" + tail);
          break;
        case 3:
          lines.push_back("LUK(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          "," + Number(size(random)) + "," + std::to_string(angle(random)) + "," +
                          std::to_string(angle(random)) + ")" + tail);
          break;
        default:
          lines.push_back("P(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          ")-(" + Number(coordinate(random)) + "," + Number(coordinate(random)) +
                          ")" + tail);
          break;
      }
    }
    lines.push_back("T(0,-1.8,'Sk " + std::to_string(b) + "',0.3,0.25,0);K(0,0,128)");
    blocks.push_back(std::move(lines));
  }
  return blocks;
}

const std::vector<std::vector<std::string>>& Blocks() {
  static const auto blocks = MakeBlocks();
  return blocks;
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

// As the browser makes them: every picture new, kept in a cache that must drop some.
void BM_Pictures(benchmark::State& state, QSize size) {
  const auto& blocks = Blocks();
  PictureCache<QPixmap> cache(kBlocks / 2);
  long non_white = 0;
  for (auto _ : state) {
    cache.Clear();
    for (const auto& lines : blocks) {
      const uint64_t key = DrawingKey(lines);
      const QImage image = BlockPicture(lines, Font(), size);
      non_white += image.pixel(size.width() / 2, size.height() / 2) != qRgb(255, 255, 255);
      cache.Insert(key, QPixmap::fromImage(image));
    }
  }
  state.counters["blocks"] = kBlocks;
  benchmark::DoNotOptimize(non_white);
}

// The same blocks as the view draws a block: parsed, zoomed to everything, a full frame.
void BM_Frames(benchmark::State& state, QSize size) {
  const auto& blocks = Blocks();
  const ViewSettings settings;
  for (auto _ : state) {
    for (const auto& lines : blocks) {
      QImage image(size, QImage::Format_RGB32);
      QPainter painter(&image);
      PainterCanvas canvas(painter);
      const std::vector<ParsedEntity> records = ParseLines(lines);
      ViewTransform view;
      view.SetViewSize(size.width(), size.height());
      view.ZoomAll(ComputeExtents(records, Font()));
      ReadingDefaults defaults;
      RenderFrame(canvas, view, size.width(), size.height(), records, Font(), settings, defaults);
      benchmark::DoNotOptimize(image.constBits());
    }
  }
}

BENCHMARK_CAPTURE(BM_Pictures, thumbnail, kThumbnail)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frames, thumbnail, kThumbnail)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Pictures, preview, kPreview)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Frames, preview, kPreview)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("thumbnails: pictures / frames", "BM_Pictures/thumbnail", "BM_Frames/thumbnail", 1.2);
    r.Ratio("preview: pictures / frames", "BM_Pictures/preview", "BM_Frames/preview", 1.2);
  });
}
