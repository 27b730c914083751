#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace blok {

// The console report of a bench, then the ratios it is for. Times are CPU time per iteration
// (wall-clock time for a benchmark that asks for it) in seconds, whatever unit each benchmark
// reports in; with --benchmark_repetitions the median
// stands for a benchmark, since the machine is shared.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.str();
      const double time = run.run_name.time_type == "real_time" ? run.GetAdjustedRealTime()
                                                                : run.GetAdjustedCPUTime();
      const double seconds = time / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_[name] = seconds;
        medians_.insert(name);
      } else if (run.run_type == Run::RT_Iteration && !medians_.contains(name)) {
        times_[name] = seconds;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // a against `times` runs of b, with the target it must meet; a target of 0 is for scale only.
  // Nothing is printed when either was not run (a --benchmark_filter left it out).
  void Ratio(const char* what, const std::string& a, const std::string& b, double target,
             double times = 1) const {
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
  }

 private:
  std::map<std::string, double> times_;
  std::set<std::string> medians_;
};

// A bench's main: runs the benchmarks the command line names, then prints its ratios.
template <class PrintRatios>
int RunWithRatios(int argc, char** argv, PrintRatios print_ratios) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  print_ratios(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace blok
