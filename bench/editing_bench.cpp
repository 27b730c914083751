// Selecting in, and changing, a 10,000-entity block on a 1600x1000 view.
//
// Picking the entity under a pixel and a window selection are held against the least a pass
// over the block could cost: PointSegmentDistance from a point to every line and rectangle,
// parsed and taken to pixels beforehand; and against the same loop reading the parsed records
// as the drawing keeps them.
//
// 10,000 adds through the journal onto a drawing of 10,000 lines, and their 10,000 undos, are
// held against formatting the same 10,000 lines with the number patterns alone. The same cycle
// on a drawing of 100,000 lines must cost about as much: an add goes to line 0, and nothing
// here may grow with the drawing. A plain vector that inserts at its front is timed beside it
// for scale.
//
// Moving the whole block, selected, the Editor's way (the operation's changes applied one by
// one through the journal), copying it, and undoing every record are held against the same
// formatting: each with its undos, and both in one cycle with all their undos against formatting
// their 20,000 lines. Window selection reads the
// drawing as the editor keeps it; over the records alone it is timed beside it for scale.
// Ratios are of CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "document/drawing.h"
#include "document/journal.h"
#include "editing/picking.h"
#include "editing/selection.h"
#include "editing/transform.h"
#include "geometry/geometry.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kEntities = 10000;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;
constexpr int kCursors = 256;
constexpr int kWindows = 16;

std::string Number(double v) { return FormatPattern(v, kValuePattern); }

// What a move or copy writes: the coordinates by the writers' pattern, the tails kept.
struct LineToWrite {
  char kind;  // 'L', 'P', 'O', 'A'
  double a, b, c, d, e;
};

std::string Write(const LineToWrite& w) {
  const auto n = [](double v) { return FormatPattern(v, kCoordinatePattern); };
  switch (w.kind) {
    case 'L':
      return "L(" + n(w.a) + "," + n(w.b) + ")-(" + n(w.c) + "," + n(w.d) + ");K(0,0,0);GR(0,1)";
    case 'P':
      return "P(" + n(w.a) + "," + n(w.b) + ")-(" + n(w.c) + "," + n(w.d) + ")";
    case 'O':
      return "O(" + n(w.a) + "," + n(w.b) + "," + n(w.c) + ")";
    default:
      return "LUK(" + n(w.a) + "," + n(w.b) + "," + n(w.c) + "," + n(w.d) + "," + n(w.e) + ")";
  }
}

struct Scene {
  ViewTransform view;
  StrokeFont font;
  std::vector<std::string> lines;
  std::vector<ParsedEntity> records;
  Drawing drawing;  // the same lines as the editor keeps them
  std::vector<PixelPoint> cursors;
  std::vector<StretchWindow> windows;
  // The baseline's segments: every line and rectangle, in pixels.
  struct PixelSegment {
    float x1, y1, x2, y2;
  };
  std::vector<PixelSegment> segments;
  // The lines the change cycle adds, and the numbers they are written from.
  std::vector<LineToWrite> to_write;
  std::vector<std::string> written;
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
      s.lines.push_back(line);
      s.records.push_back(ParseEntity(line));
    }
    s.drawing.Load(s.lines);
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
    // A tenth of the block's width and height up to a half of each, anywhere on it.
    std::uniform_real_distribution<double> fraction(0.1, 0.5);
    for (int i = 0; i < kWindows; ++i) {
      const double w = 160 * fraction(random);
      const double h = 100 * fraction(random);
      const double left = std::uniform_real_distribution<double>(-80, 80 - w)(random);
      const double bottom = std::uniform_real_distribution<double>(-50, 50 - h)(random);
      s.windows.push_back({left, left + w, bottom, bottom + h});
    }
    // Every entity of the block moved by (1.5, -2.5), as a move or copy would write it.
    for (const ParsedEntity& e : s.records) {
      if (const auto* r = std::get_if<SegmentRecord>(&e.record)) {
        s.to_write.push_back({e.kind == EntityKind::kRectangle ? 'P' : 'L', r->x1 + 1.5,
                              r->y1 - 2.5, r->x2 + 1.5, r->y2 - 2.5, 0});
      } else if (const auto* c = std::get_if<CircleRecord>(&e.record)) {
        s.to_write.push_back({'O', c->x + 1.5, c->y - 2.5, c->radius, 0, 0});
      } else if (const auto* a = std::get_if<ArcRecord>(&e.record)) {
        s.to_write.push_back({'A', a->x + 1.5, a->y - 2.5, a->radius,
                              a->start_angle * kDegreesPerRadian,
                              a->end_angle * kDegreesPerRadian});
      } else {
        s.to_write.push_back({'O', 0, 0, 1, 0, 0});
      }
    }
    for (const LineToWrite& w : s.to_write) s.written.push_back(Write(w));
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

// B': the same loop read straight from the parsed records, in world units, as a pass over the
// drawing must read them.
void BM_BaselineOverRecords(benchmark::State& state) {
  const Scene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    const float x = static_cast<float>(s.view.ScreenToWorldX(c.x));
    const float y = static_cast<float>(s.view.ScreenToWorldY(c.y));
    float best = 100000;
    for (const ParsedEntity& e : s.records) {
      if (const auto* r = std::get_if<SegmentRecord>(&e.record)) {
        const float d =
            PointSegmentDistance(static_cast<float>(r->x1), static_cast<float>(r->y1),
                                 static_cast<float>(r->x2), static_cast<float>(r->y2), x, y);
        if (d < best) best = d;
      }
    }
    benchmark::DoNotOptimize(best);
  }
}
BENCHMARK(BM_BaselineOverRecords);

void BM_FindNearestEntity(benchmark::State& state) {
  const Scene& s = TheScene();
  std::size_t k = 0;
  for (auto _ : state) {
    const PixelPoint c = s.cursors[k++ % kCursors];
    benchmark::DoNotOptimize(FindNearestEntity(s.records, s.view, s.font, c.x, c.y));
  }
}
BENCHMARK(BM_FindNearestEntity);

// One selection, kept from window to window as the editor keeps its own, over the drawing.
void BM_SelectByWindow(benchmark::State& state) {
  const Scene& s = TheScene();
  Selection selection;
  std::size_t k = 0;
  std::size_t selected = 0;
  for (auto _ : state) {
    SelectByWindow(s.drawing, s.font, selection, s.windows[k++ % kWindows]);
    selected += selection.lines.size();
  }
  state.counters["selected"] = static_cast<double>(selected) / static_cast<double>(k);
}
BENCHMARK(BM_SelectByWindow);

// For scale: the same over the records and lines alone, without the drawing's compact boxes.
void BM_SelectByWindowOverRecords(benchmark::State& state) {
  const Scene& s = TheScene();
  Selection selection;
  std::size_t k = 0;
  for (auto _ : state) {
    SelectByWindow(s.records, s.lines, s.font, selection, s.windows[k++ % kWindows]);
  }
}
BENCHMARK(BM_SelectByWindowOverRecords);

// B: the 10,000 lines a move or copy of the whole block would write, formatted.
void BM_FormatLines(benchmark::State& state) {
  const Scene& s = TheScene();
  for (auto _ : state) {
    for (const LineToWrite& w : s.to_write) {
      std::string line = Write(w);
      benchmark::DoNotOptimize(line.data());
    }
  }
}
BENCHMARK(BM_FormatLines);

// Those lines added onto a drawing of `range` lines, then every add undone. The drawing ends
// as it began; the next round's first add discards the undone records.
void BM_AddAndUndo(benchmark::State& state) {
  const Scene& s = TheScene();
  std::vector<std::string> loaded;
  while (loaded.size() < static_cast<std::size_t>(state.range(0))) {
    loaded.insert(loaded.end(), s.lines.begin(), s.lines.end());
  }
  loaded.resize(state.range(0));
  Drawing drawing;
  drawing.Load(std::move(loaded));
  Journal journal(drawing);
  for (auto _ : state) {
    for (const std::string& line : s.written) journal.DodajObiekt(line);
    while (journal.Undo()) {
    }
    benchmark::DoNotOptimize(drawing.size());
  }
}
BENCHMARK(BM_AddAndUndo)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// For scale: the lines and their records in plain vectors, each add inserted at the front.
void BM_AddAndUndoAtTheFrontOfAVector(benchmark::State& state) {
  const Scene& s = TheScene();
  std::vector<std::string> lines(s.lines.begin(), s.lines.end());
  std::vector<ParsedEntity> records(s.records.begin(), s.records.end());
  for (auto _ : state) {
    for (const std::string& line : s.written) {
      records.insert(records.begin(), ParseEntity(line));
      lines.insert(lines.begin(), line);
    }
    for (std::size_t i = 0; i < s.written.size(); ++i) {
      records.erase(records.begin());
      lines.erase(lines.begin());
    }
    benchmark::DoNotOptimize(lines.size());
  }
}
BENCHMARK(BM_AddAndUndoAtTheFrontOfAVector)->Unit(benchmark::kMillisecond);

// The whole block in a drawing with its journal, every line selected; a move or copy is
// applied as the Editor applies an operation: each change through the journal in turn.
class Editing {
 public:
  explicit Editing(const Scene& s) {
    drawing_.Load(s.lines);
    selection_.lines = s.lines;
  }

  // By (1.5, -2.5), as the lines of the formatting baseline are moved. A move clears the flags
  // it visits, so each selects the block afresh.
  void Move() {
    selection_.flags.assign(drawing_.size(), 1);
    Apply(MoveSelection(drawing_.records(), selection_, 1.5f, -2.5f));
  }
  void Copy() {
    selection_.flags.assign(drawing_.size(), 1);
    Apply(CopySelection(drawing_.records(), selection_, 1.5f, -2.5f));
  }
  // Every record, one at a time. The drawing is as loaded again; the next change discards the
  // undone records.
  void UndoAll() {
    while (journal_.Undo()) {
    }
    benchmark::DoNotOptimize(drawing_.size());
  }

 private:
  void Apply(EditChanges changes) {
    for (EditChange& change : changes) {
      switch (change.kind) {
        case EditChange::Kind::kReplace:
          journal_.ZmienObiekt(change.index, std::move(change.line));
          break;
        case EditChange::Kind::kAdd:
          journal_.DodajObiekt(std::move(change.line));
          break;
        case EditChange::Kind::kDelete:
          journal_.UsunObiekt(change.index);
          break;
      }
    }
  }

  Drawing drawing_;
  Journal journal_{drawing_};
  Selection selection_;
};

// 10,000 replacements, then their undos.
void BM_MoveAndUndo(benchmark::State& state) {
  Editing editing(TheScene());
  for (auto _ : state) {
    editing.Move();
    editing.UndoAll();
  }
}
BENCHMARK(BM_MoveAndUndo)->Unit(benchmark::kMillisecond);

// 10,000 adds, then their undos.
void BM_CopyAndUndo(benchmark::State& state) {
  Editing editing(TheScene());
  for (auto _ : state) {
    editing.Copy();
    editing.UndoAll();
  }
}
BENCHMARK(BM_CopyAndUndo)->Unit(benchmark::kMillisecond);

// Both, then all 20,000 undos.
void BM_MoveCopyAndUndo(benchmark::State& state) {
  Editing editing(TheScene());
  for (auto _ : state) {
    editing.Move();
    editing.Copy();
    editing.UndoAll();
  }
}
BENCHMARK(BM_MoveCopyAndUndo)->Unit(benchmark::kMillisecond);

// The console report, then the ratios the benchmarks are for.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With --benchmark_repetitions the median stands for the benchmark: the machine is shared.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration) {
        times_.try_emplace(run.run_name.str(), run.GetAdjustedCPUTime() / PerSecond(run));
      } else if (run.aggregate_name == "median") {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime() / PerSecond(run);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    // times: how many runs of b a's work holds.
    const auto ratio = [&](const char* what, const std::string& a, const std::string& b,
                           double target, double times = 1) {
      const auto ia = times_.find(a);
      const auto ib = times_.find(b);
      if (ia == times_.end() || ib == times_.end() || ib->second <= 0) return;
      const double r = ia->second / (times * ib->second);
      if (target > 0) {
        std::printf("%-44s %7.2f  (at most %.2f: %s)\n", what, r, target,
                    r <= target ? "met" : "NOT MET");
      } else {
        std::printf("%-44s %7.2f\n", what, r);
      }
    };
    ratio("nearest entity / baseline", "BM_FindNearestEntity", "BM_Baseline", 2);
    ratio("window selection / baseline", "BM_SelectByWindow", "BM_Baseline", 2);
    ratio("nearest entity / baseline over the records", "BM_FindNearestEntity",
          "BM_BaselineOverRecords", 2);
    ratio("window selection / baseline over the records", "BM_SelectByWindow",
          "BM_BaselineOverRecords", 2);
    ratio("window selection without boxes / baseline", "BM_SelectByWindowOverRecords",
          "BM_Baseline", 0);
    ratio("adds and undos / formatting", "BM_AddAndUndo/10000", "BM_FormatLines", 3);
    ratio("the same onto 100,000 lines / onto 10,000", "BM_AddAndUndo/100000",
          "BM_AddAndUndo/10000", 1.5);
    ratio("move and its undos / formatting", "BM_MoveAndUndo", "BM_FormatLines", 3);
    ratio("copy and its undos / formatting", "BM_CopyAndUndo", "BM_FormatLines", 3);
    ratio("move, copy and all undos / formatting twice", "BM_MoveCopyAndUndo", "BM_FormatLines",
          3, 2);
    ratio("front of a vector / adds and undos", "BM_AddAndUndoAtTheFrontOfAVector",
          "BM_AddAndUndo/10000", 0);
  }

 private:
  // Reported times are in each run's own unit; the ratios want one.
  static double PerSecond(const Run& run) {
    return benchmark::GetTimeUnitMultiplier(run.time_unit);
  }

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
