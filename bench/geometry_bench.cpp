// Picking, window selection and snapping call the kernel once per entity on every mouse event,
// so its cost is measured against a loop that only reads the same coordinates.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "geometry/geometry.h"

namespace {

constexpr int kSegments = 10000;

// A segment of a drawing seen on a 1600 x 1000 pixel view, with a probe point near it (inside
// its pick box, so every distance takes the full path).
struct Segment {
  float x1, y1, x2, y2;
  float px, py;
};

const std::vector<Segment>& Segments() {
  static const std::vector<Segment> segments = [] {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> where_x(0, 1600);
    std::uniform_real_distribution<float> where_y(0, 1000);
    std::uniform_real_distribution<float> extent(-150, 150);
    std::uniform_real_distribution<float> along(0, 1);
    std::uniform_real_distribution<float> off(-8, 8);
    std::vector<Segment> result;
    result.reserve(kSegments);
    for (int i = 0; i < kSegments; ++i) {
      Segment s;
      s.x1 = where_x(random);
      s.y1 = where_y(random);
      s.x2 = s.x1 + extent(random);
      s.y2 = s.y1 + extent(random);
      const float t = along(random);
      s.px = s.x1 + t * (s.x2 - s.x1) + off(random);
      s.py = s.y1 + t * (s.y2 - s.y1) + off(random);
      result.push_back(s);
    }
    return result;
  }();
  return segments;
}

void BM_BaselineSumCoordinates(benchmark::State& state) {
  const std::vector<Segment>& segments = Segments();
  for (auto _ : state) {
    for (const Segment& s : segments) {
      float sum = s.x1 + s.y1 + s.x2 + s.y2 + s.px + s.py;
      benchmark::DoNotOptimize(sum);
    }
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_BaselineSumCoordinates);

void BM_PointSegmentDistance(benchmark::State& state) {
  const std::vector<Segment>& segments = Segments();
  for (auto _ : state) {
    for (const Segment& s : segments) {
      float distance = blok::PointSegmentDistance(s.x1, s.y1, s.x2, s.y2, s.px, s.py);
      benchmark::DoNotOptimize(distance);
    }
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_PointSegmentDistance);

// Each segment against the one before it, as window selection tries an entity against each edge.
void BM_SegmentSegmentIntersection(benchmark::State& state) {
  const std::vector<Segment>& segments = Segments();
  for (auto _ : state) {
    const Segment* b = &segments.back();
    for (const Segment& a : segments) {
      blok::LineHit hit =
          blok::SegmentSegmentIntersection(a.x1, a.y1, a.x2, a.y2, b->x1, b->y1, b->x2, b->y2);
      benchmark::DoNotOptimize(hit);
      b = &a;
    }
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}
BENCHMARK(BM_SegmentSegmentIntersection);

}  // namespace

BENCHMARK_MAIN();
