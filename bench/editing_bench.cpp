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
// their 20,000 lines. The formatting writes, by the number patterns alone, exactly the lines the
// move writes, tails and texts included; the bench checks that before it times anything and
// fails when they differ. Window selection reads the drawing as the editor keeps it; over the
// records alone it is timed beside it for scale. Ratios are of CPU time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "block_scene.h"
#include "document/drawing.h"
#include "document/journal.h"
#include "editing/picking.h"
#include "editing/selection.h"
#include "editing/transform.h"
#include "geometry/geometry.h"
#include "model/numbers.h"
#include "model/parsed_entity.h"
#include "ratio_reporter.h"
#include "view/stroke_font.h"
#include "view/view_transform.h"

namespace blok {
namespace {

constexpr int kWindows = 16;

// A line as a move or copy writes it: its numbers by the writer's pattern, the colour and
// thickness in force after them.
struct LineToWrite {
  char kind;  // 'L', 'P', 'O', 'A', 'T'
  double a, b, c, d, e;
  std::string text;  // a text's
  double thickness;
};

std::string Write(const LineToWrite& w) {
  const auto n = [](double v) { return FormatPattern(v, kValuePattern); };
  const std::string tail = ";K(" + std::to_string(0) + "," + std::to_string(0) + "," +
                           std::to_string(0) + ");GR(" + n(w.thickness) + ")";
  switch (w.kind) {
    case 'L':
    case 'P':
      return w.kind + ("(" + n(w.a) + "," + n(w.b) + ")-(" + n(w.c) + "," + n(w.d) + ")") + tail;
    case 'O':
      return "O(" + n(w.a) + "," + n(w.b) + "," + n(w.c) + ")" + tail;
    case 'A':
      return "LUK(" + n(w.a) + "," + n(w.b) + "," + n(w.c) + "," + n(w.d) + "," + n(w.e) + ")" +
             tail;
    default:
      return "T(" + n(w.a) + "," + n(w.b) + ",'" + w.text + "'," + n(w.c) + "," + n(w.d) + "," +
             n(w.e) + ")" + tail;
  }
}

struct Scene : BlockScene {
  Drawing drawing;  // the same lines as the editor keeps them
  std::vector<StretchWindow> windows;
  // The lines the change cycle adds, and the numbers they are written from.
  std::vector<LineToWrite> to_write;
  std::vector<std::string> written;
};

const Scene& TheScene() {
  static const Scene scene = [] {
    Scene s;
    std::mt19937 random(11);
    MakeBlockScene(s, random);
    s.drawing.Load(s.lines);
    std::uniform_real_distribution<double> fraction(0.1, 0.5);
    for (int i = 0; i < kWindows; ++i) {
      const double w = 160 * fraction(random);
      const double h = 100 * fraction(random);
      const double left = std::uniform_real_distribution<double>(-80, 80 - w)(random);
      const double bottom = std::uniform_real_distribution<double>(-50, 50 - h)(random);
      s.windows.push_back({left, left + w, bottom, bottom + h});
    }
    // Every entity of the block moved by (1.5, -2.5), as a move or copy writes it: black,
    // and the thickness of 0.1 in force.
    const double thickness = 0.1f;
    for (const ParsedEntity& e : s.records) {
      if (const auto* r = std::get_if<SegmentRecord>(&e.record)) {
        s.to_write.push_back({e.kind == EntityKind::kRectangle ? 'P' : 'L',
                              r->x1 + 1.5,
                              r->y1 - 2.5,
                              r->x2 + 1.5,
                              r->y2 - 2.5,
                              0,
                              {},
                              thickness});
      } else if (const auto* c = std::get_if<CircleRecord>(&e.record)) {
        s.to_write.push_back({'O', c->x + 1.5, c->y - 2.5, c->radius, 0, 0, {}, thickness});
      } else if (const auto* a = std::get_if<ArcRecord>(&e.record)) {
        s.to_write.push_back({'A',
                              a->x + 1.5,
                              a->y - 2.5,
                              a->radius,
                              a->start_angle * kDegreesPerRadian,
                              a->end_angle * kDegreesPerRadian,
                              {},
                              thickness});
      } else if (const auto* t = std::get_if<TextRecord>(&e.record)) {
        s.to_write.push_back(
            {'T', t->x + 1.5, t->y - 2.5, t->height, t->width, t->angle, t->text, thickness});
      }
    }
    for (const LineToWrite& w : s.to_write) s.written.push_back(Write(w));
    return s;
  }();
  return scene;
}

// Whether the formatting baseline writes the very lines a move of the whole block writes; it
// prints the first that differs.
bool BaselineWritesWhatTheMoveWrites() {
  const Scene& s = TheScene();
  Selection all;
  all.flags.assign(s.records.size(), 1);
  all.count = s.records.size();
  const EditChanges moved = MoveSelection(s.records, all, 1.5f, -2.5f);
  if (moved.size() != s.written.size()) {
    std::fprintf(stderr, "the move wrote %zu lines, the baseline %zu\n", moved.size(),
                 s.written.size());
    return false;
  }
  for (const EditChange& change : moved) {
    const std::string& baseline = s.written[static_cast<std::size_t>(change.index)];
    if (change.line != baseline) {
      std::fprintf(stderr, "the move wrote %s, the baseline %s\n", change.line.c_str(),
                   baseline.c_str());
      return false;
    }
  }
  return true;
}

// B: the bare loop over the segments, already in pixels.
void BM_Baseline(benchmark::State& state) { RunSegmentBaseline(state, TheScene()); }
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
    selected += selection.count;
  }
  state.counters["selected"] = static_cast<double>(selected) / static_cast<double>(k);
}
BENCHMARK(BM_SelectByWindow);

// For scale: the same over the records alone, without the drawing's compact boxes.
void BM_SelectByWindowOverRecords(benchmark::State& state) {
  const Scene& s = TheScene();
  Selection selection;
  std::size_t k = 0;
  for (auto _ : state) {
    SelectByWindow(s.records, s.font, selection, s.windows[k++ % kWindows]);
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
// applied as the Editor applies an operation: each change through the journal in turn, with the
// record the operation made beside its line.
class Editing {
 public:
  explicit Editing(const Scene& s) {
    drawing_.Load(s.lines);
    selection_.count = s.lines.size();
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
          journal_.ZmienObiekt(change.index, std::move(change.line), std::move(*change.record));
          break;
        case EditChange::Kind::kAdd:
          journal_.DodajObiekt(std::move(change.line), std::move(*change.record));
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

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (!blok::BaselineWritesWhatTheMoveWrites()) return 1;
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("nearest entity / baseline", "BM_FindNearestEntity", "BM_Baseline", 2);
    r.Ratio("window selection / baseline", "BM_SelectByWindow", "BM_Baseline", 2);
    r.Ratio("nearest entity / baseline over the records", "BM_FindNearestEntity",
            "BM_BaselineOverRecords", 2);
    r.Ratio("window selection / baseline over the records", "BM_SelectByWindow",
            "BM_BaselineOverRecords", 2);
    r.Ratio("window selection without boxes / baseline", "BM_SelectByWindowOverRecords",
            "BM_Baseline", 0);
    r.Ratio("adds and undos / formatting", "BM_AddAndUndo/10000", "BM_FormatLines", 3);
    r.Ratio("the same onto 100,000 lines / onto 10,000", "BM_AddAndUndo/100000",
            "BM_AddAndUndo/10000", 1.5);
    r.Ratio("move and its undos / formatting", "BM_MoveAndUndo", "BM_FormatLines", 2);
    r.Ratio("copy and its undos / formatting", "BM_CopyAndUndo", "BM_FormatLines", 2);
    r.Ratio("move, copy and all undos / formatting twice", "BM_MoveCopyAndUndo", "BM_FormatLines",
            2, 2);
    r.Ratio("front of a vector / adds and undos", "BM_AddAndUndoAtTheFrontOfAVector",
            "BM_AddAndUndo/10000", 0);
  });
}
