#include "graphics/changeditems.h"

#include "graphics/tilenumbering.h"
#include "palette/palettelookup.h"

#include <cstring>
#include <gtest/gtest.h>
#include <numeric>

namespace {

// Two tile pages, tile t in physical palette t % 8; three sprites side by side on one sprite page,
// sprite s in physical palette 8 + s, except sprite 1, which shares tile 1's palette.
StyleDocument itemsDocument() {
    StyleDocument doc;
    doc.TileStore = makePixelStore(2 * PageSide);
    for (int row = 0; row < doc.TileStore.height(); ++row)
        for (int x = 0; x < PageSide; ++x)
            doc.TileStore.scanLine(row)[x] = uchar(row + x);
    for (int tile = 0; tile < 2 * TilesPerPage; ++tile)
        doc.PaletteIndex.append(quint16(tile % 8));
    doc.PaletteCounts[PalTile] = quint16(2 * TilesPerPage);
    doc.SpriteStore = makePixelStore(PageSide);
    doc.SpriteStore.fill(7);
    for (int sprite = 0; sprite < 3; ++sprite) {
        doc.SpriteIndex.append(SpriteEntry{quint32(sprite * 20), 16, 10, 0});
        doc.PaletteIndex.append(quint16(sprite == 1 ? 1 : 8 + sprite));
    }
    doc.SpriteIndexSize = 3 * SpriteEntryBytes;
    doc.PaletteCounts[PalSprite] = 3;
    doc.PhysicalPaletteCount = 16;
    for (int palette = 0; palette < 16; ++palette)
        for (int colour = 0; colour < 256; ++colour)
            writetoclut(doc, palette, colour, colourValue(palette, colour, 0));
    return doc;
}

std::vector<int> tilesOf(const StyleDocument &before, const StyleDocument &after) {
    return changedItems(before, after).tiles.items();
}
std::vector<int> spritesOf(const StyleDocument &before, const StyleDocument &after) {
    return changedItems(before, after).sprites.items();
}

TEST(ChangedItems, NameTheTilesSpritesAndPalettesThatLookDifferent) {
    const StyleDocument doc = itemsDocument();
    StyleDocument same = doc;
    same.TileStore.detach();
    same.SpriteStore.detach();
    same.PhysicalPalettes.detach();
    for (const StyleDocument &copy : {doc, same}) {
        const ItemChanges none = changedItems(doc, copy);
        EXPECT_TRUE(none.tiles.none() && none.sprites.none() && none.palettes.none());
    }

    // One pixel of tile 20, the last of its rows.
    StyleDocument edited = doc;
    edited.TileStore.setPixel(tileOrigin(20) + QPoint(TileSide - 1, TileSide - 1), 0);
    EXPECT_EQ(tilesOf(doc, edited), std::vector<int>{20});
    EXPECT_TRUE(changedItems(doc, edited).sprites.none());

    // A colour of palette 1: the tiles and the sprite drawn in it. The fourth byte of a colour
    // entry is no colour.
    edited = doc;
    edited.PhysicalPalettes[physicalColourOffset(1, 200) + 3] = 'x';
    const ItemChanges unused = changedItems(doc, edited);
    EXPECT_TRUE(unused.palettes.none() && unused.tiles.none() && unused.sprites.none());
    writetoclut(edited, 1, 200, colourValue(9, 9, 9));
    const ItemChanges colour = changedItems(doc, edited);
    EXPECT_EQ(colour.palettes.items(), std::vector<int>{1});
    EXPECT_EQ(colour.tiles.items(), (std::vector<int>{1, 9, 17, 25}));
    EXPECT_EQ(colour.sprites.items(), std::vector<int>{1});
    EXPECT_TRUE(colour.palettes.has(1) && !colour.palettes.has(2));

    // Sprite 2 pointed at another palette; sprite 0's corner pixel; a pixel between sprites.
    edited = doc;
    edited.PaletteIndex[2 * TilesPerPage + 2] = 12;
    EXPECT_EQ(spritesOf(doc, edited), std::vector<int>{2});
    EXPECT_TRUE(changedItems(doc, edited).tiles.none());
    edited = doc;
    edited.SpriteStore.setPixel(15, 9, 1);
    EXPECT_EQ(spritesOf(doc, edited), std::vector<int>{0});
    edited = doc;
    edited.SpriteStore.setPixel(17, 9, 1);
    EXPECT_TRUE(changedItems(doc, edited).sprites.none());

    // A moved entry, a tile page added, the last sprite removed: what came, went or moved.
    edited = doc;
    edited.SpriteIndex[1].ptr += PageSide;
    EXPECT_EQ(spritesOf(doc, edited), std::vector<int>{1});
    edited = doc;
    edited.TileStore = makePixelStore(3 * PageSide);
    for (int row = 0; row < 2 * PageSide; ++row)
        std::memcpy(edited.TileStore.scanLine(row), doc.TileStore.constScanLine(row), PageSide);
    std::vector<int> added(TilesPerPage);
    std::iota(added.begin(), added.end(), 2 * TilesPerPage);
    EXPECT_EQ(tilesOf(doc, edited), added);
    EXPECT_EQ(tilesOf(edited, doc), added);
    edited = doc;
    edited.SpriteIndex.erase(2);
    edited.SpriteIndexSize -= SpriteEntryBytes;
    EXPECT_EQ(spritesOf(doc, edited), std::vector<int>{2});

    // Deltas: sprite 0 has two, 3 and 2 bytes, sprite 2 one of 4. A longer first delta of sprite 0
    // moves sprite 2's bytes along the store, but they are the same bytes.
    StyleDocument withDeltas = doc;
    withDeltas.DeltaIndex.append(DeltaIndexEntry{0, 2, 0, {3, 2}});
    withDeltas.DeltaIndex.append(DeltaIndexEntry{2, 1, 0, {4}});
    withDeltas.DeltaStore = QByteArray("abcdeWXYZ");
    EXPECT_EQ(changedItems(doc, withDeltas).deltas.items(), (std::vector<int>{0, 2}));
    edited = withDeltas;
    edited.DeltaStore[7] = 'y';
    EXPECT_EQ(changedItems(withDeltas, edited).deltas.items(), std::vector<int>{2});
    edited = withDeltas;
    edited.DeltaIndex[0].size[0] = 4;
    edited.DeltaStore.insert(3, 'x');
    EXPECT_EQ(changedItems(withDeltas, edited).deltas.items(), std::vector<int>{0});
    EXPECT_TRUE(changedItems(withDeltas, edited).sprites.none());

    const ChangedItems every = ChangedItems::every();
    EXPECT_TRUE(every.all() && every.has(12345) && !every.none());
}

} // namespace
