#include "graphics/tilegrid.h"

#include "palette/palettelookup.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb White = 0xffffffff;
constexpr QRgb Black = 0xff000000;

// Two tile pages; tile t shows physical palette t + 1, except tile 30 (a palette beyond the store)
// and tile 31 (no palette index entry). Pixel (x, y) of tile t holds t + x + 2y.
StyleDocument gridDocument() {
    StyleDocument doc;
    doc.TileStore = makePixelStore(2 * PageSide);
    for (int t = 0; t < 32; ++t) {
        const QPoint origin = tileOrigin(t);
        for (int y = 0; y < TileSide; ++y)
            for (int x = 0; x < TileSide; ++x)
                doc.TileStore.scanLine(origin.y() + y)[origin.x() + x] = static_cast<uchar>(t + x + 2 * y);
    }
    for (int t = 0; t < 31; ++t)
        doc.PaletteIndex.append(static_cast<quint16>(t + 1));
    doc.PaletteIndex[30] = PaletteStoreCapacity;
    doc.PhysicalPaletteCount = 64;
    for (int p = 0; p < 64; ++p)
        for (int c = 0; c < 256; ++c)
            writetoclut(doc, p, c, colourValue(p * 4, c, 255 - c));
    return doc;
}

QRgb expected(const StyleDocument &doc, int tile, int x, int y) {
    const int value = (tile + x + 2 * y) & 0xff;
    return 0xff000000 | toRgb(directclutacces(doc, tile + 1, value, false));
}

QRgb cellPixel(const QImage &grid, int tile, int x, int y) {
    const QPoint cell = cellOfTile(tile);
    return grid.pixel(cell.x() * TileSide + x, cell.y() * TileSide + y);
}

bool cellInItsColours(const StyleDocument &doc, const QImage &grid, int tile) {
    for (int y = 0; y < TileSide; ++y)
        for (int x = 0; x < TileSide; ++x)
            if (cellPixel(grid, tile, x, y) != expected(doc, tile, x, y))
                return false;
    return true;
}

TEST(TileGrid, EveryCellShowsItsTileInItsPalettesColours) {
    const StyleDocument doc = gridDocument();
    const QImage grid = renderTileGrid(doc);
    ASSERT_EQ(grid.size(), QSize(8 * TileSide, 4 * TileSide));
    EXPECT_EQ(tileAtCell(5, 2), 25);
    for (int t = 0; t < 30; ++t)
        EXPECT_TRUE(cellInItsColours(doc, grid, t)) << "tile " << t;
    EXPECT_EQ(grid.pixel(5 * TileSide + 3, 2 * TileSide + 1), expected(doc, 25, 3, 1));
}

TEST(TileGrid, TilesWithoutAStoredPaletteShowTheSameGreyChecker) {
    const StyleDocument doc = gridDocument();
    const QImage grid = renderTileGrid(doc);
    QList<QRgb> seen;
    for (int tile : {30, 31}) {
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                const QRgb pixel = cellPixel(grid, tile, x, y);
                EXPECT_EQ(qRed(pixel), qGreen(pixel));
                EXPECT_EQ(qGreen(pixel), qBlue(pixel));
                EXPECT_EQ(pixel, cellPixel(grid, 30, x, y));
                if (!seen.contains(pixel))
                    seen << pixel;
            }
        }
    }
    EXPECT_EQ(seen.size(), 2);
    EXPECT_NE(cellPixel(grid, 30, 0, 0), cellPixel(grid, 30, 8, 0));
    EXPECT_EQ(cellPixel(grid, 30, 0, 0), cellPixel(grid, 30, 8, 8));
}

TEST(TileGrid, ShowsNothingForAnEmptyStoreAndBlackBelowAShortStore) {
    StyleDocument doc = gridDocument();
    doc.TileStore = QImage();
    EXPECT_TRUE(renderTileGrid(doc).isNull());

    doc.TileStore = makePixelStore(PageSide + TileSide);
    const QImage grid = renderTileGrid(doc);
    ASSERT_EQ(grid.width(), 5 * TileSide);
    EXPECT_EQ(cellPixel(grid, 16, 10, 63), 0xff000000 | toRgb(directclutacces(doc, 17, 0, false)));
    EXPECT_EQ(cellPixel(grid, 20, 10, 0), Black) << "tile 20 lies below the store's last row";
}

TEST(TileGrid, TheLastListHoldingTheTileNamesIt) {
    StyleDocument doc = gridDocument();
    doc.SurfaceColumns[2] = {QStringLiteral("6"), QStringLiteral("9")};
    doc.SurfaceColumns[7] = {QStringLiteral("6")};
    doc.SurfaceColumns[8] = {QStringLiteral(" 9"), QStringLiteral("09")};
    EXPECT_EQ(surfaceLabel(doc, 6), "metal wall");
    EXPECT_EQ(surfaceLabel(doc, 9), "water") << "a list matches only the exact decimal text";
    EXPECT_EQ(surfaceLabel(doc, 7), "");
}

TEST(TileGrid, LabelsAreWrittenOverTheTopLeftOfTheirCellOnly) {
    StyleDocument doc = gridDocument();
    doc.SurfaceColumns[4] = {QStringLiteral("5")};
    const QImage grid = renderTileGrid(doc);

    EXPECT_EQ(cellPixel(grid, 5, 0, 0), White) << "the label's box";
    int ink = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < TileSide; ++x)
            ink += cellPixel(grid, 5, x, y) == Black;
    EXPECT_GT(ink, 40);
    EXPECT_EQ(cellPixel(grid, 5, 63, 63), expected(doc, 5, 63, 63)) << "below the label";
    for (int neighbour : {4, 6, 1, 9})
        EXPECT_TRUE(cellInItsColours(doc, grid, neighbour)) << "a long label stays inside its cell";
}

TEST(TileGrid, InfoNamesTheFileTheTileAndItsPalette) {
    const StyleDocument doc = gridDocument();
    EXPECT_EQ(tileInfo(doc, 3, "VYR2_TILE_3.bmp"), "Filename: \"VYR2_TILE_3.bmp\"\nIndex: 3\nPalette: 4");
    EXPECT_EQ(tileInfo(doc, 31, "t31.bmp"), "Filename: \"t31.bmp\"\nIndex: 31\nPalette: none");
}

} // namespace
