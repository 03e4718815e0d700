#include "packstyle.h"

#include "colourmapping.h"
#include "deltasheet.h"
#include "deltaunit.h"
#include "editorerror.h"
#include "folderlayout.h"
#include "folderpalettes.h"
#include "folderpng.h"
#include "littleendian.h"
#include "palettelookup.h"
#include "progress.h"
#include "spriteentries.h"
#include "spritepicture.h"
#include "stylejson.h"
#include "stylewriter.h"
#include "tilenumbering.h"

#include <cstring>

namespace {

[[noreturn]] void refuse(const QString &name, const QString &why) {
    throw EditorError(QStringLiteral("%1: %2; nothing was written.").arg(name, why));
}

// How a graphic's PNG is read: its size, the palette that shows it now, and the digest of the
// colours it was unpacked with.
struct Graphic {
    QString name;
    QString what; // "tile 5"
    QSize size;
    QList<QRgb> colours;
    QString paletteName;
    QString unpackedCheck;
};

class Packer {
public:
    Packer(const FolderSource &source, Prompts &prompts, Log &log)
        : source_(source), prompts_(prompts), log_(log) {}

    QByteArray pack(bool keepUnknown);

private:
    Graphic graphic(const QString &name, const QString &what, QSize size, std::optional<int> palette) const;
    QImage pixels(const Graphic &g, const LoadedBitmap &bitmap) const;
    QImage pixels(const Graphic &g) const {
        return pixels(g, readIndexedPng(requiredFile(source_, g.name), g.name));
    }
    // Rows of a pixel store, shown by the grey ramp.
    static Graphic storeRows(const QString &name, const QString &what, int rows);
    void readTiles();
    // Returns the document as unpacked, before the sprite pictures are read.
    StyleDocument readSprites();
    void readDeltaBytes(const StyleDocument &unpacked);
    void readDeltaSheets(const StyleDocument &unpacked);

    const FolderSource &source_;
    Prompts &prompts_;
    Log &log_;
    StyleDocument doc_;
    FolderFacts facts_;
};

Graphic Packer::graphic(const QString &name, const QString &what, QSize size,
                        std::optional<int> palette) const {
    const int p = palette.value_or(-1);
    Graphic g{name, what, size, ClutToPal(doc_, p), QStringLiteral("palette %1").arg(p), QString()};
    g.unpackedCheck = inRange(0, std::min<int>(doc_.PhysicalPaletteCount, facts_.paletteChecks.size()), p)
                          ? facts_.paletteChecks[p]
                          : paletteCheck(g.colours);
    return g;
}

QImage Packer::pixels(const Graphic &g, const LoadedBitmap &bitmap) const {
    if (bitmap.image.size() != g.size)
        refuse(g.name, QStringLiteral("the picture is %1*%2 pixels; %3 is %4*%5")
                           .arg(bitmap.image.width())
                           .arg(bitmap.image.height())
                           .arg(g.what)
                           .arg(g.size.width())
                           .arg(g.size.height()));
    // The palette it was unpacked with: the indexes are the graphic's own.
    if (bitmap.fileColours == 256 && paletteCheck(bitmap.image.colorTable()) == g.unpackedCheck)
        return bitmap.image;
    const std::optional<QImage> matched =
        matchColours(bitmap, g.name, ColourTarget{g.colours, g.paletteName, g.what}, prompts_, log_);
    if (!matched)
        refuse(g.name,
               QStringLiteral("its colours are not all in %1, which shows %2").arg(g.paletteName, g.what));
    return *matched;
}

// A pixel store over the grey ramp, 256 pixels wide.
Graphic Packer::storeRows(const QString &name, const QString &what, int rows) {
    const QList<QRgb> ramp = greyRamp();
    return {name, what, QSize(PageSide, rows), ramp, QStringLiteral("the grey ramp"), paletteCheck(ramp)};
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
    if (const std::optional<QByteArray> png = source_(SpritePagesName)) {
        const LoadedBitmap pages = readIndexedPng(*png, SpritePagesName);
        const int rows = pages.image.height();
        if (pages.image.width() != PageSide || rows > PixelStorePageCapacity * PageSide)
            refuse(SpritePagesName,
                   QStringLiteral("the picture is %1*%2 pixels; the sprite store is %3 pixels "
                                  "wide and at most %4 high")
                       .arg(pages.image.width())
                       .arg(rows)
                       .arg(PageSide)
                       .arg(PixelStorePageCapacity * PageSide));
        doc_.SpriteStore = makePixelStore(rows);
        const QImage store =
            pixels(storeRows(SpritePagesName, QStringLiteral("the sprite store"), rows), pages);
        for (int y = 0; y < rows; ++y)
            std::memcpy(doc_.SpriteStore.scanLine(y), store.constScanLine(y), PageSide);
    }
    const StyleDocument unpacked = doc_;
    for (int s = 0; s < doc_.spriteCount(); ++s) {
        const SpriteEntry &e = doc_.SpriteIndex[std::size_t(s)];
        if (e.w == 0 || e.h == 0)
            continue;
        const QImage sprite = pixels(graphic(spritePngName(s), QStringLiteral("sprite %1").arg(s),
                                             QSize(e.w, e.h), spritePhysicalPalette(doc_, s)));
        // Only a changed sprite is written, so an unchanged one cannot undo a change to another
        // sprite that overlaps it.
        const QImage before = spriteGlyph(unpacked, s);
        bool changed = false;
        for (int y = 0; y < e.h && !changed; ++y)
            changed = std::memcmp(before.constScanLine(y), sprite.constScanLine(y), e.w) != 0;
        if (!changed)
            continue;
        const int top = e.page() * PageSide + e.y();
        const int width = std::clamp(PageSide - e.x(), 0, int(e.w));
        for (int y = 0; y < e.h && top + y < doc_.SpriteStore.height(); ++y)
            std::memcpy(doc_.SpriteStore.scanLine(top + y) + e.x(), sprite.constScanLine(y),
                        std::size_t(width));
    }
    return unpacked;
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

void Packer::readDeltaSheets(const StyleDocument &unpacked) {
    for (int s = 0; s < unpacked.spriteCount() && s < unpacked.SpriteBases[SprCar]; ++s) {
        const std::optional<QByteArray> png = source_(deltaSheetName(s));
        if (!png)
            continue;
        QImage before;
        try {
            before = renderDeltaSheet(unpacked, s, DeltaView::Draw);
            checkedSprite(unpacked, s);
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
            std::vector<QByteArray> deltas = encodeSheetDeltas(spritePicture(doc_, s), sheet);
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

QByteArray Packer::pack(bool keepUnknown) {
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
    if (keepUnknown) {
        for (const UnknownChunk &chunk : facts_.unknownChunks) {
            const QByteArray payload = requiredFile(source_, chunk.file);
            file += chunk.tag;
            appendU32(file, quint32(payload.size()));
            file += payload;
        }
    }
    return file;
}

} // namespace

QByteArray packStyle(const FolderSource &source, bool keepUnknown, Prompts &prompts, Log &log) {
    return Packer(source, prompts, log).pack(keepUnknown);
}
