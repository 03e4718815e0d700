#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>
#include <vector>

// What differs between two style files, by meaning.

struct StyleDiff {
    // One line per difference, e.g. "car 2 passengers: 1 -> 2", in table order.
    QStringList lines;
    // Tiles and sprites present in both files whose pixels (or, for sprites, size) differ.
    std::vector<int> changedTiles;
    std::vector<int> changedSprites;

    bool equal() const { return lines.isEmpty(); }
};

// Compares the loaded documents, and in the files' bytes what the documents do not hold: the header
// version, the chunk order, the font table, the chunks the editor does not know, and any other byte
// of a chunk no line accounts for. Equal exactly when the files are.
StyleDiff diffStyles(const StyleDocument &a, const StyleDocument &b, const QByteArray &fileA,
                     const QByteArray &fileB);

// Each changed tile and sprite in its own colours, before on the left and after on the right, one
// pair a row, top to bottom in the diff's order; a null image when nothing changed. Throws
// EditorError when the picture would be too large to hold.
QImage diffPicture(const StyleDocument &a, const StyleDocument &b, const StyleDiff &diff);
