// A library of 10,000 blocks (about 11 MB, as a team's library grows over the years).
//
// Listing its block names is held against the least a reader could do: reading the file's
// lines. Replacing one block, and removing one, are held against copying the file into a new
// one beside it and syncing that to the disk, which any replacement that leaves the library
// whole on a crash must do. The listing is timed in CPU time; the replacements on the wall
// clock, since the time waited for the disk is theirs too.
//
// Finding the duplicates, which reads every shape of every block, is held against the listing:
// at most 10x its time on each library, a report asked for now and then.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "document/duplicates.h"
#include "document/text_file.h"
#include "model/numbers.h"
#include "ratio_reporter.h"

namespace blok {
namespace {

constexpr int kBlocks = 10000;

// One library for the whole run, in a fresh folder, removed at exit.
// About 1.1 KB a block: twenty-odd lines, as the writer writes them.
std::vector<std::string> PlainLines(std::mt19937& random, int) {
  std::uniform_int_distribution<int> coordinate(-500, 500);
  std::vector<std::string> lines;
  for (int e = 0; e < 22; ++e) {
    lines.push_back(
        "L(" + std::to_string(coordinate(random)) + "." + std::to_string(coordinate(random) & 255) +
        "," + std::to_string(coordinate(random)) + ")-(" + std::to_string(coordinate(random)) +
        "," + std::to_string(coordinate(random)) + ");K(0,0,0);GR(0,1)");
  }
  return lines;
}

// Symbols: a comment, lines, a circle, a rectangle, an arc and a label; one block in fifty
// drawn again under another name, its lines in another order. As the editor saves them every
// shape names its colour and thickness; with commands, the lines and the rectangle take theirs
// from colour and thickness commands below the comment, as hand-kept libraries have them.
std::vector<std::string> SymbolLines(std::mt19937& random, int block, bool commands,
                                     std::vector<std::vector<std::string>>& made) {
  const size_t head = commands ? 3 : 1;
  if (block % 50 == 49) {
    std::vector<std::string> twin = made[static_cast<size_t>(block / 2)];
    std::reverse(twin.begin() + static_cast<std::ptrdiff_t>(head), twin.end());
    return twin;
  }
  std::uniform_int_distribution<int> coordinate(-99, 99);
  const auto n = [&] { return FormatPattern(coordinate(random) / 10.0, kValuePattern); };
  const std::string style = commands ? "" : ";K(128,64,0);GR(0,35)";
  std::vector<std::string> lines = {"// symbol " + std::to_string(block)};
  if (commands) lines.insert(lines.end(), {"K(128,64,0)", "GR(0,35)"});
  for (int e = 0; e < 12; ++e) {
    lines.push_back("L(" + n() + "," + n() + ")-(" + n() + "," + n() + ")" + style);
  }
  lines.push_back("O(" + n() + "," + n() + ",0.148);K(0,0,255);GR(0,25)");
  lines.push_back("P(" + n() + "," + n() + ")-(" + n() + "," + n() + ")" + style);
  lines.push_back("LUK(" + n() + "," + n() + ",0.5,0,180);K(255,0,0);GR(0,18)");
  lines.push_back("T(1.089,0.198,'Sk " + std::to_string(block % 7) +
                  "',0.396,0.297,0);K(0,0,0);GR(0,10)");
  made.push_back(lines);
  return lines;
}

std::vector<std::string> VariedLines(std::mt19937& random, int block) {
  static std::vector<std::vector<std::string>> made;
  return SymbolLines(random, block, true, made);
}

std::vector<std::string> SavedLines(std::mt19937& random, int block) {
  static std::vector<std::vector<std::string>> made;
  return SymbolLines(random, block, false, made);
}

class Library {
 public:
  explicit Library(std::vector<std::string> (*make)(std::mt19937&, int)) {
    char pattern[] = "/tmp/library_bench-XXXXXX";
    dir_ = ::mkdtemp(pattern);
    file_ = dir_ / "biblioteka.blk";
    std::mt19937 random(7);
    std::string bytes;
    for (int b = 0; b < kBlocks; ++b) {
      BlockToSave block{.name = "Symbol " + std::to_string(b), .unit = "m", .lines = {}};
      block.lines = make(random, b);
      for (const std::string& line : BlockRecordLines(block)) AppendTextLine(bytes, line);
    }
    original_ = bytes;
    Restore();
  }
  ~Library() { std::filesystem::remove_all(dir_); }

  const std::filesystem::path& file() const { return file_; }
  const std::filesystem::path& dir() const { return dir_; }
  std::size_t size() const { return original_.size(); }
  void Restore() const {
    std::ofstream out(file_, std::ios::binary | std::ios::trunc);
    out << original_;
  }

 private:
  std::filesystem::path dir_;
  std::filesystem::path file_;
  std::string original_;
};

const Library& TheLibrary() {
  static const Library library(PlainLines);
  return library;
}

const Library& VariedLibrary() {
  static const Library library(VariedLines);
  return library;
}

const Library& SavedLibrary() {
  static const Library library(SavedLines);
  return library;
}

// B: the file's lines read, as any reader of it must.
void BM_ReadLines(benchmark::State& state) {
  const Library& library = TheLibrary();
  for (auto _ : state) {
    std::ifstream in(library.file(), std::ios::binary);
    std::string line;
    std::size_t count = 0;
    while (std::getline(in, line)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * library.size()));
}
BENCHMARK(BM_ReadLines)->Unit(benchmark::kMillisecond);

// The library's block names, as blk list reads them.
void Listing(benchmark::State& state, const Library& library) {
  for (auto _ : state) {
    auto names = CzytajListeBlokow(library.file());
    if (!names || names->size() != kBlocks) state.SkipWithError("the listing is wrong");
    benchmark::DoNotOptimize(names);
  }
}

// Every block read and compared with every other, as blk dups does it; groups, the twins
// the library holds.
void Duplicates(benchmark::State& state, const Library& library, size_t groups) {
  for (auto _ : state) {
    auto report = FindDuplicatesInFile(library.file());
    if (!report || report->same_drawings.size() != groups || !report->repeated_names.empty()) {
      state.SkipWithError("the report is wrong");
    }
    benchmark::DoNotOptimize(report);
  }
}

void BM_ListBlocks(benchmark::State& state) { Listing(state, TheLibrary()); }
BENCHMARK(BM_ListBlocks)->Unit(benchmark::kMillisecond);

void BM_FindDuplicates(benchmark::State& state) { Duplicates(state, TheLibrary(), 0); }
BENCHMARK(BM_FindDuplicates)->Unit(benchmark::kMillisecond);

// The same on the symbol libraries, which have twins.
void BM_ListVaried(benchmark::State& state) { Listing(state, VariedLibrary()); }
BENCHMARK(BM_ListVaried)->Unit(benchmark::kMillisecond);

void BM_DuplicatesVaried(benchmark::State& state) {
  Duplicates(state, VariedLibrary(), kBlocks / 50);
}
BENCHMARK(BM_DuplicatesVaried)->Unit(benchmark::kMillisecond);

void BM_ListSaved(benchmark::State& state) { Listing(state, SavedLibrary()); }
BENCHMARK(BM_ListSaved)->Unit(benchmark::kMillisecond);

void BM_DuplicatesSaved(benchmark::State& state) {
  Duplicates(state, SavedLibrary(), kBlocks / 50);
}
BENCHMARK(BM_DuplicatesSaved)->Unit(benchmark::kMillisecond);

// What blk dups must read at least: every block whole.
void BM_ReadAllBlocks(benchmark::State& state) {
  const Library& library = TheLibrary();
  for (auto _ : state) {
    auto records = WczytajWszystkieBloki(library.file());
    benchmark::DoNotOptimize(records);
  }
}
BENCHMARK(BM_ReadAllBlocks)->Unit(benchmark::kMillisecond);

// B: the file copied into a new one beside it, synced and renamed over a copy.
void BM_CopyAndSync(benchmark::State& state) {
  const Library& library = TheLibrary();
  const std::filesystem::path copy = library.dir() / "kopia.blk";
  const std::filesystem::path temp = library.dir() / "kopia.tmp";
  for (auto _ : state) {
    const int in = ::open(library.file().c_str(), O_RDONLY | O_CLOEXEC);
    const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    char buffer[65536];
    for (ssize_t got; (got = ::read(in, buffer, sizeof buffer)) > 0;) {
      if (::write(out, buffer, static_cast<size_t>(got)) != got) state.SkipWithError("write");
    }
    ::fsync(out);
    ::close(out);
    ::close(in);
    std::filesystem::rename(temp, copy);
  }
}
BENCHMARK(BM_CopyAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();

// One block in the middle replaced by one of the same size; the library stays as it was.
void BM_ReplaceBlock(benchmark::State& state) {
  const Library& library = TheLibrary();
  BlockToSave block{.name = "Symbol 5000", .unit = "m", .lines = {}};
  for (int e = 0; e < 22; ++e) block.lines.push_back("O(" + std::to_string(e) + ",0,1)");
  for (auto _ : state) {
    if (!ZastapBlok(library.file(), block)) state.SkipWithError("the replacement failed");
  }
  library.Restore();
}
BENCHMARK(BM_ReplaceBlock)->Unit(benchmark::kMillisecond)->UseRealTime();

// One block removed, then the library put back (outside the timing).
void BM_RemoveBlock(benchmark::State& state) {
  const Library& library = TheLibrary();
  for (auto _ : state) {
    if (!UsunBlokZPliku(library.file(), "Symbol 5000")) state.SkipWithError("the removal failed");
    state.PauseTiming();
    library.Restore();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RemoveBlock)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("listing / reading the lines", "BM_ListBlocks", "BM_ReadLines", 1.5);
    r.Ratio("reading every block / listing", "BM_ReadAllBlocks", "BM_ListBlocks", 0);
    r.Ratio("duplicates / listing", "BM_FindDuplicates", "BM_ListBlocks", 10.0);
    r.Ratio("duplicates / listing, symbols as saved", "BM_DuplicatesSaved", "BM_ListSaved", 10.0);
    r.Ratio("duplicates / listing, varied symbols", "BM_DuplicatesVaried", "BM_ListVaried", 10.0);
    r.Ratio("replacing a block / copy and sync", "BM_ReplaceBlock/real_time",
            "BM_CopyAndSync/real_time", 2);
    r.Ratio("removing a block / copy and sync", "BM_RemoveBlock/real_time",
            "BM_CopyAndSync/real_time", 2);
  });
}
