#include "folder/packstyle.h"

#include "cars/carscript.h"
#include "folder/folderlayout.h"
#include "folder/folderpalettes.h"
#include "folder/folderpng.h"
#include "folder/stylejson.h"
#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/spritepicture.h"
#include "graphics/tilenumbering.h"
#include "palette/colourmapping.h"
#include "palette/palettelookup.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"
#include "platform/progress.h"
#include "style/littleendian.h"
#include "style/stylewriter.h"

#include <QRect>
#include <QSet>
#include <cstring>
#include <unordered_set>

namespace {

[[noreturn]] void refuse(const QString &name, const QString &why) {
    throw EditorError(QStringLiteral("%1: %2; nothing was written.").arg(name, why));
}

// How a graphic's PNG is read: its size and the palette that shows it now.
struct GraphicPng {
    QString name;
    QString what; // "tile 5"
    QSize size;
    QList<QRgb> colours;
    QString paletteName;
};

// A sprite whose PNG changed its pixels, as written into the store.
struct PaintedSprite {
    int sprite;
    QRect rect; // in the store
    QImage pixels;
};

class Packer {
public:
    Packer(const FolderContents &folder, Prompts &prompts, Log &log)
        : folder_(folder), prompts_(prompts), log_(log) {}

    QByteArray pack(bool keepUnknown, QByteArray *unknownChunks);

private:
    GraphicPng graphic(const QString &name, const QString &what, QSize size,
                       std::optional<int> palette) const;
    QImage pixels(const GraphicPng &g, const LoadedBitmap &bitmap) const;
    QImage pixels(const GraphicPng &g) const {
        return pixels(g, readIndexedPng(requiredFile(source_, g.name), g.name));
    }
    // Rows of a pixel store, shown by the grey ramp.
    static GraphicPng storeRows(const QString &name, const QString &what, int rows);
    void readTiles();
    // Returns the document as unpacked, before the sprite pictures are read.
    StyleDocument readSprites();
    void paintSprite(int s, const QImage &sprite, std::vector<PaintedSprite> &painted);
    void readDeltaBytes(const StyleDocument &unpacked);
    // The document the delta sheet of sprite `s` was drawn from.
    StyleDocument drawnOver(const StyleDocument &unpacked, int s) const;
    void readDeltaSheets(const StyleDocument &unpacked);
    // Refuses the first file of the folder that pack has not read or accounted for.
    void refuseUnknownFiles() const;

    const FolderContents &folder_;
    mutable std::unordered_set<QString> read_;
    // Every file pack reads goes through here, so that the files it never asked for stand out.
    const FolderSource source_ = [this](const QString &name) {
        read_.insert(name);
        return folder_.read(name);
    };
    Prompts &prompts_;
    Log &log_;
    StyleDocument doc_;
    FolderFacts facts_;
    // Sprites that style.json moved, their PNG unpainted.
    QSet<int> moved_;
};

GraphicPng Packer::graphic(const QString &name, const QString &what, QSize size,
                           std::optional<int> palette) const {
    const int p = palette.value_or(-1);
    return {name, what, size, ClutToPal(doc_, p), QStringLiteral("palette %1").arg(p)};
}

QImage Packer::pixels(const GraphicPng &g, const LoadedBitmap &bitmap) const {
    if (bitmap.image.size() != g.size)
        refuse(g.name, QStringLiteral("the picture is %1*%2 pixels; %3 is %4*%5")
                           .arg(bitmap.image.width())
                           .arg(bitmap.image.height())
                           .arg(g.what)
                           .arg(g.size.width())
                           .arg(g.size.height()));
    // A palette it could have been unpacked with: the indexes are the graphic's own, whichever
    // palette style.json now gives the graphic.
    if (bitmap.fileColours == 256 &&
        (facts_.paletteChecks.contains(paletteCheck(bitmap.image.colorTable())) ||
         paletteCheck(bitmap.image.colorTable()) == paletteCheck(g.colours)))
        return bitmap.image;
    const std::optional<QImage> matched =
        matchColours(bitmap, g.name, ColourTarget{g.colours, g.paletteName, g.what}, prompts_, log_);
    if (!matched)
        refuse(g.name,
               QStringLiteral("its colours are not all in %1, which shows %2").arg(g.paletteName, g.what));
    return *matched;
}

// A pixel store over the grey ramp, 256 pixels wide.
GraphicPng Packer::storeRows(const QString &name, const QString &what, int rows) {
    return {name, what, QSize(PageSide, rows), greyRamp(), QStringLiteral("the grey ramp")};
}

void Packer::readTiles() {
    if (facts_.tileRows == 0)
        return;
    doc_.TileStore = makePixelStore(facts_.tileRows);
    for (int t = 0; t < tileCount(doc_.TileStore); ++t) {
        const QImage tile =
            pixels(graphic(tilePngName(t), QStringLiteral("tile %1").arg(t), QSize(TileSide, TileSide),
                           physicalPaletteOf(doc_, tileVirtualPalette(t))));
        const QPoint origin = tileOrigin(t);
        for (int y = 0; y < TileSide; ++y)
            std::memcpy(doc_.TileStore.scanLine(origin.y() + y) + origin.x(), tile.constScanLine(y),
                        TileSide);
    }
    const int wholeRows = tilePages(doc_.TileStore) * PageSide;
    if (facts_.tileRows > wholeRows) {
        const QImage rest = pixels(storeRows(TileRestName, QStringLiteral("the rest of the tile store"),
                                             facts_.tileRows - wholeRows));
        for (int y = 0; y < rest.height(); ++y)
            std::memcpy(doc_.TileStore.scanLine(wholeRows + y), rest.constScanLine(y), PageSide);
    }
}

StyleDocument Packer::readSprites() {
    if (facts_.spriteRows > 0) {
        const LoadedBitmap pages = readIndexedPng(requiredFile(source_, SpritePagesName), SpritePagesName);
        const int rows = facts_.spriteRows;
        doc_.SpriteStore = makePixelStore(rows);
        const QImage store =
            pixels(storeRows(SpritePagesName, QStringLiteral("the sprite store"), rows), pages);
        for (int y = 0; y < rows; ++y)
            std::memcpy(doc_.SpriteStore.scanLine(y), store.constScanLine(y), PageSide);
    }
    const StyleDocument unpacked = doc_;
    const bool pagesChanged = pixelCheck(doc_.SpriteStore) != facts_.spritePagesCheck;
    std::vector<PaintedSprite> painted;
    for (int s = 0; s < doc_.spriteCount(); ++s) {
        const SpriteEntry &e = doc_.SpriteIndex[std::size_t(s)];
        if (e.w == 0 || e.h == 0)
            continue;
        const QString name = spritePngName(s);
        const QImage sprite = pixels(graphic(name, QStringLiteral("sprite %1").arg(s), QSize(e.w, e.h),
                                             spritePhysicalPalette(doc_, s)));
        // The digest of the pixels as unpacked tells which of the two files was painted. Pages not
        // painted at all show other pixels only where style.json moved the sprite.
        const QString unpackedCheck = facts_.spriteChecks.value(s);
        const QImage onPages = spriteGlyph(unpacked, s);
        const bool showsOther = pixelCheck(onPages) != unpackedCheck;
        const bool pagesPainted = pagesChanged && showsOther;
        const bool pngPainted = pixelCheck(sprite) != unpackedCheck;
        if (pagesPainted && !pngPainted)
            refuse(SpritePagesName,
                   QStringLiteral("the pixels of sprite %1 differ from those unpacked; paint "
                                  "%2 instead (the pages keep only the pixels no sprite covers)")
                       .arg(s)
                       .arg(name));
        if (pagesPainted && pixelCheck(sprite) != pixelCheck(onPages))
            refuse(name, QStringLiteral("sprite %1 is painted both here and in %2, differently; keep one of "
                                        "the two")
                             .arg(s)
                             .arg(SpritePagesName));
        // Only a painted or moved sprite is written, so an unchanged one cannot undo the painting of
        // another sprite that overlaps it; a moved one takes its pixels to its new place.
        if (pngPainted || showsOther)
            paintSprite(s, sprite, painted);
        if (showsOther && !pagesPainted && !pngPainted)
            moved_.insert(s);
    }
    return unpacked;
}

void Packer::paintSprite(int s, const QImage &sprite, std::vector<PaintedSprite> &painted) {
    const SpriteEntry &e = doc_.SpriteIndex[std::size_t(s)];
    const QRect rect = QRect(e.x(), e.page() * PageSide + e.y(), e.w, e.h)
                           .intersected(QRect(0, 0, PageSide, doc_.SpriteStore.height()));
    for (const PaintedSprite &other : painted) {
        const QRect both = rect.intersected(other.rect);
        for (int y = both.top(); y <= both.bottom(); ++y)
            for (int x = both.left(); x <= both.right(); ++x)
                if (sprite.pixelIndex(x - rect.left(), y - rect.top()) !=
                    other.pixels.pixelIndex(x - other.rect.left(), y - other.rect.top()))
                    refuse(
                        spritePngName(s),
                        QStringLiteral("sprite %1 and sprite %2 (%3) cover the same pixels and are painted "
                                       "differently there; paint them alike or only one of them")
                            .arg(s)
                            .arg(other.sprite)
                            .arg(spritePngName(other.sprite)));
    }
    for (int y = 0; y < rect.height(); ++y)
        std::memcpy(writableLine(doc_.SpriteStore, rect.top() + y) + rect.left(), sprite.constScanLine(y),
                    std::size_t(rect.width()));
    painted.push_back({s, rect, sprite});
}

void Packer::readDeltaBytes(const StyleDocument &unpacked) {
    for (int s = 0; s < unpacked.spriteCount(); ++s) {
        const std::optional<int> found = findDeltaEntry(unpacked, s);
        if (!found)
            continue;
        const DeltaIndexEntry &entry = unpacked.DeltaIndex[std::size_t(*found)];
        const std::optional<QByteArray> bytes = source_(deltaBytesName(s));
        if (!bytes || entry.delta_count == 0 ||
            *bytes == unpacked.DeltaStore.mid(deltaEntryStart(unpacked, *found), deltaEntryBytes(entry)))
            continue;
        if (bytes->size() != deltaEntryBytes(entry))
            refuse(deltaBytesName(s),
                   QStringLiteral("%1 bytes, but the sizes of deltas[%2] in style.json add up to %3")
                       .arg(bytes->size())
                       .arg(*found)
                       .arg(deltaEntryBytes(entry)));
        std::vector<QByteArray> deltas;
        qsizetype at = 0;
        for (int d = 0; d < entry.delta_count; ++d) {
            deltas.push_back(bytes->mid(at, entry.size[std::size_t(d)]));
            at += entry.size[std::size_t(d)];
        }
        try {
            replaceSpriteDeltas(doc_, s, deltas);
        } catch (const EditorError &error) {
            refuse(deltaBytesName(s), error.text());
        }
    }
}

StyleDocument Packer::drawnOver(const StyleDocument &unpacked, int s) const {
    StyleDocument base = unpacked;
    if (!moved_.contains(s))
        return base;
    // A sprite moved in style.json was drawn over its own pixels, which its PNG took along.
    const SpriteEntry &e = doc_.SpriteIndex[std::size_t(s)];
    const QRect rect = QRect(e.x(), e.page() * PageSide + e.y(), e.w, e.h)
                           .intersected(QRect(0, 0, PageSide, doc_.SpriteStore.height()));
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::memcpy(writableLine(base.SpriteStore, y) + rect.left(),
                    doc_.SpriteStore.constScanLine(y) + rect.left(), std::size_t(rect.width()));
    return base;
}

void Packer::readDeltaSheets(const StyleDocument &unpacked) {
    for (int s = 0; s < unpacked.spriteCount() && s < unpacked.SpriteBases[SprCar]; ++s) {
        const std::optional<QByteArray> png = source_(deltaSheetName(s));
        if (!png)
            continue;
        const StyleDocument base = drawnOver(unpacked, s);
        QImage before;
        try {
            before = renderDeltaSheet(base, s, DeltaView::Draw);
            checkedSprite(base, s);
        } catch (const EditorError &) {
            refuse(deltaSheetName(s), QStringLiteral("sprite %1 has no picture to draw deltas over").arg(s));
        }
        const QImage sheet =
            pixels(graphic(deltaSheetName(s), QStringLiteral("the delta sheet of sprite %1").arg(s),
                           before.size(), spritePhysicalPalette(doc_, s)),
                   readIndexedPng(*png, deltaSheetName(s)));
        bool changed = false;
        for (int y = 0; y < sheet.height() && !changed; ++y)
            changed =
                std::memcmp(before.constScanLine(y), sheet.constScanLine(y), std::size_t(sheet.width())) != 0;
        if (!changed)
            continue;
        try {
            // The sheet was drawn over the sprite as unpacked; its deltas are the pixels that differ
            // from that, and they go over the sprite the packed file holds.
            const QImage old = spritePicture(base, s);
            const QImage sprite = spritePicture(doc_, s);
            QImage rebased = sheet;
            for (int cell = 0; cell < DeltaSheetCells; ++cell) {
                const QPoint origin = deltaCellOrigin(sprite.size(), cell);
                for (int y = 0; y < sprite.height(); ++y) {
                    uchar *row = writableLine(rebased, origin.y() + y) + origin.x();
                    const uchar *was = old.constScanLine(y);
                    const uchar *now = sprite.constScanLine(y);
                    for (int x = 0; x < sprite.width(); ++x)
                        if (row[x] == was[x])
                            row[x] = now[x];
                }
            }
            std::vector<QByteArray> deltas = encodeSheetDeltas(doc_, s, rebased);
            // The sheet shows the first twenty deltas; those past them stay.
            const std::optional<int> entry = findDeltaEntry(doc_, s);
            const int count = entry ? doc_.DeltaIndex[std::size_t(*entry)].delta_count : 0;
            for (int d = DeltaSheetCells; d < count; ++d)
                deltas.push_back(deltaBytes(doc_, s, d).toByteArray());
            replaceSpriteDeltas(doc_, s, deltas);
        } catch (const EditorError &error) {
            refuse(deltaSheetName(s), error.text());
        }
    }
}

void Packer::refuseUnknownFiles() const {
    for (const QString &name : folder_.names)
        if (!read_.contains(name) && name != CarsTextName && name != StyleSchemaName &&
            name != CompanionScriptName)
            refuse(name, QStringLiteral("a file the style folder does not hold; move it under extra/ if it "
                                        "is yours"));
}

QByteArray Packer::pack(bool keepUnknown, QByteArray *unknownChunks) {
    facts_ = readStyleJson(requiredFile(source_, StyleJsonName), doc_);
    readPaletteFiles(source_, facts_.paletteChecks, doc_);
    readTiles();
    doc_.DeltaStore = requiredFile(source_, DeltaStoreName);
    const StyleDocument unpacked = readSprites();
    readDeltaBytes(unpacked);
    readDeltaSheets(unpacked);

    QByteArray file;
    try {
        StyleDocument saved;
        SilentProgress progress;
        file = serializeStyle(doc_, saved, progress, log_);
    } catch (const WriteFailure &failure) {
        throw EditorError(failure.message());
    }
    for (const UnknownChunk &chunk : facts_.unknownChunks)
        read_.insert(chunk.file);
    refuseUnknownFiles();
    QByteArray chunks;
    for (const UnknownChunk &chunk : facts_.unknownChunks) {
        // Only --keep-unknown needs every one of them.
        const std::optional<QByteArray> found =
            keepUnknown || unknownChunks ? source_(chunk.file) : std::nullopt;
        if (!found && !keepUnknown)
            continue;
        const QByteArray payload = found ? *found : requiredFile(source_, chunk.file);
        chunks += chunk.tag;
        appendU32(chunks, quint32(payload.size()));
        chunks += payload;
    }
    if (unknownChunks)
        *unknownChunks = chunks;
    return keepUnknown ? file + chunks : file;
}

} // namespace

QByteArray packStyle(const FolderContents &folder, bool keepUnknown, Prompts &prompts, Log &log,
                     QByteArray *unknownChunks) {
    return Packer(folder, prompts, log).pack(keepUnknown, unknownChunks);
}
