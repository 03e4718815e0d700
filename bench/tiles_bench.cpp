// Exporting every tile of the largest sample beside writing the same number of files of the same
// size with plain file writes, and painting every cell of the texture grid once.

#include "graphics/tilegrid.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "sample/samplestyle.h"

#include "timesreporter.h"
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

// Types the export folder into the "Export all" input box.
class FolderPrompts final : public DecliningPrompts {
public:
    explicit FolderPrompts(QString folder) : folder_(std::move(folder)) {}
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override {
        return folder_;
    }

private:
    QString folder_;
};

const StyleDocument &large() {
    static const StyleDocument doc = makeLargeSampleStyle();
    return doc;
}

QString folderPath(const QTemporaryDir &dir) {
    return dir.path() + QLatin1Char('/');
}

void writePlainFiles(benchmark::State &state) {
    QTemporaryDir dir;
    // An exported tile: 64 x 64 indexes, a 1024-byte colour table and the bitmap headers.
    const QByteArray bytes(64 * 64 + 1024 + 54, 'x');
    const int tiles = large().tilePageCount() * 16;
    for (auto _ : state)
        for (int t = 0; t < tiles; ++t) {
            QFile file(dir.filePath(QStringLiteral("plain_%1.bmp").arg(t)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                state.SkipWithError("cannot write");
        }
}

void exportAllAs(benchmark::State &state, const QString &pattern) {
    QTemporaryDir dir;
    FolderPrompts prompts(folderPath(dir));
    SilentProgress progress;
    QString last;
    for (auto _ : state)
        if (exportAllTiles(large(), pattern, last, prompts, progress) != large().tilePageCount() * 16)
            state.SkipWithError("export failed");
}

void exportAll(benchmark::State &state) {
    exportAllAs(state, DefaultTilePattern);
}

// The same tiles as palette PNGs, which Qt compresses.
void exportAllPng(benchmark::State &state) {
    exportAllAs(state, QStringLiteral("VYR2_TILE_%d.png"));
}

void copyGridBytes(benchmark::State &state) {
    const QImage grid = renderTileGrid(large());
    std::vector<uchar> target(std::size_t(grid.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(target.data(), grid.constBits(), target.size());
        benchmark::DoNotOptimize(target.data());
    }
}

void paintGrid(benchmark::State &state) {
    for (auto _ : state) {
        const QImage grid = renderTileGrid(large());
        benchmark::DoNotOptimize(grid.constBits());
    }
}

void printRatios(const TimesReporter &reporter) {
    printRow("export all 992 tiles", reporter.seconds("export all") / reporter.seconds("plain writes"),
             "writing 992 files of that size", duration(reporter.seconds("export all")), "at most 3 x");
    printRow("export all 992 tiles as PNG",
             reporter.seconds("export all png") / reporter.seconds("plain writes"),
             "writing 992 bitmap-sized files", duration(reporter.seconds("export all png")), "at most 3 x");
    printRow("paint the texture grid (992 cells)",
             reporter.seconds("paint grid") / reporter.seconds("copy grid bytes"), "copying its bytes",
             duration(reporter.seconds("paint grid")), "well under 50 ms");
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv,
                         {{"plain writes", writePlainFiles, benchmark::kMillisecond},
                          {"export all", exportAll, benchmark::kMillisecond},
                          {"export all png", exportAllPng, benchmark::kMillisecond},
                          {"paint grid", paintGrid, benchmark::kMillisecond},
                          {"copy grid bytes", copyGridBytes, benchmark::kMillisecond}},
                         printRatios);
}
