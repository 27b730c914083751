#pragma once

// The 10,000-entity block on a 1600x1000 view that the picking, snapping and editing benches
// share, with the cursor positions they all run and the baseline they are held against.
#include <benchmark/benchmark.h>

#include <cmath>
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

// One entity of the mix at (cx, cy): lines, rectangles, circles and arcs up to 15 units across,
// and a text every 200th entity.
inline std::string BlockSceneLine(int i, double cx, double cy, std::mt19937& random) {
  const auto number = [](double v) { return FormatPattern(v, kValuePattern); };
  std::uniform_real_distribution<double> extent(-7.5, 7.5);
  std::uniform_real_distribution<double> radius(0.2, 7.5);
  std::uniform_int_distribution<int> angle(0, 359);
  if (i % 200 == 199) {
    return "T(" + number(cx) + "," + number(cy) + ",'Opis " + std::to_string(i) + "',1,0.8," +
           std::to_string(angle(random)) + ")";
  }
  if (i % 10 < 4) {
    return "L(" + number(cx) + "," + number(cy) + ")-(" + number(cx + extent(random)) + "," +
           number(cy + extent(random)) + ");K(0,0,0);GR(0,1)";
  }
  if (i % 10 < 6) {
    return "P(" + number(cx) + "," + number(cy) + ")-(" + number(cx + extent(random)) + "," +
           number(cy + extent(random)) + ")";
  }
  if (i % 10 < 8) return "O(" + number(cx) + "," + number(cy) + "," + number(radius(random)) + ")";
  return "LUK(" + number(cx) + "," + number(cy) + "," + number(radius(random)) + "," +
         std::to_string(angle(random)) + "," + std::to_string(angle(random)) + ")";
}

// World -80..80 by -50..50 at 10 pixels a unit, kEntities of the mix; then the cursors. random
// goes on from where the scene leaves it, for what a bench adds.
inline void MakeBlockScene(BlockScene& s, std::mt19937& random) {
  s.view.SetViewSize(kWidth, kHeight);
  s.view.SetScale(100);
  for (Glyph& glyph : s.font.glyphs) glyph.advance = 20;
  std::uniform_real_distribution<double> x(-80, 80);
  std::uniform_real_distribution<double> y(-50, 50);
  for (int i = 0; i < kEntities; ++i) {
    const double cx = x(random);
    const double cy = y(random);
    std::string line = BlockSceneLine(i, cx, cy, random);
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

// The same mix grown to count entities as a large drawing grows, by area: the world keeps the
// scene's density (10,000 entities on 160 by 100 units, centred on the origin), so that a view
// at 10 pixels a unit holds about as many entities anywhere in it.
inline std::vector<std::string> MakeBlockLines(int count, std::mt19937& random) {
  const double grown = std::sqrt(static_cast<double>(count) / kEntities);
  std::uniform_real_distribution<double> x(-80 * grown, 80 * grown);
  std::uniform_real_distribution<double> y(-50 * grown, 50 * grown);
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double cx = x(random);
    const double cy = y(random);
    lines.push_back(BlockSceneLine(i, cx, cy, random));
  }
  return lines;
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
