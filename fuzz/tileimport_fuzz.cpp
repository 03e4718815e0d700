// The tile imports on arbitrary bitmap files: one tile with every palette answer, and the whole
// store. Control bytes: mode (bit 0 the raw store, bits 1-2 the document), tile number, answers.

#include "fuzzsupport.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "graphics/tilepattern.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"

namespace {

const StyleDocument &sampleDocument(int variant) {
    static const StyleDocument sample = makeSampleStyle();
    static const StyleDocument withoutIndex = [] {
        StyleDocument doc = sample;
        doc.PaletteIndex.clear();
        return doc;
    }();
    static const StyleDocument withoutTiles = [] {
        StyleDocument doc = sample;
        doc.TileStore = QImage();
        return doc;
    }();
    return variant == 1 ? withoutIndex : variant == 2 ? withoutTiles : sample;
}

// Outside the tile's square, nothing of the store may change.
void requireOnlyTile(const QImage &before, const QImage &after, int tile) {
    require(before.size() == after.size() && after.format() == QImage::Format_Indexed8,
            "a tile import changed the store's size");
    const QRect square(tileOrigin(tile), QSize(TileSide, TileSide));
    for (int y = 0; y < after.height(); ++y) {
        const uchar *a = before.constScanLine(y), *b = after.constScanLine(y);
        for (int x = 0; x < after.width(); ++x)
            require(a[x] == b[x] || square.contains(x, y), "a tile import changed another tile");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 4);
    if (!input.valid)
        return 0;
    const bool raw = input.at(0) & 1;
    const StyleDocument &original = sampleDocument((input.at(0) >> 1) & 3);
    const int tile = int(input.at(1)) - 4;
    FuzzPrompts prompts(writeInputFile(input.file, QStringLiteral(".bmp")), input.control.sliced(2));

    StyleDocument doc = original;
    LineLog log;
    bool changed = false;
    try {
        changed =
            raw ? importRawTiles(doc, prompts, log) : importTile(doc, tile, DefaultTilePattern, prompts, log);
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty error");
    }
    if (!changed) {
        require(doc == original, "a refused tile import changed the document");
        return 0;
    }
    require(doc.PaletteIndexCount() == original.PaletteIndexCount() &&
                doc.PhysicalPaletteCount == original.PhysicalPaletteCount,
            "a tile import changed the palette tables' sizes");
    if (!raw)
        requireOnlyTile(original.TileStore, doc.TileStore, tile);
    requireConsistent(doc);
    return 0;
}
