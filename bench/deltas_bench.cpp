// Encoding a full delta sheet of a car of the sample and decoding every delta of the largest
// sample, beside copying the bytes of a 64 x 128 sheet with memcpy.

#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spritepicture.h"
#include "sample/samplestyle.h"

#include "timesreporter.h"
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 64, Height = 128;

QImage carPicture() {
    QImage picture(Width, Height, QImage::Format_Indexed8);
    picture.setColorCount(256);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            picture.scanLine(y)[x] = uchar((x * 5 + y * 3) % 200);
    return picture;
}

// Every cell changed: a band of 40 rows, three pixels changed of every four, about 600 runs.
QImage changedSheet(const QImage &picture) {
    QImage sheet(deltaSheetSize(picture.size()), QImage::Format_Indexed8);
    sheet.setColorTable(picture.colorTable());
    sheet.fill(0);
    for (int cell = 0; cell < DeltaSheetCells; ++cell) {
        const QPoint origin = deltaCellOrigin(picture.size(), cell);
        for (int y = 0; y < picture.height(); ++y) {
            uchar *row = sheet.scanLine(origin.y() + y) + origin.x();
            std::memcpy(row, picture.constScanLine(y), std::size_t(picture.width()));
            if (y >= cell * 4 && y < cell * 4 + 40)
                for (int x = 4; x < picture.width() - 4; ++x)
                    if (x % 4 != 0)
                        row[x] = uchar(row[x] + 1 + cell);
        }
    }
    return sheet;
}

struct Decoding {
    StyleDocument doc = makeLargeSampleStyle();
    int deltas = 0;
    qsizetype bytes = 0;
    std::vector<QByteArrayView> found; // every delta, looked up once
    Decoding() {
        for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
            deltas += entry.delta_count;
            bytes += deltaEntryBytes(entry);
            for (int delta = 0; delta < entry.delta_count; ++delta)
                found.push_back(deltaBytes(doc, entry.sprite, delta));
        }
    }
};

const Decoding &decoding() {
    static const Decoding d;
    return d;
}

void encodeSheet(benchmark::State &state) {
    const StyleDocument doc = makeSampleStyle();
    const QImage sheet = changedSheet(spritePicture(doc, 0));
    for (auto _ : state) {
        const std::vector<QByteArray> deltas = encodeSheetDeltas(doc, 0, sheet);
        benchmark::DoNotOptimize(deltas.data());
    }
}

void copySheetCells(benchmark::State &state) {
    const QImage picture = carPicture();
    const QImage sheet = changedSheet(picture);
    std::vector<uchar> cells(std::size_t(DeltaSheetCells) * Width * Height);
    for (auto _ : state) {
        uchar *to = cells.data();
        for (int cell = 0; cell < DeltaSheetCells; ++cell) {
            const QPoint origin = deltaCellOrigin(picture.size(), cell);
            for (int y = 0; y < Height; ++y, to += Width)
                std::memcpy(to, sheet.constScanLine(origin.y() + y) + origin.x(), Width);
        }
        benchmark::DoNotOptimize(cells.data());
        benchmark::ClobberMemory();
    }
}

void decodeLarge(benchmark::State &state) {
    const Decoding &d = decoding();
    QImage target(256, 256, QImage::Format_Indexed8);
    target.setColorCount(256);
    target.fill(0);
    for (auto _ : state) {
        for (const DeltaIndexEntry &entry : d.doc.DeltaIndex)
            for (int delta = 0; delta < entry.delta_count; ++delta)
                applyDelta(d.doc, entry.sprite, delta, target, 0, 0);
        benchmark::DoNotOptimize(target.constBits());
    }
}

// The runs alone, without finding each delta in the index.
void decodeFound(benchmark::State &state) {
    const Decoding &d = decoding();
    QImage target(256, 256, QImage::Format_Indexed8);
    target.setColorCount(256);
    target.fill(0);
    for (auto _ : state) {
        for (const QByteArrayView delta : d.found)
            decodeDelta(delta, target, QPoint(0, 0), target.rect());
        benchmark::DoNotOptimize(target.constBits());
    }
}

void copyLargeDeltaBytes(benchmark::State &state) {
    const Decoding &d = decoding();
    std::vector<char> copy(std::size_t(d.bytes));
    for (auto _ : state) {
        std::memcpy(copy.data(), d.doc.DeltaStore.constData(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

void printRatios(const TimesReporter &reporter) {
    const double encode = reporter.seconds("encode sheet"), decode = reporter.seconds("decode large"),
                 runs = reporter.seconds("decode found"), copy = reporter.seconds("copy delta bytes");
    const int deltas = decoding().deltas;
    printRow("encode a sheet of 20 changed cells (per delta)", encode / reporter.seconds("copy sheet cells"),
             "copying the cells", duration(reporter.seconds("encode sheet") / DeltaSheetCells),
             "far under 1 ms");
    printRow("decode all " + std::to_string(deltas) + " deltas of the largest style (per delta)",
             decode / copy, "copying their bytes", duration(reporter.seconds("decode large") / deltas),
             "far under 1 ms");
    printRow("of which the runs alone (per delta)", runs / copy, "copying their bytes",
             duration(reporter.seconds("decode found") / deltas), "-");
}

} // namespace

int main(int argc, char **argv) {
    return runBenchmarks(argc, argv,
                         {{"encode sheet", encodeSheet, benchmark::kMicrosecond},
                          {"copy sheet cells", copySheetCells, benchmark::kMicrosecond},
                          {"decode large", decodeLarge, benchmark::kMicrosecond},
                          {"decode found", decodeFound, benchmark::kMicrosecond},
                          {"copy delta bytes", copyLargeDeltaBytes, benchmark::kMicrosecond}},
                         printRatios);
}
