// What keeping a recovery file costs the user: the snapshot the GUI thread takes of a
// 10,000-entity block (path, name, unit, every line, the time) is held against one redraw of
// that block into a 1600x1000 image, and set beside one DodajObiekt with its undo for scale.
// Formatting and writing the file happen on the writer's thread; their wall-clock time is
// timed for scale, with the file flushed to the disk as the editor writes it.
// Ratios are of CPU time, but for the write.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QImage>
#include <QPainter>
#include <random>
#include <string>
#include <vector>

#include "block_scene.h"
#include "document/drawing.h"
#include "document/journal.h"
#include "document/recovery_file.h"
#include "ratio_reporter.h"
#include "ui/painter_canvas.h"
#include "view/renderer.h"

namespace blok {
namespace {

struct Scene : BlockScene {
  Drawing drawing;
};

Scene& TheScene() {
  static Scene scene = [] {
    Scene s;
    std::mt19937 random(5);
    MakeBlockScene(s, random);
    s.drawing.Load(s.lines);
    return s;
  }();
  return scene;
}

// As the Editor takes it: the lines copied out of the drawing.
RecoverySnapshot Take(const Drawing& drawing) {
  return {"/home/projekt/Bloki/znaki.blk", "Znak drogowy", "m",
          std::vector<std::string>(drawing.lines().begin(), drawing.lines().end()), 1'765'000'000};
}

void BM_Snapshot(benchmark::State& state) {
  const Scene& s = TheScene();
  for (auto _ : state) {
    RecoverySnapshot snapshot = Take(s.drawing);
    benchmark::DoNotOptimize(snapshot);
  }
  state.counters["lines"] = static_cast<double>(s.drawing.lines().size());
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMicrosecond);

void BM_Redraw(benchmark::State& state) {
  Scene& s = TheScene();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    ReadingDefaults defaults;
    DrawEntities(canvas, s.view, s.drawing.records(), s.font, defaults);
  }
}
BENCHMARK(BM_Redraw)->Unit(benchmark::kMicrosecond);

void BM_DodajObiekt(benchmark::State& state) {
  Scene& s = TheScene();
  Journal journal(s.drawing);
  for (auto _ : state) {
    journal.DodajObiekt("O(1,2,3)");
    journal.UndoStep();
  }
}
BENCHMARK(BM_DodajObiekt)->Unit(benchmark::kMicrosecond);

void BM_WriteRecoveryFile(benchmark::State& state) {
  char folder[] = "/tmp/blok-recovery-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return state.SkipWithError("no temporary folder");
  const std::filesystem::path file = std::filesystem::path(folder) / "1.blkr";
  const RecoverySnapshot snapshot = Take(TheScene().drawing);
  for (auto _ : state) {
    if (!WriteRecoveryFile(file, snapshot)) return state.SkipWithError("write failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteRecoveryFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("snapshot / one redraw", "BM_Snapshot", "BM_Redraw", 0.25);
    r.Ratio("snapshot / one DodajObiekt and undo", "BM_Snapshot", "BM_DodajObiekt", 0);
    r.Ratio("writer's write / one redraw (wall clock)", "BM_WriteRecoveryFile/real_time",
            "BM_Redraw", 0);
  });
}
