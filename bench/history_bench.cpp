// The undo history on the largest sample: recording a tile import as a step, undoing it, and the
// memory 100 such steps hold, beside copying the tile store once.

#include "documenthistory.h"
#include "palettelookup.h"
#include "samplestyle.h"
#include "tilenumbering.h"

#include "timesreporter.h"

#include <benchmark/benchmark.h>
#include <cstring>

namespace {

struct Editor {
    EditorState shown;
    DocumentHistory history{[this] { return shown; },
                            [this](const EditorState &s) {
                                shown = s;
                            }};

    Editor() {
        shown.doc = makeLargeSampleStyle();
        shown.clut1 = makeClut1(shown.doc);
    }

    // What importing a 64 x 64 bitmap into a tile does to the store.
    void importTile(int tile, uchar value) {
        const EditorState before = shown;
        const QPoint origin = tileOrigin(tile);
        for (int y = 0; y < TileSide; ++y)
            std::memset(shown.doc.TileStore.scanLine(origin.y() + y) + origin.x(), value, TileSide);
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

} // namespace

int main(int argc, char **argv) {
    benchmark::RegisterBenchmark("copy tile store", copyTileStore)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("record tile import", recordTileImport)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("undo tile import", undoTileImport)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    TimesReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("record tile import / copy tile store = %.2f\n",
                reporter.time("record tile import") / reporter.time("copy tile store"));
    std::printf("undo tile import / copy tile store = %.2f\n",
                reporter.time("undo tile import") / reporter.time("copy tile store"));

    Editor editor;
    for (int k = 0; k < 100; ++k)
        editor.importTile((k * 37) % 992, uchar(k + 1));
    std::printf("100 tile import steps: %d kept, %.1f KiB held (limit %lld MiB)\n",
                editor.history.stack().count(), double(editor.history.memoryUsed()) / 1024,
                DocumentHistory::DefaultMemoryLimit >> 20);
    benchmark::Shutdown();
    return 0;
}
