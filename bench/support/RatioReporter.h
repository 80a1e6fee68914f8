#pragma once
// Console reporter that also keeps each benchmark's time per iteration (the
// median when it repeats) for the `ratio:` lines printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0;  // wall time per iteration, in the run's unit
    double cpu = 0;   // this process's CPU time per iteration, same unit
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
  }

  bool has(const std::string& name) const { return times.count(name) != 0; }

  // ratio: <what> <yardstick time / our time>; CPU time where the machine is
  // shared and wall time would count other processes' work.
  void printRatio(const char* what, const std::string& yardstick, const std::string& ours,
                  bool cpuTime) const {
    if (!has(yardstick) || !has(ours)) return;
    const Times& y = times.at(yardstick);
    const Times& o = times.at(ours);
    std::printf("ratio: %s %.2f\n", what, cpuTime ? y.cpu / o.cpu : y.real / o.real);
  }

  std::map<std::string, Times> times;
};
