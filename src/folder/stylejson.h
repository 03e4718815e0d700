#pragma once

#include "style/styledocument.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A chunk the editor does not know, kept in the folder as it was in the file.
struct UnknownChunk {
    QByteArray tag; // four bytes
    QString file;   // relative to the folder
};

// What style.json holds besides the document's tables.
struct FolderFacts {
    int version = StyleVersion; // of the unpacked file; the writer always stores 700
    int tileRows = 0;
    int spriteRows = 0;
    // A digest of the whole sprite pages as unpacked: whether the user painted on them.
    QString spritePagesCheck;
    // One per sprite: a digest of its pixels as unpacked (empty for a sprite of no pixels), which
    // tells pack whether the sprite's PNG or the sprite pages changed them.
    QStringList spriteChecks;
    // One per physical palette: a digest of its colours as unpacked, which tells pack which of
    // its two files changed a palette, and whether a picture still shows the colours it was
    // exported with.
    QStringList paletteChecks;
    QList<UnknownChunk> unknownChunks;
};

// style.json: the tables of `doc` with one value per line where practical, keys in a stable order.
QByteArray styleJson(const StyleDocument &doc, const FolderFacts &facts);

// Reads style.json into the tables of `doc` (palette counts and index, sprite counts and entries,
// recycle list, car records, surface lists, object info, delta index) and returns the rest.
// Throws EditorError naming style.json and the field for text that does not parse, a missing
// field, a value outside its field's range or a list that no longer matches its count.
FolderFacts readStyleJson(const QByteArray &text, StyleDocument &doc);
