// A Google Benchmark reporter that shows the results as usual and keeps each benchmark's time, so
// that the benchmarks can print their ratios at the end.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

// Keeps each benchmark's time per iteration, in seconds: the median of its repetitions (as measured,
// or as reported when only aggregates are shown).
class CapturingReporter : public benchmark::ConsoleReporter
{
  public:
    // In colour only on a terminal.
    CapturingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration)
                measured_[name].push_back(seconds);
            else if (run.aggregate_name == "median")
                medians_[name] = seconds;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Negative when the benchmark did not run.
    double Seconds(const std::string& name) const
    {
        if (auto it = measured_.find(name); it != measured_.end() && !it->second.empty()) {
            std::vector<double> times = it->second;
            std::sort(times.begin(), times.end());
            const std::size_t n = times.size();
            return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
        }
        if (auto it = medians_.find(name); it != medians_.end())
            return it->second;
        return -1;
    }

  private:
    std::map<std::string, std::vector<double>> measured_;
    std::map<std::string, double> medians_;
};
