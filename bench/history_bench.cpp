// The undo history on the largest sample: recording a tile import as a step, undoing it, and the
// memory 100 such steps hold, beside copying the tile store once.

#include "graphics/tilenumbering.h"
#include "history/documenthistory.h"
#include "sample/samplestyle.h"

#include "timesreporter.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

struct Editor {
    StyleDocument shown;
    DocumentHistory history{[this] { return shown; },
                            [this](const StyleDocument &s) {
                                shown = s;
                            }};

    Editor() { shown = makeLargeSampleStyle(); }

    // What importing a 64 x 64 bitmap into a tile does to the store.
    void importTile(int tile, uchar value) {
        const StyleDocument before = shown;
        const QPoint origin = tileOrigin(tile);
        for (int y = 0; y < TileSide; ++y)
            std::memset(shown.TileStore.scanLine(origin.y() + y) + origin.x(), value, TileSide);
        history.record(QStringLiteral("import tile %1").arg(tile), before, shown);
    }
};

void copyTileStore(benchmark::State &state) {
    const QImage store = makeLargeSampleStyle().TileStore;
    for (auto _ : state) {
        QImage copy = store.copy();
        benchmark::DoNotOptimize(copy.bits());
    }
}

void recordTileImport(benchmark::State &state) {
    Editor editor;
    int tile = 0;
    for (auto _ : state) {
        editor.importTile(tile % 992, uchar(tile));
        ++tile;
    }
}

void undoTileImport(benchmark::State &state) {
    Editor editor;
    for (auto _ : state) {
        state.PauseTiming();
        editor.importTile(17, uchar(state.iterations()));
        state.ResumeTiming();
        editor.history.stack().undo();
    }
}

void printRatios(const TimesReporter &reporter) {
    const double copy = reporter.seconds("copy tile store");
    printRow("record a tile import as an undo step", reporter.seconds("record tile import") / copy,
             "copying the tile store", duration(reporter.seconds("record tile import")), "milliseconds");
    printRow("undo a tile import", reporter.seconds("undo tile import") / copy, "copying the tile store",
             duration(reporter.seconds("undo tile import")), "milliseconds");

    Editor editor;
    for (int k = 0; k < 100; ++k)
        editor.importTile((k * 37) % 992, uchar(k + 1));
    char held[64];
    std::snprintf(held, sizeof held, "%.0f KiB in %d steps", double(editor.history.memoryUsed()) / 1024,
                  editor.history.stack().count());
    printRow("memory of 100 tile import steps",
             double(editor.history.memoryUsed()) / double(editor.shown.TileStore.sizeInBytes()),
             "the tile store's size", held, "within 256 MiB");
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv,
                         {{"copy tile store", copyTileStore, benchmark::kMicrosecond},
                          {"record tile import", recordTileImport, benchmark::kMicrosecond},
                          {"undo tile import", undoTileImport, benchmark::kMicrosecond}},
                         printRatios);
}
