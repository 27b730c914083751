// Reusing symbols in the real window (off-screen). A library block of 1,000 entities inserted
// with wb, and 10,000 lines pasted with wk, each held against adding the very lines they write
// in one step (what DodajObiekt does for each line of a command), each with its Cofnij. A mouse
// move while the 1,000 entities follow the cursor is held against a full redraw of the drawing
// holding them. Ratios are of CPU time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "ratio_reporter.h"
#include "ui/main_window.h"
#include "ui/paint_box.h"
#include "window_bench.h"

namespace blok {
namespace {

// The grid's lines with a colour and a thickness command under them.
std::vector<std::string> Lines(int count) {
  std::vector<std::string> lines = GridLines(count);
  lines.push_back("K(255,0,0)");
  lines.push_back("GR(0,25)");
  return lines;
}

struct Scene {
  std::filesystem::path dir;
  std::unique_ptr<TPodgladRysowanie> window;
  std::string paste;  // the clipboard's text

  Scene() {
    dir = ProgramDir("reuse_bench");
    const auto library = dir / "Bloki" / "symbole.blk";
    if (!DopiszBlok(library, {.name = "Wzór", .unit = "m", .lines = Lines(1000)})) std::abort();
    window = std::make_unique<TPodgladRysowanie>(dir);
    window->resize(1180, 780);
    window->show();
    window->OpenGivenFile(QString::fromStdString(library.string()));
    for (const std::string& line : Lines(10000)) paste += line + "\n";
    Settle();
    editor().NowyBlok();
    editor().library().SelectBlock(0);
    // The view on the whole block, as it will lie once placed at the origin.
    Type({"wb", "0,0", "", ""});
    editor().view().ZoomAll();
    editor().block().BCofnijClick();
    Settle();
  }
  ~Scene() {
    window.reset();
    std::filesystem::remove_all(dir);
  }
  Editor& editor() { return window->editor(); }
  void Settle() {
    QCoreApplication::processEvents();
    window->repaint();
  }
  void Type(std::initializer_list<const char*> entries) {
    for (const char* entry : entries) editor().WykonajPolecenie(entry);
  }
  // The pane would otherwise grow by every iteration's messages, as no session's does.
  void ForgetMessages(benchmark::State& state) {
    state.PauseTiming();
    editor().messages().Clear();
    state.ResumeTiming();
  }
  // What the typed entries add, as the adds of one step.
  EditChanges AddsOf(std::initializer_list<const char*> entries) {
    Type(entries);
    const auto lines = editor().block().drawing().lines();
    EditChanges adds;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
      adds.push_back({.kind = EditChange::Kind::kAdd, .index = -1, .line = *line});
    }
    editor().block().BCofnijClick();
    return adds;
  }
};

std::unique_ptr<Scene> scene;

Scene& TheScene() {
  if (!scene) scene = std::make_unique<Scene>();
  return *scene;
}

constexpr std::initializer_list<const char*> kInsert = {"wb", "0,0", "", ""};
constexpr std::initializer_list<const char*> kPaste = {"wk", "0,0"};

// B: the same lines added in one step, and taken back.
void BM_AddInOneStep(benchmark::State& state, bool pasted) {
  Scene& s = TheScene();
  if (pasted) QApplication::clipboard()->setText(QString::fromStdString(s.paste));
  const EditChanges adds = s.AddsOf(pasted ? kPaste : kInsert);
  for (auto _ : state) {
    s.editor().block().ApplyChanges(adds);
    s.editor().block().BCofnijClick();
  }
  state.counters["lines"] = static_cast<double>(adds.size());
}

void BM_InsertBlock(benchmark::State& state) {
  Scene& s = TheScene();
  for (auto _ : state) {
    s.Type(kInsert);
    s.editor().block().BCofnijClick();
    s.ForgetMessages(state);
  }
}

void BM_Paste(benchmark::State& state) {
  Scene& s = TheScene();
  QApplication::clipboard()->setText(QString::fromStdString(s.paste));
  for (auto _ : state) {
    s.Type(kPaste);
    s.editor().block().BCofnijClick();
    s.ForgetMessages(state);
  }
}

// A: one mouse move while the block follows the cursor, painted.
void BM_PreviewMove(benchmark::State& state) {
  Scene& s = TheScene();
  s.Type({"wb"});
  int step = 0;
  for (auto _ : state) {
    s.editor().MouseMove(500 + step % 40, 300 + step % 30);
    s.window->podglad().repaint();
    ++step;
  }
  s.editor().CommandKey(Key::kEscape);
}

// B: the drawing holding the same 1,000 entities drawn again, painted.
void BM_RedrawInserted(benchmark::State& state) {
  Scene& s = TheScene();
  s.Type(kInsert);
  for (auto _ : state) {
    s.editor().view().Redraw();
    s.window->podglad().repaint();
  }
  s.editor().block().BCofnijClick();
}

BENCHMARK_CAPTURE(BM_AddInOneStep, block, false)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertBlock)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AddInOneStep, paste, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawInserted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewMove)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int result = blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("a 1,000-entity block inserted / added", "BM_InsertBlock", "BM_AddInOneStep/block",
            2.0);
    r.Ratio("10,000 lines pasted / added", "BM_Paste", "BM_AddInOneStep/paste", 2.0);
    r.Ratio("a move with the block following / a redraw", "BM_PreviewMove", "BM_RedrawInserted",
            2.0);
  });
  blok::scene.reset();
  return result;
}
