#pragma once

#include "style/filerecords.h"

#include <QImage>
#include <QPoint>

// The tile store holds pages of 16 tiles, 4 rows of 4; "add page" stops short of the file's 64.
inline constexpr int MaxTilePages = 62;
inline constexpr int TilesPerRow = PageSide / TileSide;
inline constexpr int TileGridRows = 4;

inline int tilePages(const QImage &store) {
    return store.height() / PageSide;
}
inline int tileCount(const QImage &store) {
    return tilePages(store) * TilesPerPage;
}

// Top-left pixel of tile `tile` in the store: x is the column, y the row.
constexpr QPoint tileOrigin(int tile) {
    const int k = tile % TilesPerPage;
    return QPoint((k % TilesPerRow) * TileSide,
                  (tile / TilesPerPage) * PageSide + (k / TilesPerRow) * TileSide);
}

// The grid shows a page as a 4 x 4 block of cells and pages follow left to right.
inline int tileGridColumns(const QImage &store) {
    return store.height() / TileSide;
}
constexpr int tileAtCell(int column, int row) {
    return column % TilesPerRow + TilesPerRow * row + TilesPerPage * (column / TilesPerRow);
}
constexpr QPoint cellOfTile(int tile) {
    const int k = tile % TilesPerPage;
    return QPoint((tile / TilesPerPage) * TilesPerRow + k % TilesPerRow, k / TilesPerRow);
}
