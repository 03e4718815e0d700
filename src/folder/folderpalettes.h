#pragma once

#include "folder/folderfiles.h"
#include "style/styledocument.h"

#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>

// A short digest of the red, green and blue of a colour table's first 256 entries (missing
// entries count as black).
QString paletteCheck(const QList<QRgb> &colours);
// The digest of every physical palette of the document.
QStringList paletteChecks(const StyleDocument &doc);

// palettes.png (the palette table, 24-bit) and one JASC text palette per physical palette; when
// the count ends inside a page of 64, beyond.bin with the bytes of that page's remaining slots that
// the file holds.
void addPaletteFiles(const StyleDocument &doc, const FileSink &files);

// Sets the colours of physical palettes 0 to PhysicalPaletteCount - 1 from the folder, leaving
// their fourth bytes. A palette's colours come from the file of the two whose digest no longer
// matches `checks` (the .pal file when neither or both changed it alike). Throws EditorError
// naming the file and line for a damaged file, and naming both when they change it differently.
// The bytes of beyond.bin go back where they were.
void readPaletteFiles(const FolderSource &source, const QStringList &checks, StyleDocument &doc);
