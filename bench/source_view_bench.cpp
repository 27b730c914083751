// The source view with a block of 10,000 lines, in the real window (off-screen): showing the
// rows, scrolling them a page, and a line typed on the command line with the rows shown and
// without them, each beside a full redraw of the same drawing, which the user waits for at
// every zoom. Showing the rows narrows the drawing, which is drawn again: that redraw and the
// rows together must cost no more than two redraws; scrolling a page must cost less than half
// a redraw; an entry typed with the rows shown must cost about what it costs without them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cstdint>
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

constexpr int kLines = 10000;

std::vector<std::string> Lines() { return GridLines(kLines); }

// The window on a folder of its own, the block loaded, the view showing all of it.
struct Scene {
  std::filesystem::path dir;
  std::unique_ptr<TPodgladRysowanie> window;

  Scene() {
    dir = ProgramDir("source_view_bench");
    const auto library = dir / "Bloki" / "duzy.blk";
    if (!DopiszBlok(library, {.name = "Duży", .unit = "m", .lines = Lines()})) std::abort();
    window = std::make_unique<TPodgladRysowanie>(dir);
    window->resize(1180, 780);
    window->show();
    window->OpenGivenFile(QString::fromStdString(library.string()), "Duży");
    Settle();
    window->repaint();
  }
  ~Scene() {
    window.reset();
    std::filesystem::remove_all(dir);
  }
  template <typename T>
  T* Find(const char* name) {
    return window->findChild<T*>(name);
  }
  void ShowRows(bool on) {
    if (Find<QPushButton>("B_Zrodlo")->isChecked() != on) Find<QPushButton>("B_Zrodlo")->click();
  }
  // Everything due is painted, as the window paints it for the user: what changed, not the
  // rest of the window again.
  void Settle() { QCoreApplication::processEvents(); }
};

// Made at first use; gone before the application is.
std::unique_ptr<Scene> scene;

Scene& TheScene() {
  if (!scene) scene = std::make_unique<Scene>();
  return *scene;
}

void BM_Redraw(benchmark::State& state) {
  Scene& s = TheScene();
  s.ShowRows(false);
  for (auto _ : state) {
    s.window->editor().view().Redraw();
    s.window->podglad().repaint();
  }
}

// Counts the paints a widget gets.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

void BM_ShowRows(benchmark::State& state) {
  Scene& s = TheScene();
  PaintCounter rows_painted;
  s.Find<QListView>("Polecenia")->viewport()->installEventFilter(&rows_painted);
  for (auto _ : state) {
    // Laid out and painted with the drawing beside it, narrower now: what the show makes due,
    // as the window paints it for the user. The rest of the window is not painted again.
    const std::uint64_t frames = s.window->podglad().frames_presented();
    const int paints = rows_painted.paints;
    s.ShowRows(true);
    QCoreApplication::processEvents();
    state.PauseTiming();
    if (s.window->podglad().frames_presented() == frames || rows_painted.paints == paints) {
      state.SkipWithError("the rows shown did not bring a new frame and the rows painted");
      break;
    }
    s.ShowRows(false);
    s.Settle();
    state.ResumeTiming();
  }
}

void BM_ScrollPage(benchmark::State& state) {
  Scene& s = TheScene();
  s.ShowRows(true);
  s.Settle();
  auto* rows = s.Find<QListView>("Polecenia");
  QScrollBar* bar = rows->verticalScrollBar();
  for (auto _ : state) {
    const int next = bar->value() + bar->pageStep();
    bar->setValue(next > bar->maximum() ? 0 : next);
    rows->viewport()->repaint();
  }
}

// A line typed and entered, then taken back, as the user's keys reach the window; the frame of
// the drawing that follows is painted.
void BM_Entry(benchmark::State& state, bool rows_shown) {
  Scene& s = TheScene();
  s.ShowRows(rows_shown);
  s.Settle();
  auto* entry = s.Find<QLineEdit>("E_Polecenie");
  auto* undo = s.window->findChild<QAction*>("M_Cofnij");
  for (auto _ : state) {
    const std::uint64_t frames = s.window->podglad().frames_presented();
    entry->setFocus();
    QTest::keyClicks(entry, "L(0,0)-(1,1)");
    QTest::keyClick(entry, Qt::Key_Return);
    s.Settle();
    undo->trigger();
    s.Settle();
    if (s.window->podglad().frames_presented() < frames + 2) {
      state.SkipWithError("the entry and its undo did not each bring a new frame");
      break;
    }
  }
}

BENCHMARK(BM_Redraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Entry, without_rows, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Entry, with_rows, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int result = blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("showing the rows / a redraw", "BM_ShowRows", "BM_Redraw", 2.0);
    r.Ratio("scrolling a page / a redraw", "BM_ScrollPage", "BM_Redraw", 0.5);
    r.Ratio("an entry with the rows / without", "BM_Entry/with_rows", "BM_Entry/without_rows",
            1.25);
  });
  blok::scene.reset();
  return result;
}
