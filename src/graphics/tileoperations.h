#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <QString>
#include <functional>

class Log;
class PictureSource;
class Progress;
class Prompts;

inline const QString TileImportQuestion =
    QStringLiteral("do you want to import palette for this image or just remap palindex to new palette?");
inline const QString AddTilePageQuestion =
    QStringLiteral("this will add another 16 textures to tile graphics, continue?");
inline const QString RemoveTilePageQuestion =
    QStringLiteral("this will delete last 16 textures from tile graphics, continue?");
inline const QString ExportAllCaption = QStringLiteral("all-textures-extractor");
inline const QString ExportAllPrompt = QStringLiteral("Enter directory that exists ending with backslash.");

// A 64 x 64 8-bit copy of the tile with the 256 colours of its physical palette; the indexes are
// the store's. A tile without a palette index entry gets MissingPaletteColour throughout.
QImage tileBitmap(const StyleDocument &doc, int tile);

// "export": the save dialog preset with the pattern's name; writes the tile as a ".png" file when
// the chosen name ends so, as a ".bmp" file otherwise.
// Returns the name written, empty when refused or cancelled.
QString exportTile(const StyleDocument &doc, int tile, const QString &pattern, Prompts &prompts);
// The export with the file already chosen: the same refusals, no dialog.
QString exportTileTo(const StyleDocument &doc, int tile, const QString &path, Prompts &prompts);

// "Export all": asks for a directory (preset with `lastDirectory`, which keeps what was typed)
// and writes every tile in grid order to that text followed directly by the tile's name.
// `selectTile` is told each tile before it is written. Returns the number of files written.
int exportAllTiles(const StyleDocument &doc, const QString &pattern, QString &lastDirectory, Prompts &prompts,
                   Progress &progress, const std::function<void(int)> &selectTile = {});

// "import": one 64 x 64 8-bit picture into the tile, asking what happens to its palette. When the
// tile keeps its palette, the pixels are brought to its colours (matchColours), which `log` tells.
// Returns whether the document changed.
bool importTile(StyleDocument &doc, int tile, const PictureSource &picture, Prompts &prompts, Log &log);
// The button: refuses a tile that does not exist or a bad pattern, then asks for the file (preset
// with the pattern's name) and imports it.
bool importTile(StyleDocument &doc, int tile, const QString &pattern, Prompts &prompts, Log &log);

// "add page" / "remove page": 16 tiles more or fewer at the end, after asking; silent at the
// limits. Returns whether the store changed.
bool addTilePage(StyleDocument &doc, Prompts &prompts);
bool removeTilePage(StyleDocument &doc, Prompts &prompts);

// "export raw" / "import raw": the whole tile store as one 8-bit bitmap over the grey ramp. The
// import brings the pixels to the grey ramp's colours (matchColours). The export returns the name
// written (empty when cancelled), the import whether the store changed; the button's import asks
// for the file first.
QString exportRawTiles(const StyleDocument &doc, Prompts &prompts);
bool importRawTiles(StyleDocument &doc, const PictureSource &picture, Prompts &prompts, Log &log);
bool importRawTiles(StyleDocument &doc, Prompts &prompts, Log &log);
