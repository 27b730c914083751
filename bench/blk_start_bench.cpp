// blk as a shell runs it: the whole process, from start to exit, held against cat of the same
// file. blk list of a one-block library is mostly the program's start (the libraries it loads);
// of 50,000 blocks, mostly reading the file. Timed on the wall clock, the parent only waits.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/block_file.h"
#include "process_run.h"
#include "ratio_reporter.h"

namespace blok {
namespace {

constexpr int kManyBlocks = 50000;

struct Libraries {
  std::filesystem::path dir;
  std::string one, many;

  Libraries() {
    dir = std::filesystem::temp_directory_path() / ("blk_start_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    one = (dir / "jeden.blk").string();
    many = (dir / "wiele.blk").string();
    const std::vector<std::string> symbol = {
        "L(-5,0)-(5,0);K(0,0,0);GR(0,1)", "L(0,-5)-(0,5);K(0,0,0);GR(0,1)",
        "O(0,0,3);K(255,0,0);GR(0,25)", "T(-4,4,\"A1\",2,1.6,0);K(0,0,0);GR(0,1)", ""};
    std::vector<BlockToSave> blocks;
    for (int i = 0; i < kManyBlocks; ++i) {
      blocks.push_back({"Symbol " + std::to_string(i), "m", symbol});
    }
    if (!SaveBlocks(many, blocks, false) || !SaveBlocks(one, {blocks.front()}, false)) {
      std::abort();
    }
  }
  ~Libraries() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

const Libraries& Made() {
  static const Libraries libraries;
  return libraries;
}

const std::string kBlk = std::string(BLOK_BIN_DIR) + "/blk";

void Run(benchmark::State& state, const std::vector<std::string>& command) {
  for (auto _ : state) {
    if (RunProcess(command) != 0) state.SkipWithError("the command failed");
  }
}

void BM_CatOne(benchmark::State& state) { Run(state, {"/bin/cat", Made().one}); }
void BM_ListOne(benchmark::State& state) { Run(state, {kBlk, "list", Made().one}); }
void BM_CatMany(benchmark::State& state) { Run(state, {"/bin/cat", Made().many}); }
void BM_ListMany(benchmark::State& state) { Run(state, {kBlk, "list", Made().many}); }

BENCHMARK(BM_CatOne)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListOne)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatMany)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListMany)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace blok

int main(int argc, char** argv) {
  return blok::RunWithRatios(argc, argv, [](const blok::RatioReporter& r) {
    r.Ratio("blk list / cat, one block", "BM_ListOne/real_time", "BM_CatOne/real_time", 3.0);
    r.Ratio("blk list / cat, 50,000 blocks", "BM_ListMany/real_time", "BM_CatMany/real_time", 2.0);
  });
}
