#include "folder/stylediff.h"

#include "folder/folderlayout.h"
#include "graphics/spriteentries.h"
#include "graphics/tilenumbering.h"
#include "graphics/tileoperations.h"
#include "platform/editorerror.h"
#include "platform/imagememory.h"
#include "style/filerecords.h"
#include "style/littleendian.h"
#include "style/stylereader.h"
#include "style/surfacelists.h"

#include <QPainter>
#include <QtEndian>
#include <concepts>
#include <cstring>
#include <map>
#include <set>

namespace {

// Space around and between the pictures of a diff picture.
constexpr int PictureGap = 4;
const QRgb PictureBackground = qRgb(64, 64, 64);

QString valueText(const QString &text) {
    return text;
}
template <std::integral T> QString valueText(T value) {
    return QString::number(qint64(value));
}

// The lines of a diff, each counted against the chunk whose bytes it explains, so that a chunk
// whose bytes differ without a line of its own is still reported.
class Lines {
public:
    explicit Lines(QStringList &lines) : lines_(lines) {}
    void chunk(const char *tag) { tag_ = QByteArray(tag); }
    template <typename T> void change(const QString &what, const T &before, const T &after) {
        if (before != after)
            add(QStringLiteral("%1: %2 -> %3").arg(what, valueText(before), valueText(after)));
    }
    void add(const QString &line) {
        lines_ << line;
        explained_.insert(tag_);
    }
    bool explained(const QByteArray &tag) const { return explained_.contains(tag); }

private:
    QStringList &lines_;
    QByteArray tag_;
    std::set<QByteArray> explained_;
};

// A chunk as the reader walks it: its tag, the size its header gives and the bytes the file holds.
struct RawChunk {
    QByteArray tag;
    quint32 declared;
    QByteArray payload;
};

struct RawFile {
    quint16 version = 0;
    std::vector<RawChunk> chunks;
    // Bytes after the last chunk too few for a chunk header.
    QByteArray tail;
};

RawFile rawFile(const QByteArray &file) {
    RawFile raw;
    raw.version = readU16(file.constData() + 4);
    qsizetype at = FileHeaderSize;
    while (file.size() - at >= ChunkHeaderSize) {
        const quint32 declared = readU32(file.constData() + at + 4);
        const qsizetype present = std::min<qsizetype>(declared, file.size() - at - ChunkHeaderSize);
        raw.chunks.push_back({file.mid(at, 4), declared, file.mid(at + ChunkHeaderSize, present)});
        at += ChunkHeaderSize + present;
    }
    raw.tail = file.mid(at);
    return raw;
}

// A chunk tag as text; bytes that are not printable ASCII are written as \xNN so a damaged tag
// cannot break the one-line-per-difference output.
QString tagText(const QByteArray &tag) {
    QString text;
    for (const char c : tag)
        text += c >= 0x20 && c < 0x7f ? QString(QLatin1Char(c))
                                      : QStringLiteral("\\x%1").arg(quint8(c), 2, 16, QLatin1Char('0'));
    return text;
}

QString tagList(const RawFile &raw) {
    QStringList tags;
    for (const RawChunk &chunk : raw.chunks)
        tags << tagText(chunk.tag);
    return tags.join(QLatin1Char(' '));
}

qsizetype firstDifference(const QByteArray &a, const QByteArray &b) {
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i)
        if (a[i] != b[i])
            return i;
    return common;
}

bool sameRect(const QImage &a, const QImage &b, const QRect &rect) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        if (std::memcmp(a.constScanLine(y) + rect.left(), b.constScanLine(y) + rect.left(),
                        std::size_t(rect.width())) != 0)
            return false;
    return true;
}

void diffTiles(const StyleDocument &a, const StyleDocument &b, StyleDiff &diff, Lines &lines) {
    lines.chunk("TILE");
    const int countA = tileCount(a.TileStore);
    const int countB = tileCount(b.TileStore);
    lines.change(QStringLiteral("tiles"), countA, countB);
    for (int t = 0; t < std::min(countA, countB); ++t) {
        if (sameRect(a.TileStore, b.TileStore, QRect(tileOrigin(t), QSize(TileSide, TileSide))))
            continue;
        lines.add(QStringLiteral("tile %1: pixels differ").arg(t));
        diff.changedTiles.push_back(t);
    }
}

// The sprite's pixels as stored, or a null image when it does not lie on its page.
QImage storedPixels(const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = doc.SpriteIndex[std::size_t(sprite)];
    if (!spriteOnItsPage(doc, entry))
        return QImage();
    return allocated(doc.SpriteStore.copy(entry.x(), entry.page() * PageSide + entry.y(), entry.w, entry.h));
}

// Sprite store pixels the sprite comparison does not see: those outside every sprite that lies on
// its page at the same place in both files.
void diffUncoveredPixels(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    const int pages = std::min(a.spritePageCount(), b.spritePageCount());
    if (pages == 0)
        return;
    std::vector<bool> covered(std::size_t(pages) * PageBytes);
    for (int s = 0; s < std::min(a.SpriteIndex.count(), b.SpriteIndex.count()); ++s) {
        const SpriteEntry &ea = a.SpriteIndex[std::size_t(s)];
        const SpriteEntry &eb = b.SpriteIndex[std::size_t(s)];
        if (s >= std::min(a.spriteCount(), b.spriteCount()) || ea.page() != eb.page() || ea.x() != eb.x() ||
            ea.y() != eb.y() || ea.w != eb.w || ea.h != eb.h || !spriteOnItsPage(a, ea) ||
            !spriteOnItsPage(b, eb))
            continue;
        for (int y = 0; y < ea.h; ++y) {
            const std::size_t row = std::size_t(ea.page()) * PageBytes + std::size_t(ea.y() + y) * PageSide;
            std::fill_n(covered.begin() + qsizetype(row) + ea.x(), ea.w, true);
        }
    }
    for (int page = 0; page < pages; ++page) {
        int count = 0;
        QPoint first;
        for (int y = 0; y < PageSide; ++y) {
            const uchar *rowA = a.SpriteStore.constScanLine(page * PageSide + y);
            const uchar *rowB = b.SpriteStore.constScanLine(page * PageSide + y);
            for (int x = 0; x < PageSide; ++x)
                if (rowA[x] != rowB[x] &&
                    !covered[std::size_t(page) * PageBytes + std::size_t(y) * PageSide + std::size_t(x)]) {
                    if (count++ == 0)
                        first = QPoint(x, y);
                }
        }
        if (count > 0)
            lines.add(
                QStringLiteral("sprite page %1: %2 no sprite covers differ%3, the first at x %4, y %5")
                    .arg(page)
                    .arg(count == 1 ? QStringLiteral("1 pixel") : QStringLiteral("%1 pixels").arg(count))
                    .arg(count == 1 ? QStringLiteral("s") : QString())
                    .arg(first.x())
                    .arg(first.y()));
    }
}

void diffSprites(const StyleDocument &a, const StyleDocument &b, StyleDiff &diff, Lines &lines) {
    lines.chunk("SPRB");
    for (int k = 0; k < SpriteKindCount; ++k)
        lines.change(QStringLiteral("sprite count %1").arg(SpriteKindNames[k]), a.SpriteBases[k],
                     b.SpriteBases[k]);
    lines.chunk("SPRX");
    const int countA = std::min(a.spriteCount(), a.SpriteIndex.count());
    const int countB = std::min(b.spriteCount(), b.SpriteIndex.count());
    lines.change(QStringLiteral("sprites"), countA, countB);
    if (countA == countB)
        lines.change(QStringLiteral("sprite index bytes"), a.SpriteIndexSize, b.SpriteIndexSize);
    // A last entry cut short is compared too: the bytes it lacks read as 0 in both.
    for (int s = 0; s < std::min(a.SpriteIndex.count(), b.SpriteIndex.count()); ++s) {
        const SpriteEntry &ea = a.SpriteIndex[std::size_t(s)];
        const SpriteEntry &eb = b.SpriteIndex[std::size_t(s)];
        const QString name = QStringLiteral("sprite %1 ").arg(s);
        lines.change(name + QStringLiteral("page"), ea.page(), eb.page());
        lines.change(name + QStringLiteral("x"), ea.x(), eb.x());
        lines.change(name + QStringLiteral("y"), ea.y(), eb.y());
        lines.change(name + QStringLiteral("w"), ea.w, eb.w);
        lines.change(name + QStringLiteral("h"), ea.h, eb.h);
        lines.change(name + QStringLiteral("ptr byte 3"), ea.ptr >> 24, eb.ptr >> 24);
        lines.change(name + QStringLiteral("pad"), ea.pad, eb.pad);
    }
    lines.chunk("SPRG");
    lines.change(QStringLiteral("sprite pages"), a.spritePageCount(), b.spritePageCount());
    for (int s = 0; s < std::min(countA, countB); ++s) {
        const QImage pa = storedPixels(a, s);
        const QImage pb = storedPixels(b, s);
        if (pa.size() != pb.size() || (!pa.isNull() && !sameRect(pa, pb, pa.rect()))) {
            lines.add(QStringLiteral("sprite %1 pixels differ").arg(s));
            diff.changedSprites.push_back(s);
        }
    }
    diffUncoveredPixels(a, b, lines);
}

QString colourText(const char *entry) {
    return QStringLiteral("#%1%2%3")
        .arg(quint8(entry[2]), 2, 16, QLatin1Char('0'))
        .arg(quint8(entry[1]), 2, 16, QLatin1Char('0'))
        .arg(quint8(entry[0]), 2, 16, QLatin1Char('0'));
}

// How many differing colours a palette's line names before it only counts the rest.
constexpr int NamedColours = 8;

void diffPalettes(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.chunk("PPAL");
    lines.change(QStringLiteral("physical palettes"), a.PhysicalPaletteCount, b.PhysicalPaletteCount);
    // The whole store: a file holds the last page of 64 palettes up to its size, palettes past the
    // count included, and the reader leaves the rest 0.
    const int counted = std::min(a.PhysicalPaletteCount, b.PhysicalPaletteCount);
    for (int p = 0; p < PaletteStoreCapacity; ++p) {
        QStringList named;
        int differing = 0;
        for (int c = 0; c < 256; ++c) {
            const char *ca = a.PhysicalPalettes.constData() + physicalColourOffset(p, c);
            const char *cb = b.PhysicalPalettes.constData() + physicalColourOffset(p, c);
            if (std::memcmp(ca, cb, 4) == 0)
                continue;
            if (++differing > NamedColours)
                continue;
            // The fourth byte is no colour; it is named only where it is what differs.
            const bool padDiffers = ca[3] != cb[3];
            const auto text = [&](const char *entry) {
                return padDiffers ? colourText(entry) + QStringLiteral(" (pad %1)").arg(quint8(entry[3]))
                                  : colourText(entry);
            };
            named << QStringLiteral("%1 %2 -> %3").arg(c).arg(text(ca), text(cb));
        }
        if (differing == 0)
            continue;
        QString line = QStringLiteral("palette %1%2: %3 colour%4 differ%5: %6")
                           .arg(p)
                           .arg(p >= counted ? QStringLiteral(" (past the count)") : QString())
                           .arg(differing)
                           .arg(differing == 1 ? QString() : QStringLiteral("s"))
                           .arg(differing == 1 ? QStringLiteral("s") : QString())
                           .arg(named.join(QStringLiteral(", ")));
        if (differing > NamedColours)
            line += QStringLiteral(", and %1 more").arg(differing - NamedColours);
        lines.add(line);
    }
    lines.chunk("PALX");
    lines.change(QStringLiteral("virtual palettes"), a.PaletteIndexCount(), b.PaletteIndexCount());
    for (int v = 0; v < std::min(a.PaletteIndexCount(), b.PaletteIndexCount()); ++v)
        lines.change(QStringLiteral("virtual palette %1").arg(v), a.PaletteIndex[std::size_t(v)],
                     b.PaletteIndex[std::size_t(v)]);
    lines.chunk("PALB");
    for (int k = 0; k < PaletteKindCount; ++k)
        lines.change(QStringLiteral("palette count %1").arg(PaletteKindNames[k]), a.PaletteCounts[k],
                     b.PaletteCounts[k]);
}

QString remapText(const CarInfoRecord &car) {
    QStringList values;
    for (int r = 0; r < car.num_remaps; ++r)
        values << QString::number(car.remap[std::size_t(r)]);
    return QLatin1Char('[') + values.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString doorsText(const CarInfoRecord &car) {
    QStringList values;
    for (int d = 0; d < car.num_doors; ++d)
        values
            << QStringLiteral("[%1, %2]").arg(car.doors[std::size_t(d)].rx).arg(car.doors[std::size_t(d)].ry);
    return QLatin1Char('[') + values.join(QStringLiteral(", ")) + QLatin1Char(']');
}

void diffCars(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.chunk("CARI");
    lines.change(QStringLiteral("cars"), a.CarCount(), b.CarCount());
    for (int c = 0; c < std::min(a.CarCount(), b.CarCount()); ++c) {
        const CarInfoRecord &ca = a.CarInfoTable[std::size_t(c)];
        const CarInfoRecord &cb = b.CarInfoTable[std::size_t(c)];
        const QString name = QStringLiteral("car %1 ").arg(c);
        lines.change(name + QStringLiteral("model"), ca.model, cb.model);
        lines.change(name + QStringLiteral("sprite"), ca.sprite, cb.sprite);
        lines.change(name + QStringLiteral("w"), ca.w, cb.w);
        lines.change(name + QStringLiteral("h"), ca.h, cb.h);
        lines.change(name + QStringLiteral("passengers"), ca.passengers, cb.passengers);
        lines.change(name + QStringLiteral("wreck"), ca.wreck, cb.wreck);
        lines.change(name + QStringLiteral("rating"), ca.rating, cb.rating);
        lines.change(name + QStringLiteral("front_wheel_offset"), ca.front_wheel_offset,
                     cb.front_wheel_offset);
        lines.change(name + QStringLiteral("rear_wheel_offset"), ca.rear_wheel_offset, cb.rear_wheel_offset);
        lines.change(name + QStringLiteral("front_window_offset"), ca.front_window_offset,
                     cb.front_window_offset);
        lines.change(name + QStringLiteral("rear_window_offset"), ca.rear_window_offset,
                     cb.rear_window_offset);
        lines.change(name + QStringLiteral("info_flags"), ca.info_flags, cb.info_flags);
        lines.change(name + QStringLiteral("info_flags_2"), ca.info_flags_2, cb.info_flags_2);
        lines.change(name + QStringLiteral("remap"), remapText(ca), remapText(cb));
        lines.change(name + QStringLiteral("doors"), doorsText(ca), doorsText(cb));
    }
    const auto recycled = [](const StyleDocument &doc) {
        QStringList models;
        for (const quint8 model : doc.RecycleList)
            models << QString::number(model);
        return QLatin1Char('[') + models.join(QStringLiteral(", ")) + QLatin1Char(']');
    };
    lines.chunk("RECY");
    lines.change(QStringLiteral("recycle list"), recycled(a), recycled(b));
}

void diffSurfaces(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.chunk("SPEC");
    const auto listsA = splitSurfaceLists(a.SurfaceLists);
    const auto listsB = splitSurfaceLists(b.SurfaceLists);
    for (std::size_t k = 0; k < SurfaceListCount; ++k)
        lines.change(QStringLiteral("surface list \"%1\"").arg(SurfaceLabels[k]),
                     QLatin1Char('[') + listsA[k].join(QStringLiteral(", ")) + QLatin1Char(']'),
                     QLatin1Char('[') + listsB[k].join(QStringLiteral(", ")) + QLatin1Char(']'));
}

// Every sprite's deltas as the editor finds them: the bytes of each delta of its first entry.
// One pass over the index: a lookup per delta would take a time square in the entries.
std::map<int, std::vector<QByteArray>> deltasBySprite(const StyleDocument &doc) {
    std::map<int, std::vector<QByteArray>> deltas;
    qint64 offset = 0;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        std::vector<QByteArray> *list = deltas.contains(entry.sprite) ? nullptr : &deltas[entry.sprite];
        for (int d = 0; d < entry.delta_count; ++d) {
            const qint64 size = entry.size[std::size_t(d)];
            if (list)
                list->push_back(offset < doc.DeltaStoreSize() ? doc.DeltaStore.mid(offset, size)
                                                              : QByteArray());
            offset += size;
        }
    }
    return deltas;
}

QString wordsText(const auto &words, int count) {
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << QString::number(words[std::size_t(i)]);
    return QLatin1Char('[') + values.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// Marks the delta store bytes the editor shows: those of the deltas of each sprite's first entry.
std::vector<bool> shownDeltaBytes(const StyleDocument &doc) {
    std::vector<bool> shown(std::size_t(doc.DeltaStoreSize()));
    std::set<int> seen;
    qint64 offset = 0;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        const bool first = seen.insert(entry.sprite).second;
        for (int d = 0; d < entry.delta_count; ++d) {
            const qint64 size = entry.size[std::size_t(d)];
            for (qint64 at = offset; first && at < std::min<qint64>(offset + size, doc.DeltaStoreSize());
                 ++at)
                shown[std::size_t(at)] = true;
            offset += size;
        }
    }
    return shown;
}

void diffDeltas(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.chunk("DELX");
    lines.change(QStringLiteral("delta entries"), a.DeltaIndexCount(), b.DeltaIndexCount());
    for (int e = 0; e < std::min(a.DeltaIndexCount(), b.DeltaIndexCount()); ++e) {
        const DeltaIndexEntry &ea = a.DeltaIndex[std::size_t(e)];
        const DeltaIndexEntry &eb = b.DeltaIndex[std::size_t(e)];
        const QString name = QStringLiteral("delta entry %1 ").arg(e);
        lines.change(name + QStringLiteral("sprite"), ea.sprite, eb.sprite);
        lines.change(name + QStringLiteral("delta sizes"), wordsText(ea.size, ea.delta_count),
                     wordsText(eb.size, eb.delta_count));
        lines.change(name + QStringLiteral("pad"), ea.pad, eb.pad);
    }
    lines.chunk("DELS");
    lines.change(QStringLiteral("delta store bytes"), a.DeltaStoreSize(), b.DeltaStoreSize());
    const auto deltasA = deltasBySprite(a);
    const auto deltasB = deltasBySprite(b);
    std::map<int, std::pair<const std::vector<QByteArray> *, const std::vector<QByteArray> *>> sprites;
    for (const auto &[sprite, list] : deltasA)
        sprites[sprite].first = &list;
    for (const auto &[sprite, list] : deltasB)
        sprites[sprite].second = &list;
    for (const auto &[sprite, pair] : sprites) {
        if (!pair.first || !pair.second)
            continue;
        for (std::size_t d = 0; d < std::min(pair.first->size(), pair.second->size()); ++d)
            if ((*pair.first)[d] != (*pair.second)[d])
                lines.add(QStringLiteral("sprite %1 delta %2: bytes differ").arg(sprite).arg(d));
    }
    // Bytes of entries listed again for a sprite, and bytes past every entry's.
    const std::vector<bool> shownA = shownDeltaBytes(a);
    const std::vector<bool> shownB = shownDeltaBytes(b);
    int count = 0;
    qsizetype first = 0;
    for (qsizetype at = 0; at < std::min(a.DeltaStore.size(), b.DeltaStore.size()); ++at)
        if (a.DeltaStore[at] != b.DeltaStore[at] && !(shownA[std::size_t(at)] && shownB[std::size_t(at)]) &&
            count++ == 0)
            first = at;
    if (count > 0)
        lines.add(QStringLiteral("delta store: %1 no shown delta holds differ%2, the first at offset %3")
                      .arg(count == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(count))
                      .arg(count == 1 ? QStringLiteral("s") : QString())
                      .arg(first));
}

void diffObjectInfo(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.chunk("OBJI");
    if (a.ObjectInfo.size() != b.ObjectInfo.size())
        lines.change(QStringLiteral("object info bytes"), a.ObjectInfo.size(), b.ObjectInfo.size());
    else if (a.ObjectInfo != b.ObjectInfo)
        lines.add(QStringLiteral("object info: bytes differ"));
}

void diffUnknownChunks(const QByteArray &fileA, const QByteArray &fileB, Lines &lines) {
    lines.chunk("");
    const QList<UnknownChunkBytes> chunksA = unknownChunkBytes(fileA);
    const QList<UnknownChunkBytes> chunksB = unknownChunkBytes(fileB);
    for (qsizetype i = 0; i < std::max(chunksA.size(), chunksB.size()); ++i) {
        const QString name = QStringLiteral("unknown chunk %1").arg(i);
        if (i >= chunksB.size())
            lines.add(name + QStringLiteral(" \"%1\": only in the first file").arg(tagText(chunksA[i].tag)));
        else if (i >= chunksA.size())
            lines.add(name + QStringLiteral(" \"%1\": only in the second file").arg(tagText(chunksB[i].tag)));
        else if (chunksA[i].tag != chunksB[i].tag)
            lines.change(name, tagText(chunksA[i].tag), tagText(chunksB[i].tag));
        else if (chunksA[i].payload != chunksB[i].payload)
            lines.add(name + QStringLiteral(" \"%1\": bytes differ").arg(tagText(chunksA[i].tag)));
    }
}

// The font table the reader passes over, as the words it holds.
void diffFontTable(const RawFile &a, const RawFile &b, Lines &lines) {
    const auto words = [](const RawFile &raw) {
        QByteArray payload;
        for (const RawChunk &chunk : raw.chunks)
            if (chunk.tag == "FONB")
                payload = chunk.payload;
        QStringList values;
        for (qsizetype at = 0; at + 1 < payload.size(); at += 2)
            values << QString::number(readU16(payload.constData() + at));
        return QLatin1Char('[') + values.join(QStringLiteral(", ")) + QLatin1Char(']');
    };
    lines.chunk("FONB");
    lines.change(QStringLiteral("font table"), words(a), words(b));
}

// Whatever bytes no line above accounts for: chunk sizes, an odd byte the tables leave out, a chunk
// a later one of its tag replaces, bytes after the last chunk.
void diffLeftOver(const RawFile &a, const RawFile &b, Lines &lines) {
    lines.chunk("");
    if (a.chunks.size() == b.chunks.size() && tagList(a) == tagList(b)) {
        for (std::size_t i = 0; i < a.chunks.size(); ++i) {
            const RawChunk &ca = a.chunks[i];
            const RawChunk &cb = b.chunks[i];
            if (ca.declared == cb.declared && ca.payload == cb.payload)
                continue;
            const bool known = isKnownTag(QString::fromLatin1(ca.tag));
            bool replaced = false;
            for (std::size_t later = i + 1; later < a.chunks.size(); ++later)
                replaced = replaced || (known && a.chunks[later].tag == ca.tag);
            if (!replaced && (known ? lines.explained(ca.tag) : ca.payload != cb.payload))
                continue;
            const QString name =
                QStringLiteral("chunk %1 \"%2\"%3")
                    .arg(i)
                    .arg(tagText(ca.tag))
                    .arg(replaced ? QStringLiteral(" (a later one replaces it)") : QString());
            if (ca.declared != cb.declared)
                lines.change(name + QStringLiteral(" size"), ca.declared, cb.declared);
            else
                lines.add(name + QStringLiteral(": bytes differ from offset %1 of its payload")
                                     .arg(firstDifference(ca.payload, cb.payload)));
        }
    }
    lines.change(QStringLiteral("bytes after the last chunk"), QString::fromLatin1(a.tail.toHex()),
                 QString::fromLatin1(b.tail.toHex()));
}

} // namespace

StyleDiff diffStyles(const StyleDocument &a, const StyleDocument &b, const QByteArray &fileA,
                     const QByteArray &fileB) {
    StyleDiff diff;
    Lines lines(diff.lines);
    const RawFile rawA = rawFile(fileA);
    const RawFile rawB = rawFile(fileB);
    lines.chunk("");
    lines.change(QStringLiteral("version"), rawA.version, rawB.version);
    lines.change(QStringLiteral("chunks"), tagList(rawA), tagList(rawB));
    diffTiles(a, b, diff, lines);
    diffSprites(a, b, diff, lines);
    diffPalettes(a, b, lines);
    diffCars(a, b, lines);
    diffSurfaces(a, b, lines);
    diffDeltas(a, b, lines);
    diffObjectInfo(a, b, lines);
    diffFontTable(rawA, rawB, lines);
    diffUnknownChunks(fileA, fileB, lines);
    diffLeftOver(rawA, rawB, lines);
    return diff;
}

QImage diffPicture(const StyleDocument &a, const StyleDocument &b, const StyleDiff &diff) {
    std::vector<std::pair<QImage, QImage>> pairs;
    pairs.reserve(diff.changedTiles.size() + diff.changedSprites.size());
    for (const int tile : diff.changedTiles)
        pairs.emplace_back(tileBitmap(a, tile), tileBitmap(b, tile));
    for (const int sprite : diff.changedSprites)
        pairs.emplace_back(spriteGlyph(a, sprite), spriteGlyph(b, sprite));
    if (pairs.empty())
        return QImage();
    int column = 0;
    int height = PictureGap;
    for (const auto &[before, after] : pairs) {
        column = std::max({column, before.width(), after.width()});
        height += std::max(before.height(), after.height()) + PictureGap;
    }
    QImage picture = makeImage(2 * column + 3 * PictureGap, height, QImage::Format_RGB32);
    if (picture.isNull())
        throw EditorError(QStringLiteral("The %1 changed tiles and sprites make a picture too large to draw.")
                              .arg(pairs.size()));
    picture.fill(PictureBackground);
    QPainter painter(&picture);
    int y = PictureGap;
    for (const auto &[before, after] : pairs) {
        painter.drawImage(PictureGap, y, before);
        painter.drawImage(2 * PictureGap + column, y, after);
        y += std::max(before.height(), after.height()) + PictureGap;
    }
    return picture;
}
