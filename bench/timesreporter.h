#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <unistd.h>

// The console table, plus the real time of each benchmark by name, so a program can print its
// ratios after the run. With repetitions the median stands for the benchmark.
class TimesReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that the rows can be taken from a pipe.
    TimesReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name))) {
                times_[name] = run.GetAdjustedRealTime();
                seconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                if (median)
                    medians_[name] = true;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // In the benchmark's own time unit.
    double time(const std::string &name) const { return times_.at(name); }
    double seconds(const std::string &name) const { return seconds_.at(name); }

private:
    std::map<std::string, double> times_;
    std::map<std::string, double> seconds_;
    std::map<std::string, bool> medians_;
};

inline std::string duration(double seconds) {
    char text[32];
    if (seconds >= 1e-3)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    return text;
}

// One row of the README's performance table: what was measured, its time as a multiple of the
// baseline's, its own time, and the aim.
inline void printRow(const std::string &measure, double ratio, const std::string &baseline,
                     const std::string &absolute, const std::string &aim) {
    std::printf("| %s | %.2f x %s | %s | %s |\n", measure.c_str(), ratio, baseline.c_str(), absolute.c_str(),
                aim.c_str());
}

struct Measure {
    const char *name;
    void (*run)(benchmark::State &);
    benchmark::TimeUnit unit;
};

// Registers and runs the measures (as filtered on the command line), then `report` prints the
// program's rows from their times.
inline int runBenchmarks(int argc, char **argv, std::initializer_list<Measure> measures,
                         const std::function<void(const TimesReporter &)> &report) {
    for (const Measure &measure : measures)
        benchmark::RegisterBenchmark(measure.name, measure.run)->Unit(measure.unit);
    benchmark::Initialize(&argc, argv);
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    try {
        report(reporter);
    } catch (const std::out_of_range &) {
        std::printf("(the ratios need every benchmark of the program to run)\n");
    }
    benchmark::Shutdown();
    return 0;
}
