// A folder of 1,000 DXF symbols in ten trade folders, each file 2–5 KB as another CAD program
// writes a small symbol (a header, a layer table, lines, arcs, a circle and a text), imported
// by one blk import into a new library, held against cat of the same files. Both are run as
// processes, their output to /dev/null, on the wall clock.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "process_run.h"
#include "ratio_reporter.h"

namespace blok {
namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;

std::string Pair(int code, const std::string& value) {
  return std::to_string(code) + "\n" + value + "\n";
}

// One symbol as a CAD program saves it: handles, layers and an owner on every entity.
std::string Symbol(std::mt19937& random) {
  std::uniform_real_distribution<double> at(-5, 5);
  const auto n = [&] { return std::to_string(at(random)); };
  std::string d = Pair(0, "SECTION") + Pair(2, "HEADER") + Pair(9, "$ACADVER") + Pair(1, "AC1015") +
                  Pair(9, "$INSUNITS") + Pair(70, "6") + Pair(9, "$EXTMIN") + Pair(10, "-5") +
                  Pair(20, "-5") + Pair(30, "0") + Pair(9, "$EXTMAX") + Pair(10, "5") +
                  Pair(20, "5") + Pair(30, "0") + Pair(0, "ENDSEC");
  d += Pair(0, "SECTION") + Pair(2, "TABLES") + Pair(0, "TABLE") + Pair(2, "LAYER") + Pair(70, "2");
  for (const char* layer : {"0", "SYMBOL"}) {
    d += Pair(0, "LAYER") + Pair(5, "10") + Pair(100, "AcDbSymbolTableRecord") +
         Pair(100, "AcDbLayerTableRecord") + Pair(2, layer) + Pair(70, "0") + Pair(62, "7") +
         Pair(6, "CONTINUOUS") + Pair(370, "-3");
  }
  d += Pair(0, "ENDTAB") + Pair(0, "ENDSEC") + Pair(0, "SECTION") + Pair(2, "ENTITIES");
  const int lines = 8 + static_cast<int>(random() % 16);
  int handle = 0x100;
  const auto head = [&](const char* type, const char* subclass) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", handle++);
    d += Pair(0, type) + Pair(5, hex) + Pair(330, "1F") + Pair(100, "AcDbEntity") +
         Pair(8, "SYMBOL") + Pair(62, "256") + Pair(370, "25") + Pair(100, subclass);
  };
  for (int i = 0; i < lines; ++i) {
    head("LINE", "AcDbLine");
    d += Pair(10, n()) + Pair(20, n()) + Pair(30, "0") + Pair(11, n()) + Pair(21, n()) +
         Pair(31, "0");
  }
  for (int i = 0; i < 2; ++i) {
    head("ARC", "AcDbCircle");
    d += Pair(10, n()) + Pair(20, n()) + Pair(30, "0") + Pair(40, "1.5") + Pair(100, "AcDbArc") +
         Pair(50, "15") + Pair(51, "160");
  }
  head("CIRCLE", "AcDbCircle");
  d += Pair(10, "0") + Pair(20, "0") + Pair(30, "0") + Pair(40, "0.25");
  head("TEXT", "AcDbText");
  d += Pair(10, "-2") + Pair(20, "-4") + Pair(30, "0") + Pair(40, "0.8") + Pair(1, "ZS-12") +
       Pair(100, "AcDbText");
  return d + Pair(0, "ENDSEC") + Pair(0, "EOF");
}

class Folder {
 public:
  Folder() {
    char pattern[] = "/tmp/dxf_folder_bench-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    std::mt19937 random(7);
    size_t bytes = 0;
    for (int i = 0; i < kFiles; ++i) {
      const fs::path file = dir_ / "symbole" / ("branza" + std::to_string(i % 10)) /
                            ("sym" + std::to_string(i) + ".dxf");
      fs::create_directories(file.parent_path());
      const std::string text = Symbol(random);
      bytes += text.size();
      std::ofstream(file, std::ios::binary) << text;
      files_.push_back(file.string());
    }
    std::printf("%d files, %.1f KB each on average\n", kFiles, bytes / 1024.0 / kFiles);
  }
  ~Folder() { fs::remove_all(dir_); }

  fs::path symbols() const { return dir_ / "symbole"; }
  fs::path library() const { return dir_ / "lib.blk"; }
  const std::vector<std::string>& files() const { return files_; }

 private:
  fs::path dir_;
  std::vector<std::string> files_;
};

const Folder& TheFolder() {
  static const Folder folder;
  return folder;
}

// The program run to its end; false when it failed.
bool Run(const std::vector<std::string>& args) { return RunProcess(args) == 0; }

void BM_BlkImportFolder(benchmark::State& state) {
  const Folder& folder = TheFolder();
  const std::vector<std::string> args = {BLOK_BIN_DIR "/blk", "import", folder.symbols().string(),
                                         folder.library().string()};
  for (auto _ : state) {
    fs::remove(folder.library());
    if (!Run(args)) state.SkipWithError("blk import failed");
  }
}
BENCHMARK(BM_BlkImportFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatFiles(benchmark::State& state) {
  std::vector<std::string> args = {"/bin/cat"};
  for (const std::string& file : TheFolder().files()) args.push_back(file);
  for (auto _ : state) {
    if (!Run(args)) state.SkipWithError("cat failed");
  }
}
BENCHMARK(BM_CatFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("blk import of 1,000 DXF files / cat of them", "BM_BlkImportFolder/real_time",
            "BM_CatFiles/real_time", 10);
  });
}
