// The sprite imports on arbitrary bitmap files: one sprite with every import choice, the whole
// store, and a car's delta sheet. Control bytes: mode (the import, then the document), the sprite
// number in two bytes, answers.

#include "fuzzsupport.h"
#include "graphics/deltaoperations.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/spriteoperations.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/log.h"
#include "sample/samplestyle.h"

namespace {

enum class Import { Sprite, Raw, Deltas };

const StyleDocument &sampleDocument(int variant) {
    static const StyleDocument sample = makeSampleStyle();
    static const StyleDocument withoutIndex = [] {
        StyleDocument doc = sample;
        doc.PaletteIndex.clear();
        return doc;
    }();
    // The delta index addresses bytes the store no longer holds.
    static const StyleDocument cutDeltas = [] {
        StyleDocument doc = sample;
        doc.DeltaStore.truncate(doc.DeltaStore.size() / 2);
        return doc;
    }();
    return variant == 1 ? withoutIndex : variant == 2 ? cutDeltas : sample;
}

void requireOnlySprite(const StyleDocument &before, const StyleDocument &after, int sprite) {
    require(before.SpriteStore.size() == after.SpriteStore.size() &&
                after.SpriteStore.format() == QImage::Format_Indexed8,
            "a sprite import changed the store's size");
    const SpriteEntry &entry = before.SpriteIndex[static_cast<std::size_t>(sprite)];
    const QRect area(entry.x(), entry.page() * PageSide + entry.y(), entry.w, entry.h);
    for (int y = 0; y < after.SpriteStore.height(); ++y) {
        const uchar *a = before.SpriteStore.constScanLine(y), *b = after.SpriteStore.constScanLine(y);
        for (int x = 0; x < PageSide; ++x)
            require(a[x] == b[x] || area.contains(x, y), "a sprite import changed pixels of another sprite");
    }
}

// Every entry but the sprite's keeps its bytes.
void requireOtherDeltas(const StyleDocument &before, const StyleDocument &after, int sprite) {
    for (const DeltaIndexEntry &entry : before.DeltaIndex) {
        if (entry.sprite == sprite)
            continue;
        for (int d = 0; d < entry.delta_count; ++d)
            require(deltaBytes(before, entry.sprite, d) == deltaBytes(after, entry.sprite, d),
                    "a delta import changed the deltas of another sprite");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const FuzzInput input(data, size, 6);
    if (!input.valid)
        return 0;
    const auto import = static_cast<Import>(input.at(0) % 3);
    const StyleDocument &original = sampleDocument((input.at(0) / 3) % 3);
    const int sprite = (input.at(1) << 8 | input.at(2)) - 4;
    FuzzPrompts prompts(writeInputFile(input.file, QStringLiteral(".bmp")), input.control.sliced(3));

    StyleDocument doc = original;
    LineLog log;
    bool changed = false;
    try {
        switch (import) {
        case Import::Sprite:
            changed = importSprite(doc, sprite, prompts, log);
            break;
        case Import::Raw:
            changed = importRawSprites(doc, prompts, log);
            break;
        case Import::Deltas:
            changed = importDeltas(doc, sprite, prompts, log).has_value();
            break;
        }
    } catch (const EditorError &error) {
        require(!error.text().isEmpty(), "an empty error");
    }
    if (!changed) {
        require(doc == original, "a refused sprite import changed the document");
        return 0;
    }
    require(doc.SpriteIndex == original.SpriteIndex && doc.SpriteIndexSize == original.SpriteIndexSize &&
                doc.PaletteIndexCount() == original.PaletteIndexCount() &&
                doc.PhysicalPaletteCount == original.PhysicalPaletteCount,
            "a sprite import changed the tables");
    if (import == Import::Sprite)
        requireOnlySprite(original, doc, sprite);
    if (import == Import::Deltas) {
        StyleDocument rest = doc;
        rest.DeltaIndex = original.DeltaIndex;
        rest.DeltaStore = original.DeltaStore;
        require(rest == original, "a delta import changed more than the deltas");
        requireOtherDeltas(original, doc, sprite);
    }
    requireConsistent(doc);
    return 0;
}
