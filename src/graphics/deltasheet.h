#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

// The delta sheet: 2 rows of 10 cells of the sprite's size with 4-pixel gaps; cell 10r + c
// stands for delta 10r + c.
inline constexpr int DeltaSheetColumns = 10;
inline constexpr int DeltaSheetRows = 2;
inline constexpr int DeltaSheetCells = DeltaSheetColumns * DeltaSheetRows;
inline constexpr int DeltaCellGap = 4;

enum class DeltaView {
    Draw,        // "Draw deltas": the sprite with each delta drawn over it
    CarsOnly,    // "View Cars only": the plain sprite in every cell
    ChangesOnly, // "View changes only": the deltas alone on the white background
};
inline const QString DrawDeltasCaption = QStringLiteral("Draw deltas");
inline const QString ViewCarsOnlyCaption = QStringLiteral("View Cars only");
inline const QString ViewChangesOnlyCaption = QStringLiteral("View changes only");
inline const QString ExportDeltasCaption = QStringLiteral("Export deltas");
inline const QString ImportDeltasCaption = QStringLiteral("Import deltas");

QSize deltaSheetSize(QSize sprite);
// Top-left pixel of cell `cell` (0 to 19) in the sheet of a sprite of that size.
QPoint deltaCellOrigin(QSize sprite, int cell);

// The entry of the colour table nearest to white; the first of several equally near.
int closestToWhite(const QList<QRgb> &colours);

// The sheet of sprite `sprite` in the view, 8-bit with the sprite's palette. All twenty cells
// are drawn whatever the number of deltas the sprite has. Throws EditorError for a sprite that
// has no picture.
QImage renderDeltaSheet(const StyleDocument &doc, int sprite, DeltaView view);

// The twenty deltas that turn sprite `sprite` into the cells of `sheet`. The sheet is read by
// colour against the "Draw deltas" sheet the sprite shows now: a pixel of the colour its cell shows
// there keeps that index; others take the entry of their colour (entryHolding), the nearest
// colour other than entry 0 when the palette lacks it. Throws EditorError naming the cell when one
// cannot be encoded, or for a sprite without a picture.
std::vector<QByteArray> encodeSheetDeltas(const StyleDocument &doc, int sprite, const QImage &sheet);
