#pragma once

#include "graphics/tilenumbering.h"
#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <vector>

// The label of the last surface list holding a line equal to the tile's decimal text; empty when
// no list holds it.
QString surfaceLabel(const StyleDocument &doc, int tile);

// The pixels of the grid as the page shows them, one 32-bit image of columns x rows cells, each
// cell in its tile's colours with its surface label over it. A tile without a stored physical
// palette shows a grey checker pattern; cells beyond the store's last row stay black.
QImage renderTileGrid(const StyleDocument &doc);
// The columns of that grid: none when the store is no 8-bit store of 256-pixel rows.
int renderedGridColumns(const StyleDocument &doc);
// Brings `grid`, rendered from `before`, up to `after` by drawing only the cells whose tile pixels
// differ. False, leaving the grid as it was, when more than tile pixels changed (palettes,
// surfaces, the store's size): then the grid must be rendered anew.
bool redrawChangedTiles(QImage &grid, const StyleDocument &before, const StyleDocument &after);
// Draws the cells of `tiles` (ascending tile numbers) in `grid` again from `doc`, labels included;
// tiles beyond the grid are left out.
void redrawTiles(QImage &grid, const StyleDocument &doc, const std::vector<int> &tiles);
// One cell of that grid without its label, for views that draw the label at another scale than
// the tile.
QImage renderTileCell(const StyleDocument &doc, int column, int row);

// The `info` panel's lines for a selected tile: its file name, number and virtual palette entry.
QString tileInfo(const StyleDocument &doc, int tile, const QString &fileName);
