#include "style/stylereader.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "style/littleendian.h"
#include "style/surfacelists.h"

#include <QFileInfo>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// A file the reader will not take; its text tells the user which chunk broke which limit.
struct Refusal {
    QString text;
};

[[noreturn]] void refuse(const QString &tag, const QString &reason) {
    throw Refusal{QStringLiteral("chunk \"%1\" %2; the file was not opened.").arg(tag, reason)};
}

// One chunk's payload. `declared` is the size its header gives; `bytes`/`present` are what the
// file really holds of it, less when the chunk runs past the end of the file.
struct Payload {
    QString tag;
    const char *bytes;
    qsizetype present;
    quint32 declared;
};

// Copies the payload into `target` of `capacity` bytes; bytes the file lacks are zero.
void copyPayload(const Payload &p, char *target, qsizetype length) {
    const qsizetype n = std::min(p.present, length);
    std::memcpy(target, p.bytes, static_cast<std::size_t>(n));
    std::memset(target + n, 0, static_cast<std::size_t>(length - n));
}

QImage readPixelStore(const Payload &p) {
    if (p.declared % PageSide != 0)
        refuse(p.tag, QStringLiteral("has %1 bytes, which is not a whole number of %2-pixel rows")
                          .arg(p.declared)
                          .arg(PageSide));
    const quint32 rows = p.declared / PageSide;
    if (rows > static_cast<quint32>(PixelStorePageCapacity * PageSide))
        refuse(p.tag, QStringLiteral("has %1 rows, more than the %2 pages (%3 rows) a pixel store holds")
                          .arg(rows)
                          .arg(PixelStorePageCapacity)
                          .arg(PixelStorePageCapacity * PageSide));
    return makePixelStore(static_cast<int>(rows), QByteArrayView(p.bytes, p.present));
}

void readPhysicalPalettes(StyleDocument &doc, const Payload &p) {
    if (p.declared > static_cast<quint32>(PhysicalPalettesBytes))
        refuse(p.tag,
               QStringLiteral("has %1 bytes, more than the %2 bytes (%3 palettes) of the palette store")
                   .arg(p.declared)
                   .arg(PhysicalPalettesBytes)
                   .arg(PaletteStoreCapacity));
    doc.PhysicalPaletteCount = static_cast<int>(p.declared / PaletteBytes);
    // Palettes past the chunk keep what they held before.
    copyPayload(p, doc.PhysicalPalettes.data(), p.declared);
}

void readPaletteIndex(StyleDocument &doc, const Payload &p) {
    const quint32 count = p.declared / 2;
    if (count > static_cast<quint32>(PaletteIndexCapacity))
        refuse(p.tag, QStringLiteral("has %1 virtual palettes, more than the %2 the palette index holds")
                          .arg(count)
                          .arg(PaletteIndexCapacity));
    doc.PaletteIndex.resize(count);
    const qsizetype whole = std::min<qsizetype>(count, p.present / 2);
    for (qsizetype i = 0; i < whole; ++i)
        doc.PaletteIndex[static_cast<std::size_t>(i)] = readU16(p.bytes + 2 * i);
    for (qsizetype i = whole; i < count; ++i)
        doc.PaletteIndex[static_cast<std::size_t>(i)] = 0;
}

template <std::size_t N> void readWordTable(std::array<quint16, N> &table, const Payload &p) {
    if (p.declared > 2 * N)
        refuse(
            p.tag,
            QStringLiteral("has %1 bytes, more than the %2 bytes of its table").arg(p.declared).arg(2 * N));
    table.fill(0);
    for (qsizetype i = 0; i < static_cast<qsizetype>(N) && 2 * i + 1 < p.present; ++i)
        table[static_cast<std::size_t>(i)] = readU16(p.bytes + 2 * i);
}

void readRecycleList(StyleDocument &doc, const Payload &p) {
    if (p.present > RecycleListCapacity)
        refuse(p.tag, QStringLiteral("has %1 entries, more than the %2 the recycle list holds")
                          .arg(p.present)
                          .arg(RecycleListCapacity));
    doc.RecycleList.resize(static_cast<std::size_t>(p.present));
    for (qsizetype i = 0; i < p.present; ++i)
        doc.RecycleList[static_cast<std::size_t>(i)] = static_cast<quint8>(p.bytes[i]);
}

void readSurfaceLists(StyleDocument &doc, const Payload &p) {
    const qsizetype count = p.present / 2;
    if (count > SurfaceListsCapacity)
        refuse(p.tag, QStringLiteral("has %1 words, more than the %2 the surface lists hold")
                          .arg(count)
                          .arg(SurfaceListsCapacity));
    doc.SurfaceLists.resize(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        doc.SurfaceLists[static_cast<std::size_t>(i)] = readU16(p.bytes + 2 * i);
}

void readDeltaIndex(StyleDocument &doc, const Payload &p) {
    doc.DeltaIndex.clear();
    qsizetype at = 0;
    while (at < p.present) {
        if (doc.DeltaIndex.size() == DeltaIndexCapacity)
            refuse(
                p.tag,
                QStringLiteral("has more than the %1 entries the delta index holds").arg(DeltaIndexCapacity));
        const int number = doc.DeltaIndex.count();
        if (p.present - at < 4)
            refuse(p.tag, QStringLiteral("entry %1 runs past the end of the chunk").arg(number));
        DeltaIndexEntry entry;
        entry.sprite = readU16(p.bytes + at);
        entry.delta_count = static_cast<quint8>(p.bytes[at + 2]);
        entry.pad = static_cast<quint8>(p.bytes[at + 3]);
        at += 4;
        if (entry.delta_count > DeltasPerSprite)
            refuse(p.tag, QStringLiteral("entry %1 has %2 deltas, more than the %3 a sprite can have")
                              .arg(number)
                              .arg(entry.delta_count)
                              .arg(DeltasPerSprite));
        if (p.present - at < 2 * entry.delta_count)
            refuse(p.tag, QStringLiteral("entry %1 runs past the end of the chunk").arg(number));
        for (int d = 0; d < entry.delta_count; ++d, at += 2)
            entry.size[static_cast<std::size_t>(d)] = readU16(p.bytes + at);
        doc.DeltaIndex.append(entry);
    }
}

void readCarInfo(StyleDocument &doc, const Payload &p) {
    doc.CarInfoTable.clear();
    quint32 spriteSum = 0;
    qsizetype at = 0;
    while (at < p.present) {
        const int number = doc.CarInfoTable.count();
        if (number == CarInfoCapacity)
            refuse(p.tag,
                   QStringLiteral("has more than the %1 cars the car table holds").arg(CarInfoCapacity));
        const auto runsPast = [&] {
            refuse(p.tag, QStringLiteral("car %1 runs past the end of the chunk").arg(number));
        };
        if (p.present - at < CarFixedBytes)
            runsPast();
        const auto *f = reinterpret_cast<const uchar *>(p.bytes + at);
        CarInfoRecord car;
        car.model = f[0];
        car.sprite = f[1];
        car.w = f[2];
        car.h = f[3];
        car.num_remaps = f[4];
        car.passengers = f[5];
        car.wreck = f[6];
        car.rating = f[7];
        car.front_wheel_offset = static_cast<qint8>(f[8]);
        car.rear_wheel_offset = static_cast<qint8>(f[9]);
        car.front_window_offset = static_cast<qint8>(f[10]);
        car.rear_window_offset = static_cast<qint8>(f[11]);
        car.info_flags = f[12];
        car.info_flags_2 = f[13];
        at += CarFixedBytes;
        spriteSum += car.sprite;
        car.sprite_sum = spriteSum;
        if (p.present - at < car.num_remaps + 1)
            runsPast();
        std::memcpy(car.remap.data(), p.bytes + at, car.num_remaps);
        at += car.num_remaps;
        car.num_doors = static_cast<quint8>(p.bytes[at++]);
        if (p.present - at < 2 * car.num_doors)
            runsPast();
        for (int d = 0; d < car.num_doors; ++d, at += 2)
            car.doors[static_cast<std::size_t>(d)] = {static_cast<qint8>(p.bytes[at]),
                                                      static_cast<qint8>(p.bytes[at + 1])};
        doc.CarInfoTable.append(car);
    }
}

void readSpriteIndex(StyleDocument &doc, const Payload &p) {
    // Whole entries plus a partial last one when the size is not a multiple of 8.
    const quint32 entries = (p.declared + SpriteEntryBytes - 1) / SpriteEntryBytes;
    QByteArray raw(static_cast<qsizetype>(entries) * SpriteEntryBytes, '\0');
    copyPayload(p, raw.data(), p.declared);
    doc.SpriteIndex.resize(entries);
    for (quint32 i = 0; i < entries; ++i) {
        const char *e = raw.constData() + static_cast<qsizetype>(i) * SpriteEntryBytes;
        doc.SpriteIndex[i] = {readU32(e), static_cast<quint8>(e[4]), static_cast<quint8>(e[5]),
                              readU16(e + 6)};
    }
    doc.SpriteIndexSize = p.declared;
}

void checkSpriteIndexSize(const Payload &p) {
    if (p.declared > static_cast<quint32>(SpriteIndexCapacity * SpriteEntryBytes))
        refuse(p.tag,
               QStringLiteral("has %1 bytes, more than the %2 sprites (%3 bytes) the sprite index holds")
                   .arg(p.declared)
                   .arg(SpriteIndexCapacity)
                   .arg(SpriteIndexCapacity * SpriteEntryBytes));
}

void readChunk(StyleDocument &doc, const Payload &p, Progress &progress,
               std::optional<Payload> &spriteIndex) {
    const QString &tag = p.tag;
    if (tag == u"CARI")
        readCarInfo(doc, p);
    else if (tag == u"TILE")
        doc.TileStore = readPixelStore(p);
    else if (tag == u"SPRB")
        readWordTable(doc.SpriteBases, p);
    else if (tag == u"PALB")
        readWordTable(doc.PaletteCounts, p);
    else if (tag == u"PALX")
        readPaletteIndex(doc, p);
    else if (tag == u"SPRG")
        doc.SpriteStore = readPixelStore(p);
    else if (tag == u"RECY")
        readRecycleList(doc, p);
    else if (tag == u"OBJI")
        doc.ObjectInfo = QByteArray(p.bytes, p.present);
    else if (tag == u"DELX")
        readDeltaIndex(doc, p);
    else if (tag == u"DELS")
        doc.DeltaStore = QByteArray(p.bytes, p.present);
    else if (tag == u"SPEC")
        readSurfaceLists(doc, p);
    else if (tag == u"PPAL") {
        readPhysicalPalettes(doc, p);
        progress.setStatus(QStringLiteral(" processing: %1 ").arg(tag));
        progress.processEvents();
    } else if (tag == u"SPRX") {
        // The index is read after the loop, so its place among the chunks does not matter.
        checkSpriteIndexSize(p);
        spriteIndex = p;
    }
    // "FONB" is never stored: the writer always stores the fixed font table.
}

// The chunk headers that follow the file header, counted as the chunk loop walks them.
int countChunks(const QByteArray &bytes) {
    int count = 0;
    for (qsizetype at = FileHeaderSize; bytes.size() - at >= ChunkHeaderSize; ++count)
        at += ChunkHeaderSize +
              std::min<qsizetype>(readU32(bytes.constData() + at + 4), bytes.size() - at - ChunkHeaderSize);
    return count;
}

} // namespace

bool isKnownTag(const QString &tag) {
    static const QStringList known = {QStringLiteral("CARI"), QStringLiteral("TILE"), QStringLiteral("SPRB"),
                                      QStringLiteral("PALB"), QStringLiteral("PALX"), QStringLiteral("SPRG"),
                                      QStringLiteral("FONB"), QStringLiteral("RECY"), QStringLiteral("OBJI"),
                                      QStringLiteral("DELX"), QStringLiteral("DELS"), QStringLiteral("SPEC"),
                                      QStringLiteral("PPAL"), QStringLiteral("SPRX")};
    return known.contains(tag);
}

QList<UnknownChunkBytes> unknownChunkBytes(const QByteArray &file) {
    QList<UnknownChunkBytes> chunks;
    for (qint64 at = FileHeaderSize; at + ChunkHeaderSize <= file.size();) {
        const QByteArray tag = file.mid(at, 4);
        const qint64 size = readU32(file.constData() + at + 4);
        if (!isKnownTag(QString::fromLatin1(tag)))
            chunks.append({tag, file.mid(at + ChunkHeaderSize, size)});
        at += ChunkHeaderSize + size;
    }
    return chunks;
}

bool readStyle(StyleDocument &doc, const QByteArray &bytes, Prompts &prompts, Progress &progress, Log &log) {
    log.append(QStringLiteral("reading header..."));
    if (bytes.size() < FileHeaderSize || std::memcmp(bytes.constData(), StyleMagic, 4) != 0) {
        progress.setStatus(QStringLiteral(" error! "));
        progress.processEvents();
        prompts.message(NotAStyleFileMessage);
        return false;
    }
    log.append(QStringLiteral("version number (ignored if wrong) = %1").arg(readU16(bytes.constData() + 4)));

    StyleDocument next = doc;
    std::optional<Payload> spriteIndex;
    bool sawPalettes = false;
    const char *const data = bytes.constData();
    const qsizetype end = bytes.size();
    qsizetype at = FileHeaderSize;
    // The bar steps once per chunk.
    progress.setMaximum(countChunks(bytes));
    progress.setPosition(0);
    int chunksRead = 0;
    QSet<QString> seen;
    try {
        while (at < end) {
            if (end - at < ChunkHeaderSize) {
                log.warning(
                    QStringLiteral("%1 bytes at offset %2 are too short for a chunk header and were ignored")
                        .arg(end - at)
                        .arg(at));
                break;
            }
            const Payload p{QString::fromLatin1(data + at, 4), data + at + ChunkHeaderSize,
                            std::min<qsizetype>(readU32(data + at + 4), end - at - ChunkHeaderSize),
                            readU32(data + at + 4)};
            at += ChunkHeaderSize;
            log.append(QStringLiteral("found header: %1 size: %2").arg(p.tag).arg(p.declared));
            const bool truncated = p.present < static_cast<qsizetype>(p.declared);
            if (truncated)
                log.warning(QStringLiteral("chunk \"%1\" runs past the end of the file: %2 of %3 bytes read")
                                .arg(p.tag)
                                .arg(p.present)
                                .arg(p.declared));
            sawPalettes = sawPalettes || p.tag == u"PPAL";
            if (isKnownTag(p.tag) && seen.contains(p.tag))
                log.warning(QStringLiteral("chunk \"%1\" appears again at offset %2; this one replaces the "
                                           "earlier one")
                                .arg(p.tag)
                                .arg(at - ChunkHeaderSize));
            seen.insert(p.tag);
            if (isKnownTag(p.tag)) {
                progress.setStatus(QStringLiteral(" reading: %1 ").arg(p.tag));
                progress.processEvents();
                readChunk(next, p, progress, spriteIndex);
            }
            at += p.present;
            progress.setPosition(++chunksRead);
            if (truncated)
                break;
        }
        if (spriteIndex)
            readSpriteIndex(next, *spriteIndex);
        else {
            next.SpriteIndex.clear();
            next.SpriteIndexSize = 0;
        }
    } catch (const Refusal &refusal) {
        progress.setStatus(QStringLiteral(" error! "));
        progress.processEvents();
        prompts.message(refusal.text);
        return false;
    }
    if (next.PhysicalPaletteCount == 0)
        log.warning(NoPalettesMessage);
    else if (!sawPalettes)
        log.warning(
            QStringLiteral("The file has no \"PPAL\" chunk; the %1 palettes of the file opened before "
                           "stay.")
                .arg(next.PhysicalPaletteCount));
    log.append(QStringLiteral("done !"));

    next.SurfaceColumns = splitSurfaceLists(next.SurfaceLists);
    next.derivePaletteBases();
    doc = std::move(next);
    return true;
}

bool opensty(StyleDocument &doc, const QString &path, Prompts &prompts, Progress &progress, Log &log) {
    progress.setStatus(QStringLiteral(" init... "));
    progress.processEvents();
    log.clear();
    log.append(QStringLiteral("creating memory stream and loading file..."));
    try {
        const QByteArray bytes = readWholeFile(path);
        return readStyle(doc, bytes, prompts, progress, log);
    } catch (const std::bad_alloc &) {
        throw EditorError(notEnoughMemoryToOpenMessage(path));
    }
}

QString notEnoughMemoryToOpenMessage(const QString &path) {
    return QStringLiteral("There is not enough memory to open \"%1\".").arg(QFileInfo(path).fileName());
}
