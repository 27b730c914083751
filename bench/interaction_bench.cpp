// One mouse move over a 10,000-entity block on a 1600x1000 view: the point input with all four
// object snaps on (the intersection's two-nearest search included, drawing onto a canvas that
// keeps nothing), and the pick of the entity under the cursor. The baseline is the least such a
// move could cost: PointSegmentDistance from the cursor to every line and rectangle of the block,
// parsed and taken to pixels beforehand. Each case runs the same cursor positions; the ratios
// are of CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "editing/picking.h"
#include "geometry/geometry.h"
#include "interaction/snap.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/null_canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kEntities = 10000;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;
constexpr int kCursors = 256;

std::string Number(double v) { return FormatPattern(v, kValuePattern); }

struct Scene {
  ViewTransform view;
  StrokeFont font;
  std::vector<ParsedEntity> records;
  std::vector<PixelPoint> cursors;
  // The baseline's segments: every line and rectangle, in pixels.
  struct PixelSegment {
    float x1, y1, x2, y2;
  };
  std::vector<PixelSegment> segments;
};

// World -80..80 by -50..50 at 10 pixels a unit: lines, rectangles, circles and arcs up to 15
// units (150 pixels) across, and a text every 200th entity.
const Scene& TheScene() {
  static const Scene scene = [] {
    Scene s;
    s.view.SetViewSize(kWidth, kHeight);
    s.view.SetScale(100);
    for (Glyph& glyph : s.font.glyphs) glyph.advance = 20;
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(-80, 80);
    std::uniform_real_distribution<double> y(-50, 50);
    std::uniform_real_distribution<double> extent(-7.5, 7.5);
    std::uniform_real_distribution<double> radius(0.2, 7.5);
    std::uniform_int_distribution<int> angle(0, 359);
    for (int i = 0; i < kEntities; ++i) {
      const double cx = x(random);
      const double cy = y(random);
      std::string line;
      if (i % 200 == 199) {
        line = "T(" + Number(cx) + "," + Number(cy) + ",'Opis " + std::to_string(i) + "',1,0.8," +
               std::to_string(angle(random)) + ")";
      } else if (i % 10 < 4) {
        line = "L(" + Number(cx) + "," + Number(cy) + ")-(" + Number(cx + extent(random)) + "," +
               Number(cy + extent(random)) + ");K(0,0,0);GR(0,1)";
      } else if (i % 10 < 6) {
        line = "P(" + Number(cx) + "," + Number(cy) + ")-(" + Number(cx + extent(random)) + "," +
               Number(cy + extent(random)) + ")";
      } else if (i % 10 < 8) {
        line = "O(" + Number(cx) + "," + Number(cy) + "," + Number(radius(random)) + ")";
      } else {
        line = "LUK(" + Number(cx) + "," + Number(cy) + "," + Number(radius(random)) + "," +
               std::to_string(angle(random)) + "," + std::to_string(angle(random)) + ")";
      }
      s.records.push_back(ParseEntity(line));
    }
    for (const ParsedEntity& e : s.records) {
      if (const auto* r = std::get_if<SegmentRecord>(&e.record)) {
        s.segments.push_back({static_cast<float>(s.view.WorldToScreenX(r->x1)),
                              static_cast<float>(s.view.WorldToScreenY(r->y1)),
                              static_cast<float>(s.view.WorldToScreenX(r->x2)),
                              static_cast<float>(s.view.WorldToScreenY(r->y2))});
      }
    }
    std::uniform_int_distribution<int> px(0, kWidth - 1);
    std::uniform_int_distribution<int> py(0, kHeight - 1);
    for (int i = 0; i < kCursors; ++i) s.cursors.push_back({px(random), py(random)});
    return s;
  }();
  return scene;
}

// B: the bare loop over the segments, already in pixels.
void BM_Baseline(benchmark::State& state) {
  const Scene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    float best = 100000;
    for (const Scene::PixelSegment& g : s.segments) {
      const float d = PointSegmentDistance(g.x1, g.y1, g.x2, g.y2, static_cast<float>(c.x),
                                           static_cast<float>(c.y));
      if (d < best) best = d;
    }
    benchmark::DoNotOptimize(best);
  }
  state.counters["segments"] = static_cast<double>(s.segments.size());
}
BENCHMARK(BM_Baseline);

// A: one mouse move of a point step with every object snap on.
void BM_PunktWskazany(benchmark::State& state) {
  const Scene& s = TheScene();
  const SnapSettings settings{.grid = true,
                              .ortho = true,
                              .end = true,
                              .middle = true,
                              .centre = true,
                              .intersection = true,
                              .grid_step = 1};
  const OrthoReference ortho{{0, 0}, true};
  NullCanvas canvas;
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    const Point p = PunktWskazany(canvas, s.records, s.view, s.font, settings, ortho, c.x, c.y);
    benchmark::DoNotOptimize(p);
  }
  // How many of the cursor positions catch an object snap, so the scene is seen to be busy.
  int snapped = 0;
  for (const PixelPoint& c : s.cursors) {
    snapped += SzukajSnapu(s.records, s.view, s.font, settings, c.x, c.y).found ? 1 : 0;
  }
  state.counters["snapped"] = static_cast<double>(snapped) / kCursors;
}
BENCHMARK(BM_PunktWskazany);

void BM_FindNearestEntity(benchmark::State& state) {
  const Scene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindNearestEntity(s.records, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindNearestEntity);

void BM_FindTwoNearestEntities(benchmark::State& state) {
  const Scene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindTwoNearestEntities(s.records, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindTwoNearestEntities);

// The console report, then the ratios the benchmarks are for.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With --benchmark_repetitions the median stands for the benchmark: the machine is shared.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration) {
        times_.try_emplace(run.run_name.str(), run.GetAdjustedCPUTime());
      } else if (run.aggregate_name == "median") {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    const auto ratio = [&](const char* what, const std::string& a, double target) {
      const auto ia = times_.find(a);
      const auto ib = times_.find("BM_Baseline");
      if (ia == times_.end() || ib == times_.end() || ib->second <= 0) return;
      const double r = ia->second / ib->second;
      std::printf("%-40s %5.2f  (at most %.2f: %s)\n", what, r, target,
                  r <= target ? "met" : "NOT MET");
    };
    ratio("point input, all snaps / baseline", "BM_PunktWskazany", 3);
    ratio("nearest entity / baseline", "BM_FindNearestEntity", 3);
    ratio("two nearest entities / baseline", "BM_FindTwoNearestEntities", 3);
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  blok::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
