#include "graphics/tileoperations.h"

#include "graphics/bitmapchecks.h"
#include "graphics/rawstore.h"
#include "graphics/tilenumbering.h"
#include "graphics/tilepattern.h"
#include "palette/colourmapping.h"
#include "palette/palettelookup.h"
#include "palette/palettetablefile.h"
#include "platform/fileio.h"
#include "platform/imagememory.h"
#include "platform/indexedpicture.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"

#include <algorithm>
#include <cstring>

namespace {

// Tells the user about a tile number outside the store; true when the tile exists.
bool checkTile(const StyleDocument &doc, int tile, Prompts &prompts) {
    const int count = tileCount(doc.TileStore);
    if (inRange(0, count, tile))
        return true;
    if (count == 0)
        prompts.message(QStringLiteral("There is no tile %1: the style has no tile graphics.").arg(tile));
    else
        prompts.message(
            QStringLiteral("There is no tile %1; the tiles are numbered 0 to %2.").arg(tile).arg(count - 1));
    return false;
}

std::optional<TilePattern> checkedPattern(const QString &pattern, Prompts &prompts) {
    QString error;
    std::optional<TilePattern> parsed = TilePattern::parse(pattern, error);
    if (!parsed)
        prompts.message(error);
    return parsed;
}

QString writeTile(const StyleDocument &doc, int tile, const QString &path, Durability durability) {
    const QString target = picturePath(path);
    savePicture8(target, tileBitmap(doc, tile), durability);
    return target;
}

} // namespace

QImage tileBitmap(const StyleDocument &doc, int tile) {
    const QPoint origin = tileOrigin(tile);
    QImage image = allocated(doc.TileStore.copy(origin.x(), origin.y(), TileSide, TileSide));
    // A palette number outside the store reads as MissingPaletteColour.
    const int palette = physicalPaletteOf(doc, tileVirtualPalette(tile)).value_or(-1);
    changepalette(image, ClutToPal(doc, palette));
    return image;
}

QString exportTile(const StyleDocument &doc, int tile, const QString &pattern, Prompts &prompts) {
    if (!checkTile(doc, tile, prompts))
        return QString();
    const std::optional<TilePattern> parsed = checkedPattern(pattern, prompts);
    if (!parsed)
        return QString();
    const std::optional<QString> path =
        prompts.saveFileName(FileKind::Tile, IndexedPictureFilter, parsed->format(tile));
    if (!path)
        return QString();
    return writeTile(doc, tile, *path, Durability::Synced);
}

QString exportTileTo(const StyleDocument &doc, int tile, const QString &path, Prompts &prompts) {
    if (!checkTile(doc, tile, prompts))
        return QString();
    return writeTile(doc, tile, path, Durability::Synced);
}

int exportAllTiles(const StyleDocument &doc, const QString &pattern, QString &lastDirectory, Prompts &prompts,
                   Progress &progress, const std::function<void(int)> &selectTile) {
    const std::optional<TilePattern> parsed = checkedPattern(pattern, prompts);
    if (!parsed)
        return 0;
    const std::optional<QString> directory =
        prompts.inputBox(ExportAllCaption, ExportAllPrompt, lastDirectory);
    if (!directory)
        return 0;
    lastDirectory = *directory;
    const int columns = tileGridColumns(doc.TileStore);
    progress.setMaximum(columns * TileGridRows);
    progress.setPosition(0);
    int written = 0;
    for (int row = 0; row < TileGridRows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const int tile = tileAtCell(column, row);
            if (selectTile)
                selectTile(tile);
            // Typed as given: the name follows the text directly.
            writeTile(doc, tile, *directory + parsed->format(tile), Durability::Deferred);
            progress.setPosition(++written);
            progress.processEvents();
        }
    }
    progress.setPosition(0);
    return written;
}

bool importTile(StyleDocument &doc, int tile, const QString &pattern, Prompts &prompts, Log &log) {
    if (!checkTile(doc, tile, prompts))
        return false;
    const std::optional<TilePattern> parsed = checkedPattern(pattern, prompts);
    if (!parsed)
        return false;
    const std::optional<QString> path =
        prompts.openFileName(FileKind::Tile, IndexedPictureFilter, parsed->format(tile));
    return path && importTile(doc, tile, PictureSource::file(*path), prompts, log);
}

bool importTile(StyleDocument &doc, int tile, const PictureSource &picture, Prompts &prompts, Log &log) {
    if (!checkTile(doc, tile, prompts))
        return false;
    const LoadedBitmap bitmap = picture.read();
    const QString rule = QStringLiteral("error: bitmap must be 8 bit size: 64*64 pixels.");
    const bool trueColour = isTrueColour(bitmap);
    if (!(isEightBit(bitmap) || trueColour) || bitmap.image.width() != TileSide ||
        bitmap.image.height() != TileSide) {
        prompts.message(formatMessage(rule, bitmap));
        return false;
    }
    const int virtualPalette = tileVirtualPalette(tile);
    const std::optional<int> current = physicalPaletteOf(doc, virtualPalette);
    const Answer answer = prompts.confirmWithCancel(TileImportQuestion);
    if (answer == Answer::Yes && trueColour) {
        prompts.message(formatMessage(rule, bitmap));
        return false;
    }
    std::optional<int> picked;
    if (answer != Answer::Cancel) {
        if (!current) {
            prompts.message(QStringLiteral("Tile %1 has no entry in the palette index, so no palette can be "
                                           "chosen for it.")
                                .arg(tile));
            return false;
        }
        bool refused = false;
        picked = pickStoredPalette(doc, QString::number(*current), prompts, &refused);
        if (refused)
            return false;
    }
    // A picked palette is the file's choice, and its indexes are taken as stored; otherwise the
    // tile keeps showing its own palette, which must show the file's colours. A true-colour file
    // has only colours, so the palette the tile will show must hold them.
    QImage pixels = bitmap.image;
    if (!picked || trueColour) {
        const std::optional<int> shown = picked ? picked : current;
        if (shown) {
            ColourTarget target = paletteTarget(doc, *shown, QStringLiteral("tile %1").arg(tile));
            if (!picked)
                target.shown = tileBitmap(doc, tile);
            const std::optional<QImage> matched = matchColours(bitmap, picture.name(), target, prompts, log);
            if (!matched)
                return false;
            pixels = *matched;
        } else if (trueColour) {
            prompts.message(QStringLiteral("Tile %1 has no entry in the palette index, so there is no "
                                           "palette to match the colours of \"%2\" to.")
                                .arg(tile)
                                .arg(picture.name()));
            return false;
        }
    }
    if (picked) {
        doc.PaletteIndex[static_cast<std::size_t>(virtualPalette)] = static_cast<quint16>(*picked);
        // A shorter colour table leaves the remaining colours as they were.
        for (int c = 0; answer == Answer::Yes && c < bitmap.fileColours; ++c)
            writetoclut(doc, *picked, c, fromRgb(bitmap.image.color(c)));
    }
    if (const std::optional<QString> change = transparencyChange(tileBitmap(doc, tile), pixels))
        log.append(QStringLiteral("tile %1: %2.").arg(tile).arg(*change));
    const QPoint origin = tileOrigin(tile);
    rawpixelcopy(pixels, doc.TileStore, origin.y(), origin.x(), prompts);
    return true;
}

bool addTilePage(StyleDocument &doc, Prompts &prompts) {
    const int pages = tilePages(doc.TileStore);
    if (pages >= MaxTilePages || prompts.confirm(AddTilePageQuestion) == Answer::No)
        return false;
    QImage grown = makePixelStore((pages + 1) * PageSide);
    if (!doc.TileStore.isNull()) {
        grown.setColorTable(doc.TileStore.colorTable());
        for (int y = 0; y < pages * PageSide; ++y)
            std::memcpy(grown.scanLine(y), doc.TileStore.constScanLine(y), PageSide);
    }
    doc.TileStore = grown;
    return true;
}

bool removeTilePage(StyleDocument &doc, Prompts &prompts) {
    const int pages = tilePages(doc.TileStore);
    if (pages <= 1 || prompts.confirm(RemoveTilePageQuestion) == Answer::No)
        return false;
    doc.TileStore = allocated(doc.TileStore.copy(0, 0, PageSide, (pages - 1) * PageSide));
    return true;
}

QString exportRawTiles(const StyleDocument &doc, Prompts &prompts) {
    if (doc.TileStore.isNull()) {
        prompts.message(QStringLiteral("The style has no tile graphics to export."));
        return QString();
    }
    return exportRawStore(doc.TileStore, FileKind::Tile, prompts);
}

bool importRawTiles(StyleDocument &doc, Prompts &prompts, Log &log) {
    const std::optional<QString> path = prompts.openFileName(FileKind::Tile, IndexedPictureFilter, QString());
    return path && importRawTiles(doc, PictureSource::file(*path), prompts, log);
}

bool importRawTiles(StyleDocument &doc, const PictureSource &picture, Prompts &prompts, Log &log) {
    const std::optional<QImage> store =
        importRawStore(doc.TileStore, picture, MaxTilePages, QStringLiteral("tile"),
                       QStringLiteral("error: tile graphics must be an 8 bit bitmap 256 pixels wide and 256 "
                                      "to 15872 pixels high in steps of 256 (1 to 62 pages of 16 tiles)."),
                       prompts, log);
    if (!store)
        return false;
    doc.TileStore = *store;
    return true;
}
