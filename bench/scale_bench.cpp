// The paths a draughtsman takes through a block, timed at 10,000, 100,000 and 1,000,000
// entities: a drawing grows by area, not by density (MakeBlockLines), so the working view, a
// 1600x1000 view at 10 pixels a unit on the drawing's middle, holds about as many entities at
// every size, and a zoom to everything shows ever more of them, ever smaller.
//
// Each size times: loading the lines into a drawing (parsing included); zoom all (the extents,
// then a full redraw by the real renderer onto a canvas that keeps nothing, and onto an image
// through PainterCanvas); the pick of the entity under the cursor and a mouse move with all
// eight object snaps, in the working view; and a window delete with its undo, applied as the
// editor applies an operation (the window selection, DeleteSelection, its changes through the
// journal as one step, then the step undone), once over a fixed part of the working view (as
// many entities at every size) and once over a fixed part of the zoom-all view (a thousandth of
// it: a share of the drawing). Each tenfold growth may cost at most elevenfold.
//
// The load's counter bytes_per_entity is what a loaded block holds per entity, heap included
// (its lines, records and boxes, and the journal), measured with mallinfo2 around reading the
// block from a library file and loading it as the editor opens one; at most 250 each size. The
// texts are set in a font of advances alone (as the other benches' scene), so they draw
// nothing. Ratios are of CPU time.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "block_scene.h"
#include "document/block_file.h"
#include "document/drawing.h"
#include "document/journal.h"
#include "editing/chamfer_offset.h"
#include "editing/picking.h"
#include "editing/selection.h"
#include "interaction/snap.h"
#include "ratio_reporter.h"
#include "ui/painter_canvas.h"
#include "view/null_canvas.h"
#include "view/renderer.h"
#include "view/view_settings.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kSizes[] = {10'000, 100'000, 1'000'000};
constexpr double kMostBytesPerEntity = 250;

constexpr SnapSettings kAllEight{.grid = true,
                                 .ortho = true,
                                 .end = true,
                                 .middle = true,
                                 .centre = true,
                                 .intersection = true,
                                 .perpendicular = true,
                                 .tangent = true,
                                 .nearest = true,
                                 .quadrant = true,
                                 .grid_step = 1};

struct Scale {
  explicit Scale(int count) {
    std::mt19937 random(11);
    lines = MakeBlockLines(count, random);
    for (Glyph& glyph : font.glyphs) glyph.advance = 20;
    work.SetViewSize(kWidth, kHeight);
    work.SetScale(100);
    std::uniform_int_distribution<int> px(0, kWidth - 1);
    std::uniform_int_distribution<int> py(0, kHeight - 1);
    for (int i = 0; i < kCursors; ++i) cursors.push_back({px(random), py(random)});
    drawing.Load(lines);
    zoom_all.SetViewSize(kWidth, kHeight);
    zoom_all.ZoomAll(ComputeExtents(drawing.records(), font));
  }

  std::vector<std::string> lines;
  StrokeFont font;
  ViewTransform work;
  ViewTransform zoom_all;
  std::vector<PixelPoint> cursors;
  Drawing drawing;
  Journal journal{drawing};
};

Scale& ScaleOf(int count) {
  static std::map<int, std::unique_ptr<Scale>> scales;
  std::unique_ptr<Scale>& scale = scales[count];
  if (!scale) scale = std::make_unique<Scale>(count);
  return *scale;
}

// The heap in use: the arena's chunks and the large blocks mapped on their own.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// The block saved into a library of its own, then read and loaded as the editor opens a block:
// the bytes held afterwards by the drawing and its journal, per entity.
double BytesPerEntity(const std::vector<std::string>& lines) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("scale_bench_" + std::to_string(getpid()) + ".blk");
  if (!DopiszBlok(file, BlockToSave{.name = "Skala", .unit = "m", .lines = lines})) return -1;
  const std::size_t before = HeapInUse();
  Drawing drawing;
  Journal journal(drawing);
  {
    Result<std::optional<LoadedBlock>> loaded = WczytajBlok(file, "Skala");
    if (!loaded || !*loaded) return -1;
    drawing.Load(std::move((*loaded)->lines));
  }
  const std::size_t after = HeapInUse();
  std::filesystem::remove(file);
  return static_cast<double>(after - before) / static_cast<double>(lines.size());
}

// Measured once for each size, outside the timings.
std::map<int, double>& BytesPerEntityOfSize() {
  static std::map<int, double> bytes;
  return bytes;
}

// The lines a fresh drawing is loaded from are made outside the timing, and the drawing loaded
// before goes outside it too.
void BM_Load(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const Scale& s = ScaleOf(count);
  if (!BytesPerEntityOfSize().contains(count)) {
    BytesPerEntityOfSize()[count] = BytesPerEntity(s.lines);
  }
  std::optional<Drawing> drawing;
  for (auto _ : state) {
    state.PauseTiming();
    drawing.reset();
    std::vector<std::string> lines = s.lines;
    state.ResumeTiming();
    drawing.emplace();
    drawing->Load(std::move(lines));
    benchmark::DoNotOptimize(drawing->records().data());
  }
  state.counters["bytes_per_entity"] = BytesPerEntityOfSize()[count];
}

// What the window does on zoom all: the extents, the fit, the full redraw.
void ZoomAll(Canvas& canvas, const Scale& s) {
  ViewTransform view;
  view.SetViewSize(kWidth, kHeight);
  view.ZoomAll(ComputeExtents(s.drawing.records(), s.font));
  ReadingDefaults defaults;
  RenderFrame(canvas, view, kWidth, kHeight, s.drawing.records(), s.font, ViewSettings{}, defaults);
}

void BM_ZoomAll(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  NullCanvas canvas;
  for (auto _ : state) ZoomAll(canvas, s);
}

void BM_ZoomAllOntoImage(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    ZoomAll(canvas, s);
  }
}

void BM_FindNearestEntity(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindNearestEntity(s.drawing, s.work, s.font, c.x, c.y));
  }
}

// A mouse move of a point step with a last point, so that perpendicular and tangent take part.
void BM_EightSnaps(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  const OrthoReference ortho{{0, 0}, true};
  NullCanvas canvas;
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(
        PunktWskazany(canvas, s.drawing.records(), s.work, s.font, kAllEight, ortho, c.x, c.y));
  }
}

// The window between two pixels of the view, everything it catches deleted as one step, and the
// step undone: the drawing is as loaded again, and the next delete discards the undone records.
void WindowDelete(benchmark::State& state, const ViewTransform& view, int x1, int y1, int x2,
                  int y2) {
  Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  const StretchWindow window = WindowBetweenPixels(view, x1, y1, x2, y2);
  Selection selection;
  std::size_t deleted = 0;
  for (auto _ : state) {
    SelectByWindow(s.drawing, s.font, selection, window);
    deleted = selection.count;
    EditChanges changes = DeleteSelection(s.drawing.records(), selection);
    // The editor hands a run of deletes to the journal whole.
    std::vector<int> indices;
    for (const EditChange& change : changes) indices.push_back(change.index);
    s.journal.BeginStep();
    s.journal.UsunObiekty(indices);
    s.journal.EndStep();
    s.journal.UndoStep();
  }
  state.counters["deleted"] = static_cast<double>(deleted);
}

// A quarter of the working view each way, in its middle.
void BM_WindowDeleteInView(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  WindowDelete(state, s.work, 600, 375, 1000, 625);
}

// 51x32 pixels of the zoom-all view, in its middle: a thousandth of the drawing.
void BM_WindowDeleteOfAll(benchmark::State& state) {
  const Scale& s = ScaleOf(static_cast<int>(state.range(0)));
  WindowDelete(state, s.zoom_all, 775, 484, 826, 516);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (const int size : kSizes) b->Arg(size);
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_Load)->Apply(Sizes);
BENCHMARK(BM_ZoomAll)->Apply(Sizes);
BENCHMARK(BM_ZoomAllOntoImage)->Apply(Sizes);
BENCHMARK(BM_FindNearestEntity)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EightSnaps)->Apply(Sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowDeleteInView)->Apply(Sizes);
BENCHMARK(BM_WindowDeleteOfAll)->Apply(Sizes);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  // Every size takes fresh memory for its large arrays, as the first opening of a block does.
  // Left alone, glibc raises the size from which it maps a block afresh to the largest block
  // freed, up to 32 MB: the smaller sizes then reuse warm memory from one iteration to the next,
  // and the 1,000,000 size alone pays the kernel for fresh pages, which on a virtual machine
  // costs about as much as the load itself.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    const char* paths[][2] = {{"load", "BM_Load"},
                              {"zoom all", "BM_ZoomAll"},
                              {"zoom all onto an image", "BM_ZoomAllOntoImage"},
                              {"nearest entity", "BM_FindNearestEntity"},
                              {"eight snaps", "BM_EightSnaps"},
                              {"window delete in the view", "BM_WindowDeleteInView"},
                              {"window delete of all", "BM_WindowDeleteOfAll"}};
    for (const auto& [what, name] : paths) {
      const std::string at = std::string(name) + "/";
      r.Ratio((std::string(what) + ": 100,000 / 10,000").c_str(), at + "100000", at + "10000", 11);
      r.Ratio((std::string(what) + ": 1,000,000 / 100,000").c_str(), at + "1000000", at + "100000",
              11);
    }
    for (const auto& [count, bytes] : blok::BytesPerEntityOfSize()) {
      std::printf("%-44s %7.1f  (at most %.0f: %s)\n",
                  ("bytes per entity, " + std::to_string(count)).c_str(), bytes,
                  blok::kMostBytesPerEntity,
                  bytes <= blok::kMostBytesPerEntity ? "met" : "NOT MET");
    }
  });
}
