// One mouse move over a 10,000-entity block on a 1600x1000 view: the point input with the first
// four object snaps on (the intersection's two-nearest search included, drawing onto a canvas
// that keeps nothing) over the block as the editor's drawing holds it, with its compact boxes,
// the same with all eight, and the pick of the entity under the cursor. The
// baseline is the least such a move could cost: PointSegmentDistance from the cursor to every line
// and rectangle of the block, parsed and taken to pixels beforehand. Each case runs the same cursor
// positions; the ratios are of CPU time.
#include <benchmark/benchmark.h>

#include <random>

#include "block_scene.h"
#include "document/drawing.h"
#include "editing/picking.h"
#include "geometry/geometry.h"
#include "interaction/snap.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"
#include "ratio_reporter.h"
#include "view/canvas.h"
#include "view/null_canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

const BlockScene& TheScene() {
  static const BlockScene scene = [] {
    BlockScene s;
    std::mt19937 random(11);
    MakeBlockScene(s, random);
    return s;
  }();
  return scene;
}

// The same block as the editor holds it: the records with their compact boxes.
const Drawing& TheDrawing() {
  static const Drawing drawing = [] {
    Drawing d;
    d.Load(TheScene().lines);
    return d;
  }();
  return drawing;
}

// B: the bare loop over the segments, already in pixels.
void BM_Baseline(benchmark::State& state) { RunSegmentBaseline(state, TheScene()); }
BENCHMARK(BM_Baseline);

constexpr SnapSettings kFirstFour{.grid = true,
                                  .ortho = true,
                                  .end = true,
                                  .middle = true,
                                  .centre = true,
                                  .intersection = true,
                                  .grid_step = 1};
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

// A: one mouse move of a point step with the given object snaps on; there is a last point, so
// perpendicular and tangent take part.
void PointInput(benchmark::State& state, const SnapSettings& settings) {
  const BlockScene& s = TheScene();
  const Drawing& drawing = TheDrawing();
  const OrthoReference ortho{{0, 0}, true};
  NullCanvas canvas;
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    const Point p = PunktWskazany(canvas, drawing, s.view, s.font, settings, ortho, c.x, c.y);
    benchmark::DoNotOptimize(p);
  }
  // How many of the cursor positions catch an object snap, so the scene is seen to be busy.
  int snapped = 0;
  for (const PixelPoint& c : s.cursors) {
    snapped += SzukajSnapu(drawing, s.view, s.font, settings, c.x, c.y, ortho).found ? 1 : 0;
  }
  state.counters["snapped"] = static_cast<double>(snapped) / kCursors;
}
void BM_PunktWskazany(benchmark::State& state) { PointInput(state, kFirstFour); }
BENCHMARK(BM_PunktWskazany);
void BM_PunktWskazanyEightSnaps(benchmark::State& state) { PointInput(state, kAllEight); }
BENCHMARK(BM_PunktWskazanyEightSnaps);

void BM_FindNearestEntity(benchmark::State& state) {
  const BlockScene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindNearestEntity(s.records, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindNearestEntity);

// The pick as the editor makes it on every mouse move of a command that picks: over the
// drawing, its compact boxes read first.
void BM_FindNearestEntityOverTheDrawing(benchmark::State& state) {
  const BlockScene& s = TheScene();
  const Drawing& drawing = TheDrawing();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindNearestEntity(drawing, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindNearestEntityOverTheDrawing);

void BM_FindTwoNearestEntities(benchmark::State& state) {
  const BlockScene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindTwoNearestEntities(s.records, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindTwoNearestEntities);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("point input, four snaps / baseline", "BM_PunktWskazany", "BM_Baseline", 2);
    r.Ratio("point input, eight snaps / baseline", "BM_PunktWskazanyEightSnaps", "BM_Baseline", 2);
    r.Ratio("eight snaps / four snaps", "BM_PunktWskazanyEightSnaps", "BM_PunktWskazany", 0);
    r.Ratio("nearest entity / baseline", "BM_FindNearestEntity", "BM_Baseline", 2);
    r.Ratio("the pick over the drawing / baseline", "BM_FindNearestEntityOverTheDrawing",
            "BM_Baseline", 2);
    r.Ratio("two nearest entities / baseline", "BM_FindTwoNearestEntities", "BM_Baseline", 2);
  });
}
