// Load and save of the largest sample style file, measured against a plain copy of the same
// number of bytes. Prints the two ratios after the usual benchmark table.

#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"
#include "style/stylereader.h"
#include "style/stylewriter.h"

#include "timesreporter.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

const QByteArray &largeFile() {
    static const QByteArray bytes = [] {
        StyleDocument saved;
        SilentProgress progress;
        LineLog log;
        return serializeStyle(makeLargeSampleStyle(), saved, progress, log);
    }();
    return bytes;
}

void copyBytes(benchmark::State &state) {
    const QByteArray &file = largeFile();
    for (auto _ : state) {
        // A fresh buffer each time, as loading and saving allocate theirs.
        QByteArray copy(file.size(), Qt::Uninitialized);
        std::memcpy(copy.data(), file.constData(), static_cast<std::size_t>(file.size()));
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void loadStyle(benchmark::State &state) {
    const QByteArray &file = largeFile();
    DecliningPrompts prompts;
    SilentProgress progress;
    for (auto _ : state) {
        StyleDocument doc;
        LineLog log;
        if (!readStyle(doc, file, prompts, progress, log))
            state.SkipWithError("the large sample was refused");
        benchmark::DoNotOptimize(doc.TileStore.constBits());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void saveStyle(benchmark::State &state) {
    StyleDocument doc;
    DecliningPrompts prompts;
    SilentProgress progress;
    LineLog log;
    readStyle(doc, largeFile(), prompts, progress, log);
    for (auto _ : state) {
        StyleDocument saved;
        const QByteArray bytes = serializeStyle(doc, saved, progress, log);
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(state.iterations() * largeFile().size());
}

void printRatios(const TimesReporter &reporter) {
    const double copy = reporter.seconds("copy");
    const std::string bytes = std::to_string(largeFile().size() >> 10) + " KiB";
    printRow("open the largest style file (" + bytes + ")", reporter.seconds("load") / copy,
             "copying its bytes", duration(reporter.seconds("load")), "at most 8 x");
    printRow("save the largest style file", reporter.seconds("save") / copy, "copying its bytes",
             duration(reporter.seconds("save")), "at most 4 x");
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv,
                         {{"copy", copyBytes, benchmark::kMicrosecond},
                          {"load", loadStyle, benchmark::kMicrosecond},
                          {"save", saveStyle, benchmark::kMicrosecond}},
                         printRatios);
}
