// Building the page strip of the largest sample and selecting one of its sprites, beside copying
// the strip's bytes once.

#include "graphics/spriteentries.h"
#include "graphics/spritepages.h"
#include "sample/samplestyle.h"

#include "timesreporter.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {

const StyleDocument &large() {
    static const StyleDocument doc = makeLargeSampleStyle();
    return doc;
}

void copyStripBytes(benchmark::State &state) {
    const std::size_t bytes = std::size_t(large().SpriteStore.height()) * PageSide * 4;
    const std::vector<char> source(bytes, 'x');
    std::vector<char> target(bytes);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
    }
}

void buildStrip(benchmark::State &state) {
    for (auto _ : state) {
        const QImage strip = buildSpriteOverlay(large(), true);
        benchmark::DoNotOptimize(strip.constBits());
    }
}

// What a click on the strip computes: the hit, the picture, the colours and the info lines.
void selectSprite(benchmark::State &state) {
    const StyleDocument &doc = large();
    int sprite = 0;
    for (auto _ : state) {
        sprite = (sprite + 97) % doc.spriteCount();
        const QPoint corner = spriteRect(doc.SpriteIndex[std::size_t(sprite)]).topLeft();
        benchmark::DoNotOptimize(spriteAtPoint(doc, corner));
        const QImage glyph = spriteGlyph(doc, sprite);
        benchmark::DoNotOptimize(glyph.constBits());
        benchmark::DoNotOptimize(spriteInfo(doc, sprite));
    }
}

void printRatios(const TimesReporter &reporter) {
    const double copy = reporter.seconds("copy strip bytes");
    printRow("build the sprite strip (" + std::to_string(large().spriteCount()) + " sprites)",
             reporter.seconds("build strip") / copy, "copying its bytes",
             duration(reporter.seconds("build strip")), "under 20 ms");
    printRow("select a sprite", reporter.seconds("select sprite") / copy, "copying the strip's bytes",
             duration(reporter.seconds("select sprite")), "under 1 ms");
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv,
                         {{"copy strip bytes", copyStripBytes, benchmark::kMillisecond},
                          {"build strip", buildStrip, benchmark::kMillisecond},
                          {"select sprite", selectSprite, benchmark::kMicrosecond}},
                         printRatios);
}
