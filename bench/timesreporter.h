#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>

// The console table, plus the real time of each benchmark by name, so a program can print its
// ratios after the run.
class TimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    double time(const std::string &name) const { return times_.at(name); }

private:
    std::map<std::string, double> times_;
};
