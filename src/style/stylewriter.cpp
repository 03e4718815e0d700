#include "style/stylewriter.h"

#include "platform/editorerror.h"
#include "platform/fileio.h"
#include "platform/log.h"
#include "platform/progress.h"
#include "platform/prompts.h"
#include "style/littleendian.h"
#include "style/recyclelist.h"
#include "style/surfacelists.h"

namespace {

constexpr int ChunkCount = 14;

const QString ShortOfMemory = QStringLiteral("A shortage of memory");

class ChunkWriter {
public:
    ChunkWriter(QByteArray &out, Progress &progress, Log &log) : out_(out), progress_(progress), log_(log) {}

    // Writes one chunk; `payload` appends its bytes. Any error inside names this chunk.
    template <typename Fn> void chunk(const char *tag, Fn payload) {
        tag_ = QString::fromLatin1(tag, 4);
        progress_.setStatus(QStringLiteral(" saving: %1 ").arg(tag_));
        progress_.processEvents();
        try {
            out_.append(tag, 4);
            const qsizetype sizeAt = out_.size();
            appendU32(out_, 0);
            payload(out_);
            const qsizetype size = out_.size() - sizeAt - 4;
            if (size > static_cast<qsizetype>(UINT32_MAX))
                throw EditorError(QStringLiteral("chunk is larger than 4 GiB"));
            storeU32(out_.data() + sizeAt, static_cast<quint32>(size));
            progress_.setPosition(++written_);
            progress_.processEvents();
            log_.append(QStringLiteral("saved chunk \"%1\" offset: %2 size: %3")
                            .arg(tag_)
                            .arg(out_.size())
                            .arg(size));
        } catch (const EditorError &error) {
            throw WriteFailure{error.text(), tag_};
        } catch (const std::bad_alloc &) {
            throw WriteFailure{ShortOfMemory, tag_};
        }
    }

private:
    QByteArray &out_;
    Progress &progress_;
    Log &log_;
    QString tag_;
    int written_ = 0;
};

// A store is whole when it is empty or whole pages of 8-bit rows; anything else (a picture that
// could not be made, say) would save a file without its graphics.
void appendStore(QByteArray &out, const QImage &store) {
    if (!store.isNull() && (store.format() != QImage::Format_Indexed8 || store.width() != PageSide ||
                            store.height() % PageSide != 0))
        throw EditorError(QStringLiteral("the pixel store is not whole (%1*%2 pixels)")
                              .arg(store.width())
                              .arg(store.height()));
    for (int y = 0; y < store.height(); ++y)
        out.append(reinterpret_cast<const char *>(store.constScanLine(y)), store.width());
}

void appendSpriteIndex(QByteArray &out, const StyleDocument &doc) {
    QByteArray raw;
    raw.reserve(doc.SpriteIndex.count() * SpriteEntryBytes);
    for (const SpriteEntry &e : doc.SpriteIndex) {
        appendU32(raw, e.ptr);
        appendU8(raw, e.w);
        appendU8(raw, e.h);
        appendU16(raw, e.pad);
    }
    if (static_cast<quint32>(raw.size()) < doc.SpriteIndexSize)
        throw EditorError(QStringLiteral("the sprite index size %1 is larger than its %2 entries")
                              .arg(doc.SpriteIndexSize)
                              .arg(doc.SpriteIndex.count()));
    out.append(raw.constData(), doc.SpriteIndexSize);
}

void appendCar(QByteArray &out, const CarInfoRecord &car) {
    const quint8 fixed[CarFixedBytes] = {car.model,
                                         car.sprite,
                                         car.w,
                                         car.h,
                                         car.num_remaps,
                                         car.passengers,
                                         car.wreck,
                                         car.rating,
                                         static_cast<quint8>(car.front_wheel_offset),
                                         static_cast<quint8>(car.rear_wheel_offset),
                                         static_cast<quint8>(car.front_window_offset),
                                         static_cast<quint8>(car.rear_window_offset),
                                         car.info_flags,
                                         car.info_flags_2};
    out.append(reinterpret_cast<const char *>(fixed), CarFixedBytes);
    out.append(reinterpret_cast<const char *>(car.remap.data()), car.num_remaps);
    appendU8(out, car.num_doors);
    for (int d = 0; d < car.num_doors; ++d) {
        appendU8(out, static_cast<quint8>(car.doors[static_cast<std::size_t>(d)].rx));
        appendU8(out, static_cast<quint8>(car.doors[static_cast<std::size_t>(d)].ry));
    }
}

qsizetype expectedSize(const StyleDocument &doc) {
    return FileHeaderSize + ChunkCount * ChunkHeaderSize + qsizetype(doc.TileStore.height()) * PageSide +
           qsizetype(doc.SpriteStore.height()) * PageSide +
           qsizetype(doc.PhysicalPaletteCount) * PaletteBytes + doc.DeltaStore.size() +
           doc.ObjectInfo.size() + qsizetype(doc.DeltaIndex.count()) * 70 +
           qsizetype(doc.CarInfoTable.count()) * 64 + 2 * qsizetype(doc.PaletteIndex.count()) +
           doc.SpriteIndexSize + 2 * qsizetype(doc.SurfaceLists.count()) + 512;
}

} // namespace

QByteArray serializeStyle(const StyleDocument &doc, StyleDocument &saved, Progress &progress, Log &log) {
    saved = doc;
    progress.setStatus(QStringLiteral(" init... "));
    progress.processEvents();
    progress.setMaximum(ChunkCount);
    progress.setPosition(0);
    log.clear();
    log.append(QStringLiteral("creating memory stream..."));

    QByteArray out;
    out.reserve(expectedSize(doc));
    out.append(StyleMagic, 4);
    appendU16(out, StyleVersion);

    ChunkWriter w(out, progress, log);
    w.chunk("TILE", [&](QByteArray &o) { appendStore(o, doc.TileStore); });
    w.chunk("PPAL", [&](QByteArray &o) {
        if (doc.PhysicalPaletteCount < 0 || doc.PhysicalPaletteCount > PaletteStoreCapacity)
            throw EditorError(QStringLiteral("%1 physical palettes do not fit the store of %2")
                                  .arg(doc.PhysicalPaletteCount)
                                  .arg(PaletteStoreCapacity));
        o.append(doc.PhysicalPalettes.constData(), qsizetype(doc.PhysicalPaletteCount) * PaletteBytes);
    });
    w.chunk("SPRB", [&](QByteArray &o) {
        for (const quint16 v : doc.SpriteBases)
            appendU16(o, v);
    });
    w.chunk("FONB", [&](QByteArray &o) {
        for (const quint16 v : FontBaseTable)
            appendU16(o, v);
    });
    w.chunk("DELX", [&](QByteArray &o) {
        for (const DeltaIndexEntry &e : doc.DeltaIndex) {
            appendU16(o, e.sprite);
            appendU8(o, e.delta_count);
            appendU8(o, e.pad);
            if (e.delta_count > DeltasPerSprite)
                throw EditorError(QStringLiteral("sprite %1 has %2 deltas, more than %3")
                                      .arg(e.sprite)
                                      .arg(e.delta_count)
                                      .arg(DeltasPerSprite));
            for (int d = 0; d < e.delta_count; ++d)
                appendU16(o, e.size[static_cast<std::size_t>(d)]);
        }
    });
    w.chunk("DELS", [&](QByteArray &o) { o.append(doc.DeltaStore); });
    w.chunk("PALX", [&](QByteArray &o) {
        for (const quint16 v : doc.PaletteIndex)
            appendU16(o, v);
    });
    w.chunk("OBJI", [&](QByteArray &o) { o.append(doc.ObjectInfo); });
    w.chunk("RECY", [&](QByteArray &o) {
        sortRecycleList(saved.RecycleList);
        o.append(reinterpret_cast<const char *>(saved.RecycleList.data()), saved.RecycleList.count());
    });
    w.chunk("SPRG", [&](QByteArray &o) { appendStore(o, doc.SpriteStore); });
    w.chunk("SPRX", [&](QByteArray &o) { appendSpriteIndex(o, doc); });
    w.chunk("PALB", [&](QByteArray &o) {
        for (const quint16 v : doc.PaletteCounts)
            appendU16(o, v);
    });
    w.chunk("CARI", [&](QByteArray &o) {
        for (const CarInfoRecord &car : doc.CarInfoTable)
            appendCar(o, car);
    });
    w.chunk("SPEC", [&](QByteArray &o) {
        saved.SurfaceLists = rebuildSurfaceLists(doc.SurfaceColumns);
        for (const quint16 v : saved.SurfaceLists)
            appendU16(o, v);
    });
    progress.setStatus(QStringLiteral(" saved "));
    progress.processEvents();
    return out;
}

namespace {

// The tag of the chunk that holds byte `offset` of a style file; the last chunk's for an offset
// past them all.
QString chunkTagAt(const QByteArray &file, qint64 offset) {
    QString tag = QStringLiteral("SPEC");
    for (qint64 at = FileHeaderSize; at + ChunkHeaderSize <= file.size();) {
        tag = QString::fromLatin1(file.constData() + at, 4);
        at += ChunkHeaderSize + readU32(file.constData() + at + 4);
        if (offset < at)
            break;
    }
    return tag;
}

} // namespace

void writeStyleFile(const QString &path, const QByteArray &file) {
    try {
        writeWholeFileAtomic(path, file);
    } catch (const FileWriteError &error) {
        throw WriteFailure{error.text(),
                           error.written() < 0 ? QStringLiteral("SPEC") : chunkTagAt(file, error.written())};
    }
}

QString writeStyle(StyleDocument &doc, const QString &fileName, Prompts &prompts, Progress &progress,
                   Log &log) {
    // A name that already ends in ".sty", in any case, is the file the game reads: kept as it is.
    const QString target = fileName.endsWith(QStringLiteral(".sty"), Qt::CaseInsensitive)
                               ? fileName
                               : withExtension(fileName, QStringLiteral(".sty"));
    try {
        StyleDocument saved;
        const QByteArray bytes = serializeStyle(doc, saved, progress, log);
        writeStyleFile(target, bytes);
        log.append(QStringLiteral("file saved to \"%1\" size: %2 Bytes").arg(target).arg(bytes.size()));
        log.append(QStringLiteral("memorystream freed."));
        doc = std::move(saved);
    } catch (const WriteFailure &failure) {
        progress.setPosition(0);
        prompts.message(failure.message());
        return QString();
    } catch (const std::bad_alloc &) {
        // Outside the chunks: the header, or the copy the file is written from.
        progress.setPosition(0);
        prompts.message(ShortOfMemory + QStringLiteral(" had occured while writing: SPEC"));
        return QString();
    }
    progress.setPosition(0);
    return target;
}

QString saveStyleAs(StyleDocument &doc, QString &defaultName, Prompts &prompts, Progress &progress,
                    Log &log) {
    const std::optional<QString> chosen =
        prompts.saveFileName(FileKind::StyleFile, StyleFileFilter, defaultName);
    if (!chosen)
        return QString();
    defaultName = *chosen;
    return writeStyle(doc, *chosen, prompts, progress, log);
}
