#include "graphics/tilegrid.h"

#include "graphics/labelfont.h"
#include "palette/palettelookup.h"
#include "platform/imagememory.h"
#include "style/surfacelists.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr QRgb CheckerLight = 0xffc0c0c0;
constexpr QRgb CheckerDark = 0xff808080;
constexpr int CheckerSquare = 8;
constexpr QRgb Background = 0xff000000;

std::optional<int> tilePalette(const StyleDocument &doc, int tile) {
    const std::optional<int> palette = physicalPaletteOf(doc, tileVirtualPalette(tile));
    if (!palette || !isStoredPalette(*palette))
        return std::nullopt;
    return palette;
}

// One cell, its top-left at `at` in `grid`: each store row of the tile through a 256-entry colour
// table of its palette, read with the swap so that the colours come out in 32-bit pixel byte order.
void drawTileCell(const StyleDocument &doc, QImage &grid, int column, int row, QPoint at) {
    const int left = at.x();
    const int top = at.y();
    const int firstStoreRow = PageSide * (column / TilesPerRow) + TileSide * row;
    const int storeColumn = TileSide * (column % TilesPerRow);
    const int rows = std::clamp(doc.TileStore.height() - firstStoreRow, 0, TileSide);
    const std::optional<int> palette = tilePalette(doc, tileAtCell(column, row));

    std::array<QRgb, 256> colours;
    if (palette)
        for (int c = 0; c < 256; ++c)
            colours[static_cast<std::size_t>(c)] = 0xff000000 | directclutacces(doc, *palette, c, true);

    for (int y = 0; y < rows; ++y) {
        auto *target = reinterpret_cast<QRgb *>(grid.scanLine(top + y)) + left;
        if (!palette) {
            for (int x = 0; x < TileSide; ++x)
                target[x] = ((x / CheckerSquare + y / CheckerSquare) % 2) ? CheckerDark : CheckerLight;
            continue;
        }
        const uchar *source = doc.TileStore.constScanLine(firstStoreRow + y) + storeColumn;
        for (int x = 0; x < TileSide; ++x)
            target[x] = colours[source[x]];
    }
}

} // namespace

QString surfaceLabel(const StyleDocument &doc, int tile) {
    const QString line = QString::number(tile);
    for (int k = SurfaceListCount - 1; k >= 0; --k)
        if (doc.SurfaceColumns[static_cast<std::size_t>(k)].contains(line))
            return SurfaceLabels[static_cast<std::size_t>(k)];
    return QString();
}

namespace {

// The label of every tile at once: the grid would otherwise search all nine columns per cell.
class SurfaceLabelLookup {
public:
    explicit SurfaceLabelLookup(const StyleDocument &doc) {
        for (std::size_t k = 0; k < SurfaceListCount; ++k)
            for (const QString &line : doc.SurfaceColumns[k])
                lastList_.insert(line, SurfaceLabels[k]);
    }
    QString operator()(int tile) const { return lastList_.value(QString::number(tile)); }

private:
    QHash<QString, QString> lastList_;
};

void drawCellWithLabel(const StyleDocument &doc, const SurfaceLabelLookup &labels, QImage &grid, int column,
                       int row) {
    drawTileCell(doc, grid, column, row, QPoint(column * TileSide, row * TileSide));
    const QString label = labels(tileAtCell(column, row));
    if (!label.isEmpty())
        drawLabel(grid, QRect(column * TileSide, row * TileSide, TileSide, TileSide), label);
}

bool sameTileBytes(const QImage &a, const QImage &b, int column, int row) {
    const int firstStoreRow = PageSide * (column / TilesPerRow) + TileSide * row;
    const int storeColumn = TileSide * (column % TilesPerRow);
    const int rows = std::clamp(a.height() - firstStoreRow, 0, TileSide);
    for (int y = 0; y < rows; ++y)
        if (std::memcmp(a.constScanLine(firstStoreRow + y) + storeColumn,
                        b.constScanLine(firstStoreRow + y) + storeColumn, TileSide) != 0)
            return false;
    return true;
}

} // namespace

int renderedGridColumns(const StyleDocument &doc) {
    if (doc.TileStore.format() != QImage::Format_Indexed8 || doc.TileStore.width() < PageSide)
        return 0;
    return tileGridColumns(doc.TileStore);
}

QImage renderTileGrid(const StyleDocument &doc) {
    const int columns = renderedGridColumns(doc);
    if (columns == 0)
        return QImage();
    QImage grid = makeImage(columns * TileSide, TileGridRows * TileSide, QImage::Format_RGB32);
    grid.fill(Background);
    const SurfaceLabelLookup labels(doc);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < TileGridRows; ++row)
            drawCellWithLabel(doc, labels, grid, column, row);
    return grid;
}

bool redrawChangedTiles(QImage &grid, const StyleDocument &before, const StyleDocument &after) {
    const QImage &old = before.TileStore;
    const QImage &now = after.TileStore;
    if (grid.isNull() || old.size() != now.size() || old.format() != now.format() ||
        now.format() != QImage::Format_Indexed8 || before.PhysicalPalettes != after.PhysicalPalettes ||
        before.PhysicalPaletteCount != after.PhysicalPaletteCount ||
        before.PaletteIndex != after.PaletteIndex || before.PaletteBases != after.PaletteBases ||
        before.SurfaceColumns != after.SurfaceColumns)
        return false;
    if (old == now)
        return true;
    const SurfaceLabelLookup labels(after);
    const int columns = tileGridColumns(now);
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < TileGridRows; ++row)
            if (!sameTileBytes(old, now, column, row))
                drawCellWithLabel(after, labels, grid, column, row);
    return true;
}

void redrawTiles(QImage &grid, const StyleDocument &doc, const std::vector<int> &tiles) {
    const SurfaceLabelLookup labels(doc);
    const int columns = std::min(grid.width() / TileSide, tileGridColumns(doc.TileStore));
    for (const int tile : tiles) {
        const QPoint cell = cellOfTile(tile);
        if (cell.x() < columns)
            drawCellWithLabel(doc, labels, grid, cell.x(), cell.y());
    }
}

QImage renderTileCell(const StyleDocument &doc, int column, int row) {
    QImage cell = makeImage(TileSide, TileSide, QImage::Format_RGB32);
    cell.fill(Background);
    if (column >= 0 && column < tileGridColumns(doc.TileStore) && row >= 0 && row < TileGridRows &&
        doc.TileStore.format() == QImage::Format_Indexed8 && doc.TileStore.width() >= PageSide)
        drawTileCell(doc, cell, column, row, QPoint(0, 0));
    return cell;
}

QString tileInfo(const StyleDocument &doc, int tile, const QString &fileName) {
    const std::optional<int> palette = physicalPaletteOf(doc, tileVirtualPalette(tile));
    return QStringLiteral("Filename: \"%1\"\nIndex: %2\nPalette: %3")
        .arg(fileName)
        .arg(tile)
        .arg(palette ? QString::number(*palette) : QStringLiteral("none"));
}
