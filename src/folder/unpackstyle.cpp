#include "folder/unpackstyle.h"

#include "cars/carrecords.h"
#include "cars/carscript.h"
#include "folder/folderlayout.h"
#include "folder/folderpalettes.h"
#include "folder/folderpng.h"
#include "folder/madefilecache.h"
#include "folder/stylejson.h"
#include "folder/stylejsonschema.h"
#include "graphics/deltasheet.h"
#include "graphics/deltaunit.h"
#include "graphics/spriteentries.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"
#include "style/littleendian.h"
#include "style/stylereader.h"

#include <QHash>
#include <unordered_map>

namespace {

// A file name for any four bytes: letters, digits, '-' and '_' as they are, others as %XX.
QString tagFileName(const QByteArray &tag) {
    QString name;
    for (const char ch : tag) {
        if ((uchar(ch) < 0x80 && QChar::fromLatin1(ch).isLetterOrNumber()) || ch == '-' || ch == '_')
            name += QLatin1Char(ch);
        else
            name += QStringLiteral("%%1").arg(uchar(ch), 2, 16, QLatin1Char('0')).toUpper();
    }
    return name;
}

// The chunks the reader skips, each saved as raw/TAG.bin (numbered when a tag comes again).
QList<UnknownChunk> unknownChunks(const QByteArray &file, const FileSink &files) {
    QList<UnknownChunk> chunks;
    QHash<QString, int> used;
    for (const UnknownChunkBytes &chunk : unknownChunkBytes(file)) {
        const QString base = QStringLiteral("raw/") + tagFileName(chunk.tag);
        const int n = used[base]++;
        const QString name =
            base + (n == 0 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".bin");
        files(name, chunk.payload);
        chunks.append({chunk.tag, name});
    }
    return chunks;
}

QByteArray carsText(const StyleDocument &doc) {
    QByteArray text = "Notes for people: pack reads the cars from style.json, never from this file.\n";
    for (int i = 0; i < doc.CarCount(); ++i) {
        const CarInfoRecord &car = doc.CarInfoTable[std::size_t(i)];
        text += QStringLiteral("\ncar %1: model %2, script name \"%3\", sprites %4 to %5\n")
                    .arg(i)
                    .arg(car.model)
                    .arg(scriptCarName(car.model))
                    .arg(qint64(car.sprite_sum) - car.sprite)
                    .arg(qint64(car.sprite_sum) - 1)
                    .toUtf8();
        for (int d = 0; d < car.num_doors; ++d) {
            const ShownDoor door = shownDoor(car.doors[std::size_t(d)]);
            text += QStringLiteral("  door %1: x %2, y %3%4\n")
                        .arg(d)
                        .arg(door.x)
                        .arg(door.y)
                        .arg(door.walkIn ? QStringLiteral(", walk-in") : QString())
                        .toUtf8();
        }
    }
    return text;
}

// The PNG of an 8-bit picture, handed over as a recipe keyed by the picture, so that a folder
// brought in step with the style encodes only the pictures that changed.
void indexedPng(const FileSink &files, const QString &name, const QImage &picture) {
    files(name, madeFromPicture(picture, QByteArrayLiteral("indexed PNG")),
          [picture, name] { return indexedPngBytes(picture, name); });
}

// The key of a car sprite's delta sheet: all the sheet is drawn from, the sprite's picture and the
// bytes of each of its deltas (those of `entry`, its first index entry, at `offset`), without
// drawing it.
MadeFrom deltaSheetKey(const StyleDocument &doc, int sprite, const DeltaIndexEntry &entry, qint64 offset) {
    QByteArray deltas = QByteArrayLiteral("indexed PNG of a delta sheet");
    for (int cell = 0; cell < DeltaSheetCells; ++cell) {
        const QByteArrayView bytes = deltaBytes(doc, entry, offset, cell);
        const qint64 size = bytes.size();
        deltas.append(reinterpret_cast<const char *>(&size), sizeof size).append(bytes);
    }
    return madeFromPicture(spriteGlyph(doc, sprite), deltas);
}

// Returns the pixel checks of the sprites, made from the same pictures as their files.
QStringList addGraphics(const StyleDocument &doc, const FileSink &files) {
    for (int t = 0; t < tileCount(doc.TileStore); ++t)
        indexedPng(files, tilePngName(t), tileBitmap(doc, t));
    const int wholeRows = tilePages(doc.TileStore) * PageSide;
    if (doc.TileStore.height() > wholeRows)
        indexedPng(files, TileRestName,
                   allocated(doc.TileStore.copy(0, wholeRows, PageSide, doc.TileStore.height() - wholeRows)));
    if (!doc.SpriteStore.isNull())
        indexedPng(files, SpritePagesName, doc.SpriteStore);
    QStringList checks;
    checks.reserve(doc.spriteCount());
    for (int s = 0; s < doc.spriteCount(); ++s) {
        const QImage glyph = spriteGlyph(doc, s);
        checks.append(pixelCheck(glyph));
        if (!glyph.isNull())
            indexedPng(files, spritePngName(s), glyph);
    }
    return checks;
}

void addDeltas(const StyleDocument &doc, const FileSink &files) {
    files(DeltaStoreName, doc.DeltaStore);
    // The first entry of each sprite, as the editor uses it, and where its bytes start.
    std::unordered_map<int, std::pair<int, qint64>> firstEntry;
    qint64 offset = 0;
    for (int i = 0; i < doc.DeltaIndexCount(); ++i) {
        const DeltaIndexEntry &entry = doc.DeltaIndex[std::size_t(i)];
        firstEntry.try_emplace(entry.sprite, i, offset);
        offset += deltaEntryBytes(entry);
    }
    for (int s = 0; s < doc.spriteCount(); ++s) {
        const auto found = firstEntry.find(s);
        if (found == firstEntry.end())
            continue;
        const DeltaIndexEntry &entry = doc.DeltaIndex[std::size_t(found->second.first)];
        if (entry.delta_count == 0)
            continue;
        files(deltaBytesName(s), doc.DeltaStore.mid(found->second.second, deltaEntryBytes(entry)));
        if (isCarSprite(doc, s) && spriteOnItsPage(doc, doc.SpriteIndex[std::size_t(s)]))
            files(deltaSheetName(s), deltaSheetKey(doc, s, entry, found->second.second), [&doc, s] {
                return indexedPngBytes(renderDeltaSheet(doc, s, DeltaView::Draw), deltaSheetName(s));
            });
    }
}

} // namespace

void unpackStyle(const StyleDocument &doc, const QByteArray &file,
                 const std::optional<QByteArray> &companionScript, const FileSink &files) {
    FolderFacts facts;
    facts.unknownChunks = unknownChunks(file, files);
    files(GitAttributesName, QByteArray("*.png binary\n*.bin binary\n*.pal -text\n*.json -text\n"));
    files(StyleSchemaName, styleJsonSchema());
    files(CarsTextName, carsText(doc));
    // The pictures go first: their keys are quickly made, so that a taker which only checks the
    // files on disk has work while style.json and its pixel checks are made.
    facts.spriteChecks = addGraphics(doc, files);
    addPaletteFiles(doc, files);
    addDeltas(doc, files);
    facts.version = file.size() >= FileHeaderSize ? readU16(file.constData() + 4) : StyleVersion;
    facts.tileRows = doc.TileStore.height();
    facts.spriteRows = doc.SpriteStore.height();
    facts.spritePagesCheck = pixelCheck(doc.SpriteStore);
    facts.paletteChecks = paletteChecks(doc);
    files(StyleJsonName, styleJson(doc, facts));
    if (companionScript)
        files(CompanionScriptName, *companionScript);
}

FolderFiles unpackStyle(const StyleDocument &doc, const QByteArray &file,
                        const std::optional<QByteArray> &companionScript) {
    FolderFiles files;
    unpackStyle(doc, file, companionScript,
                [&files](const QString &name, const QByteArray &bytes) { files.emplace_back(name, bytes); });
    return files;
}
