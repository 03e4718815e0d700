#include "graphics/changeditems.h"

#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/tilenumbering.h"
#include "palette/palettelookup.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

ChangedItems ChangedItems::every() {
    ChangedItems items;
    items.all_ = true;
    return items;
}

bool ChangedItems::has(int item) const {
    return all_ || std::binary_search(items_.begin(), items_.end(), item);
}

namespace {

// Which rows of two 8-bit pixel stores differ. Found once per change, so that each tile or sprite
// compares its own bytes only on the rows that differ at all.
class StoreRows {
public:
    StoreRows(const QImage &before, const QImage &after) : before_(before), after_(after) {
        if (before.constBits() == after.constBits() && before.size() == after.size())
            return;
        if (before.format() != after.format() || before.width() != after.width() ||
            (!before.isNull() && before.format() != QImage::Format_Indexed8)) {
            unlike_ = true;
            return;
        }
        const int common = std::min(before.height(), after.height());
        differs_.assign(std::size_t(std::max(before.height(), after.height())), true);
        const auto width = std::size_t(before.width());
        for (int row = 0; row < common; ++row)
            differs_[std::size_t(row)] =
                std::memcmp(before.constScanLine(row), after.constScanLine(row), width) != 0;
    }

    // Whether columns [left, right) of rows [top, bottom) differ; rows both stores lack do not.
    bool differ(int top, int bottom, int left, int right) const {
        if (unlike_)
            return true;
        if (differs_.empty())
            return false;
        left = std::clamp(left, 0, before_.width());
        right = std::clamp(right, left, before_.width());
        bottom = std::min(bottom, int(differs_.size()));
        for (int row = std::max(0, top); row < bottom; ++row) {
            if (!differs_[std::size_t(row)])
                continue;
            if (row >= before_.height() || row >= after_.height())
                return true;
            if (std::memcmp(before_.constScanLine(row) + left, after_.constScanLine(row) + left,
                            std::size_t(right - left)) != 0)
                return true;
        }
        return false;
    }

private:
    const QImage &before_;
    const QImage &after_;
    bool unlike_ = false;
    std::vector<bool> differs_;
};

// Per physical palette, whether any of its colours differs.
std::vector<bool> changedPalettes(const StyleDocument &before, const StyleDocument &after) {
    std::vector<bool> changed(PaletteStoreCapacity, false);
    const QByteArray &a = before.PhysicalPalettes;
    const QByteArray &b = after.PhysicalPalettes;
    if (a.constData() == b.constData())
        return changed;
    if (a.size() != PhysicalPalettesBytes || b.size() != PhysicalPalettesBytes) {
        changed.assign(changed.size(), true);
        return changed;
    }
    // A colour row of a page holds that colour of 64 palettes side by side.
    for (int palette = 0; palette < PaletteStoreCapacity; palette += PalettesPerPage)
        for (int colour = 0; colour < 256; ++colour) {
            const int row = physicalColourOffset(palette, colour);
            if (std::memcmp(a.constData() + row, b.constData() + row, PageSide) == 0)
                continue;
            // Blue, green and red; the fourth byte of an entry is no colour.
            for (int k = 0; k < PalettesPerPage; ++k)
                if (std::memcmp(a.constData() + row + 4 * k, b.constData() + row + 4 * k, 3) != 0)
                    changed[std::size_t(palette + k)] = true;
        }
    return changed;
}

// Whether an item drawn in `was` before and in `is` after shows other colours.
bool otherColours(std::optional<int> was, std::optional<int> is, const std::vector<bool> &palettes) {
    if (was != is)
        return true;
    return was && isStoredPalette(*was) && palettes[std::size_t(*was)];
}

// Each sprite's deltas as the sheet reads them: the first entry naming it, and that entry's bytes.
struct SpriteDeltas {
    DeltaIndexEntry entry;
    QByteArrayView bytes;
    bool operator==(const SpriteDeltas &other) const { return entry == other.entry && bytes == other.bytes; }
};

std::map<int, SpriteDeltas> deltasBySprite(const StyleDocument &doc) {
    std::map<int, SpriteDeltas> deltas;
    qint64 offset = 0;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        const qint64 start = std::min<qint64>(offset, doc.DeltaStore.size());
        offset += deltaEntryBytes(entry);
        const qint64 end = std::min<qint64>(offset, doc.DeltaStore.size());
        deltas.try_emplace(entry.sprite,
                           SpriteDeltas{entry, QByteArrayView(doc.DeltaStore).sliced(start, end - start)});
    }
    return deltas;
}

void addChangedDeltas(ChangedItems &changed, const StyleDocument &before, const StyleDocument &after) {
    if (before.DeltaIndex == after.DeltaIndex && before.DeltaStore == after.DeltaStore)
        return;
    const std::map<int, SpriteDeltas> was = deltasBySprite(before);
    const std::map<int, SpriteDeltas> is = deltasBySprite(after);
    std::map<int, bool> sprites;
    for (const auto &[sprite, deltas] : was)
        sprites[sprite] = !is.count(sprite) || !(is.at(sprite) == deltas);
    for (const auto &[sprite, deltas] : is)
        sprites[sprite] = sprites[sprite] || !was.count(sprite);
    for (const auto &[sprite, differs] : sprites)
        if (differs)
            changed.add(sprite);
}

} // namespace

ItemChanges changedItems(const StyleDocument &before, const StyleDocument &after) {
    ItemChanges changes;
    const std::vector<bool> palettes = changedPalettes(before, after);
    for (int palette = 0; palette < PaletteStoreCapacity; ++palette)
        if (palettes[std::size_t(palette)])
            changes.palettes.add(palette);

    const StoreRows tileRows(before.TileStore, after.TileStore);
    const int tilesBefore = tileCount(before.TileStore);
    const int tilesAfter = tileCount(after.TileStore);
    for (int tile = 0; tile < std::max(tilesBefore, tilesAfter); ++tile) {
        const QPoint at = tileOrigin(tile);
        if (tile >= std::min(tilesBefore, tilesAfter) ||
            otherColours(physicalPaletteOf(before, tileVirtualPalette(tile)),
                         physicalPaletteOf(after, tileVirtualPalette(tile)), palettes) ||
            tileRows.differ(at.y(), at.y() + TileSide, at.x(), at.x() + TileSide))
            changes.tiles.add(tile);
    }

    const StoreRows spriteRows(before.SpriteStore, after.SpriteStore);
    const int spritesBefore = before.spriteCount();
    const int spritesAfter = after.spriteCount();
    for (int sprite = 0; sprite < std::max(spritesBefore, spritesAfter); ++sprite) {
        if (sprite >= std::min(spritesBefore, spritesAfter)) {
            changes.sprites.add(sprite);
            continue;
        }
        const SpriteEntry &entry = after.SpriteIndex[std::size_t(sprite)];
        const int top = entry.page() * PageSide + entry.y();
        if (entry != before.SpriteIndex[std::size_t(sprite)] ||
            otherColours(spritePhysicalPalette(before, sprite), spritePhysicalPalette(after, sprite),
                         palettes) ||
            spriteRows.differ(top, top + entry.h, entry.x(), entry.x() + entry.w))
            changes.sprites.add(sprite);
    }
    addChangedDeltas(changes.deltas, before, after);
    return changes;
}
