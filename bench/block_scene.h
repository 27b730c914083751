#pragma once

// The 10,000-entity block on a 1600x1000 view that the picking, snapping and editing benches
// share, with the cursor positions they all run and the baseline they are held against.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "geometry/geometry.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"
#include "view/canvas.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {

inline constexpr int kEntities = 10000;
inline constexpr int kWidth = 1600;
inline constexpr int kHeight = 1000;
inline constexpr int kCursors = 256;

struct BlockScene {
  ViewTransform view;
  StrokeFont font;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  std::vector<PixelPoint> cursors;
  // The baseline's segments: every line and rectangle, in pixels.
  struct PixelSegment {
    float x1, y1, x2, y2;
  };
  std::vector<PixelSegment> segments;
};

// World -80..80 by -50..50 at 10 pixels a unit: lines, rectangles, circles and arcs up to 15
// units (150 pixels) across, and a text every 200th entity; then the cursors. random goes on
// from where the scene leaves it, for what a bench adds.
inline void MakeBlockScene(BlockScene& s, std::mt19937& random) {
  const auto number = [](double v) { return FormatPattern(v, kValuePattern); };
  s.view.SetViewSize(kWidth, kHeight);
  s.view.SetScale(100);
  for (Glyph& glyph : s.font.glyphs) glyph.advance = 20;
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
      line = "T(" + number(cx) + "," + number(cy) + ",'Opis " + std::to_string(i) + "',1,0.8," +
             std::to_string(angle(random)) + ")";
    } else if (i % 10 < 4) {
      line = "L(" + number(cx) + "," + number(cy) + ")-(" + number(cx + extent(random)) + "," +
             number(cy + extent(random)) + ");K(0,0,0);GR(0,1)";
    } else if (i % 10 < 6) {
      line = "P(" + number(cx) + "," + number(cy) + ")-(" + number(cx + extent(random)) + "," +
             number(cy + extent(random)) + ")";
    } else if (i % 10 < 8) {
      line = "O(" + number(cx) + "," + number(cy) + "," + number(radius(random)) + ")";
    } else {
      line = "LUK(" + number(cx) + "," + number(cy) + "," + number(radius(random)) + "," +
             std::to_string(angle(random)) + "," + std::to_string(angle(random)) + ")";
    }
    s.records.push_back(ParseEntity(line));
    s.lines.push_back(std::move(line));
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
}

// The baseline: the bare loop of PointSegmentDistance from each cursor over the segments,
// already in pixels.
inline void RunSegmentBaseline(benchmark::State& state, const BlockScene& s) {
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    float best = 100000;
    for (const BlockScene::PixelSegment& g : s.segments) {
      const float d = PointSegmentDistance(g.x1, g.y1, g.x2, g.y2, static_cast<float>(c.x),
                                           static_cast<float>(c.y));
      if (d < best) best = d;
    }
    benchmark::DoNotOptimize(best);
  }
  state.counters["segments"] = static_cast<double>(s.segments.size());
}

}  // namespace blok
