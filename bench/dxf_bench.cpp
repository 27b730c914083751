// A library of 1,000 blocks of 30 entities each (lines, rectangles, circles, arcs, texts in
// several colours and thicknesses), exported to DXF and imported back.
//
// The import (reading the DXF, making the entity lines, saving the blocks into a new library)
// is held against the export of the same blocks (reading the library, writing the DXF), each
// ending with its file synced to the disk; both on the wall clock.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "document/block_file.h"
#include "document/dxf_export.h"
#include "document/dxf_import.h"
#include "document/text_file.h"
#include "ratio_reporter.h"
#include "view/font_capital.h"
#include "view/stroke_font.h"

namespace blok {
namespace {

constexpr int kBlocks = 1000;
constexpr int kEntities = 30;

class Files {
 public:
  Files() {
    char pattern[] = "/tmp/dxf_bench-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> n(-500, 500);
    const auto number = [&] {
      return std::to_string(n(random)) + "." + std::to_string(n(random) & 63);
    };
    const char* tails[] = {";K(0,0,0);GR(0,10)", ";K(255,0,0);GR(0,25)", ";K(0,128,0);GR(0,50)",
                           ";K(12,34,56);GR(0,18)"};
    std::string bytes;
    for (int b = 0; b < kBlocks; ++b) {
      BlockToSave block{.name = "Symbol " + std::to_string(b), .unit = "m", .lines = {}};
      for (int e = 0; e < kEntities; ++e) {
        const std::string tail = tails[e % 4];
        switch (e % 5) {
          case 0:
            block.lines.push_back("L(" + number() + "," + number() + ")-(" + number() + "," +
                                  number() + ")" + tail);
            break;
          case 1:
            block.lines.push_back("P(" + number() + "," + number() + ")-(" + number() + "," +
                                  number() + ")" + tail);
            break;
          case 2:
            block.lines.push_back("O(" + number() + "," + number() + ",2.5)" + tail);
            break;
          case 3:
            block.lines.push_back("LUK(" + number() + "," + number() + ",3,10,200)" + tail);
            break;
          default:
            block.lines.push_back("T(" + number() + "," + number() + ",'Opis " + std::to_string(e) +
                                  "',0.5,0.4,30)" + tail);
            break;
        }
      }
      for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
    }
    if (!ReplaceFileContents(library(), bytes)) std::abort();
    auto font = LoadStrokeFont(std::filesystem::path(BLOK_BIN_DIR) / "Dane" / "Romans100.Lzs");
    if (!font) std::abort();
    font_ = *font;
    if (!Export()) std::abort();
  }
  ~Files() { std::filesystem::remove_all(dir_); }

  std::filesystem::path library() const { return dir_ / "biblioteka.blk"; }
  std::filesystem::path dxf() const { return dir_ / "rysunek.dxf"; }
  std::filesystem::path imported() const { return dir_ / "import.blk"; }

  Result<DxfExportReport> Export() const {
    return ExportDxf({.library = library(), .names = {}, .output = dxf()}, ExportFontOf(font_));
  }

  Result<BlocksSaveOutcome> Import() const {
    DxfImportOptions options;
    options.all_blocks = true;
    options.capital = CapitalOf(font_);
    options.text_length = [this](std::string_view text, double width) {
      return TextLength(font_, text, width);
    };
    auto report = ImportDxf(dxf(), options);
    if (!report || report->blocks.size() != kBlocks) return Fail("import");
    std::vector<BlockToSave> blocks;
    blocks.reserve(report->blocks.size());
    for (DxfBlock& b : report->blocks) {
      if (b.lines.size() != kEntities) return Fail("lines lost");
      blocks.push_back({std::move(b.name), std::move(b.unit), std::move(b.lines)});
    }
    return SaveBlocks(imported(), blocks, true);
  }

 private:
  std::filesystem::path dir_;
  StrokeFont font_;
};

const Files& TheFiles() {
  static const Files files;
  return files;
}

// B: the export.
void BM_Export(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    if (!files.Export()) state.SkipWithError("the export failed");
  }
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->UseRealTime();

// A: the import into a library made anew each time.
void BM_Import(benchmark::State& state) {
  const Files& files = TheFiles();
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(files.imported());
    state.ResumeTiming();
    if (!files.Import()) state.SkipWithError("the import failed");
  }
}
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("importing 1,000 blocks / exporting them", "BM_Import/real_time", "BM_Export/real_time",
            2);
  });
}
