#include "stylediff.h"

#include "deltaunit.h"
#include "editorerror.h"
#include "filerecords.h"
#include "imagememory.h"
#include "spriteentries.h"
#include "stylereader.h"
#include "surfacelists.h"
#include "tilenumbering.h"
#include "tileoperations.h"

#include <QPainter>
#include <QtEndian>
#include <concepts>
#include <cstring>
#include <map>

namespace {

constexpr const char *PaletteKindNames[] = {"tile",           "sprite",        "car_remap",  "ped_remap",
                                            "code_obj_remap", "map_obj_remap", "user_remap", "font_remap"};
constexpr const char *SpriteKindNames[] = {"car", "ped", "code_obj", "map_obj", "user", "font"};

// Space around and between the pictures of a diff picture.
constexpr int PictureGap = 4;
const QRgb PictureBackground = qRgb(64, 64, 64);

QString valueText(const QString &text) {
    return text;
}
template <std::integral T> QString valueText(T value) {
    return QString::number(qint64(value));
}

class Lines {
public:
    explicit Lines(QStringList &lines) : lines_(lines) {}
    template <typename T> void change(const QString &what, const T &before, const T &after) {
        if (before != after)
            lines_ << QStringLiteral("%1: %2 -> %3").arg(what, valueText(before), valueText(after));
    }
    void add(const QString &line) { lines_ << line; }

private:
    QStringList &lines_;
};

bool sameRect(const QImage &a, const QImage &b, const QRect &rect) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        if (std::memcmp(a.constScanLine(y) + rect.left(), b.constScanLine(y) + rect.left(),
                        std::size_t(rect.width())) != 0)
            return false;
    return true;
}

void diffTiles(const StyleDocument &a, const StyleDocument &b, StyleDiff &diff, Lines &lines) {
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

void diffSprites(const StyleDocument &a, const StyleDocument &b, StyleDiff &diff, Lines &lines) {
    const int countA = std::min(a.spriteCount(), a.SpriteIndex.count());
    const int countB = std::min(b.spriteCount(), b.SpriteIndex.count());
    lines.change(QStringLiteral("sprites"), countA, countB);
    lines.change(QStringLiteral("sprite pages"), a.spritePageCount(), b.spritePageCount());
    for (int k = 0; k < SpriteKindCount; ++k)
        lines.change(QStringLiteral("sprite count %1").arg(QLatin1String(SpriteKindNames[k])),
                     a.SpriteBases[k], b.SpriteBases[k]);
    for (int s = 0; s < std::min(countA, countB); ++s) {
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
        const QImage pa = storedPixels(a, s);
        const QImage pb = storedPixels(b, s);
        if (pa.size() != pb.size() || (!pa.isNull() && !sameRect(pa, pb, pa.rect()))) {
            lines.add(name + QStringLiteral("pixels differ"));
            diff.changedSprites.push_back(s);
        }
    }
}

void diffPalettes(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    lines.change(QStringLiteral("physical palettes"), a.PhysicalPaletteCount, b.PhysicalPaletteCount);
    for (int p = 0; p < std::min(a.PhysicalPaletteCount, b.PhysicalPaletteCount); ++p)
        for (int c = 0; c < 256; ++c) {
            const int at = physicalColourOffset(p, c);
            if (std::memcmp(a.PhysicalPalettes.constData() + at, b.PhysicalPalettes.constData() + at, 4) !=
                0) {
                lines.add(QStringLiteral("palette %1: colours differ").arg(p));
                break;
            }
        }
    lines.change(QStringLiteral("virtual palettes"), a.PaletteIndexCount(), b.PaletteIndexCount());
    for (int k = 0; k < PaletteKindCount; ++k)
        lines.change(QStringLiteral("palette count %1").arg(QLatin1String(PaletteKindNames[k])),
                     a.PaletteCounts[k], b.PaletteCounts[k]);
    for (int v = 0; v < std::min(a.PaletteIndexCount(), b.PaletteIndexCount()); ++v)
        lines.change(QStringLiteral("virtual palette %1").arg(v), a.PaletteIndex[std::size_t(v)],
                     b.PaletteIndex[std::size_t(v)]);
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
    lines.change(QStringLiteral("recycle list"), recycled(a), recycled(b));
}

void diffSurfaces(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    const auto listsA = splitSurfaceLists(a.SurfaceLists);
    const auto listsB = splitSurfaceLists(b.SurfaceLists);
    for (std::size_t k = 0; k < SurfaceListCount; ++k)
        lines.change(QStringLiteral("surface list \"%1\"").arg(SurfaceLabels[k]),
                     QLatin1Char('[') + listsA[k].join(QStringLiteral(", ")) + QLatin1Char(']'),
                     QLatin1Char('[') + listsB[k].join(QStringLiteral(", ")) + QLatin1Char(']'));
}

// Every sprite's deltas as the editor finds them: the bytes of each delta of its first entry.
std::map<int, std::vector<QByteArray>> deltasBySprite(const StyleDocument &doc) {
    std::map<int, std::vector<QByteArray>> deltas;
    for (const DeltaIndexEntry &entry : doc.DeltaIndex) {
        if (deltas.contains(entry.sprite))
            continue;
        std::vector<QByteArray> &list = deltas[entry.sprite];
        for (int d = 0; d < entry.delta_count; ++d)
            list.push_back(deltaBytes(doc, entry.sprite, d).toByteArray());
    }
    return deltas;
}

void diffDeltas(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    const auto deltasA = deltasBySprite(a);
    const auto deltasB = deltasBySprite(b);
    std::map<int, std::pair<const std::vector<QByteArray> *, const std::vector<QByteArray> *>> sprites;
    for (const auto &[sprite, list] : deltasA)
        sprites[sprite].first = &list;
    for (const auto &[sprite, list] : deltasB)
        sprites[sprite].second = &list;
    static const std::vector<QByteArray> none;
    for (const auto &[sprite, pair] : sprites) {
        const std::vector<QByteArray> &da = pair.first ? *pair.first : none;
        const std::vector<QByteArray> &db = pair.second ? *pair.second : none;
        const QString name = QStringLiteral("sprite %1 ").arg(sprite);
        lines.change(name + QStringLiteral("deltas"), qsizetype(da.size()), qsizetype(db.size()));
        for (std::size_t d = 0; d < std::min(da.size(), db.size()); ++d)
            if (da[d] != db[d])
                lines.add(name + QStringLiteral("delta %1: bytes differ").arg(d));
    }
}

void diffObjectInfo(const StyleDocument &a, const StyleDocument &b, Lines &lines) {
    if (a.ObjectInfo.size() != b.ObjectInfo.size())
        lines.change(QStringLiteral("object info bytes"), a.ObjectInfo.size(), b.ObjectInfo.size());
    else if (a.ObjectInfo != b.ObjectInfo)
        lines.add(QStringLiteral("object info: bytes differ"));
}

void diffUnknownChunks(const QByteArray &fileA, const QByteArray &fileB, Lines &lines) {
    const QList<UnknownChunkBytes> chunksA = unknownChunkBytes(fileA);
    const QList<UnknownChunkBytes> chunksB = unknownChunkBytes(fileB);
    for (qsizetype i = 0; i < std::max(chunksA.size(), chunksB.size()); ++i) {
        const QString name = QStringLiteral("unknown chunk %1").arg(i);
        if (i >= chunksB.size())
            lines.add(
                name +
                QStringLiteral(" \"%1\": only in the first file").arg(QString::fromLatin1(chunksA[i].tag)));
        else if (i >= chunksA.size())
            lines.add(
                name +
                QStringLiteral(" \"%1\": only in the second file").arg(QString::fromLatin1(chunksB[i].tag)));
        else if (chunksA[i].tag != chunksB[i].tag)
            lines.change(name, QString::fromLatin1(chunksA[i].tag), QString::fromLatin1(chunksB[i].tag));
        else if (chunksA[i].payload != chunksB[i].payload)
            lines.add(name +
                      QStringLiteral(" \"%1\": bytes differ").arg(QString::fromLatin1(chunksA[i].tag)));
    }
}

} // namespace

StyleDiff diffStyles(const StyleDocument &a, const StyleDocument &b, const QByteArray &fileA,
                     const QByteArray &fileB) {
    StyleDiff diff;
    Lines lines(diff.lines);
    diffTiles(a, b, diff, lines);
    diffSprites(a, b, diff, lines);
    diffPalettes(a, b, lines);
    diffCars(a, b, lines);
    diffSurfaces(a, b, lines);
    diffDeltas(a, b, lines);
    diffObjectInfo(a, b, lines);
    diffUnknownChunks(fileA, fileB, lines);
    return diff;
}

QImage diffPicture(const StyleDocument &a, const StyleDocument &b, const StyleDiff &diff) {
    std::vector<std::pair<QImage, QImage>> pairs;
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
