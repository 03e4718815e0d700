#include "folder/stylecheck.h"

#include "folder/folderlayout.h"
#include "graphics/tilenumbering.h"
#include "style/surfacelists.h"

#include <QtEndian>
#include <map>
#include <numeric>
#include <set>

namespace {

class Findings {
public:
    void error(const QString &text) { list_.push_back({CheckSeverity::Error, text}); }
    void warning(const QString &text) { list_.push_back({CheckSeverity::Warning, text}); }
    std::vector<CheckFinding> take() { return std::move(list_); }

private:
    std::vector<CheckFinding> list_;
};

// Entries past the sprite count hold no whole record (a partial last entry is left out).
int checkedSpriteCount(const StyleDocument &doc) {
    return std::min(doc.spriteCount(), doc.SpriteIndex.count());
}

void checkSprites(const StyleDocument &doc, Findings &findings) {
    const int pages = doc.spritePageCount();
    for (int s = 0; s < checkedSpriteCount(doc); ++s) {
        const SpriteEntry &entry = doc.SpriteIndex[std::size_t(s)];
        if (entry.page() >= pages)
            findings.error(QStringLiteral("sprite %1: page %2 is past the %3 pages of the sprite graphics.")
                               .arg(s)
                               .arg(entry.page())
                               .arg(pages));
        else if (entry.x() + entry.w > PageSide || entry.y() + entry.h > PageSide)
            findings.error(QStringLiteral("sprite %1: its %2*%3 pixels at x %4, y %5 run off page %6.")
                               .arg(s)
                               .arg(entry.w)
                               .arg(entry.h)
                               .arg(entry.x())
                               .arg(entry.y())
                               .arg(entry.page()));
    }
}

void checkPalettes(const StyleDocument &doc, Findings &findings) {
    for (int v = 0; v < doc.PaletteIndexCount(); ++v) {
        const int physical = doc.PaletteIndex[std::size_t(v)];
        if (physical >= doc.PhysicalPaletteCount)
            findings.error(QStringLiteral("virtual palette %1: physical palette %2 is past the %3 physical "
                                          "palettes.")
                               .arg(v)
                               .arg(physical)
                               .arg(doc.PhysicalPaletteCount));
    }
    const int total = std::accumulate(doc.PaletteCounts.begin(), doc.PaletteCounts.end(), 0);
    if (total > doc.PaletteIndexCount()) {
        QStringList counts;
        for (int k = 0; k < PaletteKindCount; ++k)
            counts << QStringLiteral("%1 %2").arg(PaletteKindNames[k]).arg(doc.PaletteCounts[k]);
        findings.error(QStringLiteral("palette counts: %1 add up to %2, past the %3 entries of the palette "
                                      "index.")
                           .arg(counts.join(QStringLiteral(", ")))
                           .arg(total)
                           .arg(doc.PaletteIndexCount()));
    }
    // Tile t shows virtual palette t, sprite s virtual palette (tile count) + s.
    const int tiles = tileCount(doc.TileStore);
    if (doc.PaletteCounts[PalTile] < tiles)
        findings.warning(QStringLiteral("palette counts: %1 tile palettes for %2 tiles; the tiles from %1 on "
                                        "have none.")
                             .arg(doc.PaletteCounts[PalTile])
                             .arg(tiles));
    const int sprites = checkedSpriteCount(doc);
    if (doc.PaletteCounts[PalSprite] < sprites)
        findings.warning(QStringLiteral("palette counts: %1 sprite palettes for %2 sprites; the sprites from "
                                        "%1 on have none.")
                             .arg(doc.PaletteCounts[PalSprite])
                             .arg(sprites));
}

void checkSpriteCounts(const StyleDocument &doc, Findings &findings) {
    const int total = std::accumulate(doc.SpriteBases.begin(), doc.SpriteBases.end(), 0);
    if (total == doc.spriteCount())
        return;
    QStringList counts;
    for (int k = 0; k < SpriteKindCount; ++k)
        counts << QStringLiteral("%1 %2").arg(SpriteKindNames[k]).arg(doc.SpriteBases[k]);
    findings.error(QStringLiteral("sprite counts: %1 add up to %2, but the sprite index holds %3 sprites.")
                       .arg(counts.join(QStringLiteral(", ")))
                       .arg(total)
                       .arg(doc.spriteCount()));
}

void checkCars(const StyleDocument &doc, Findings &findings) {
    const qint64 carSprites = doc.SpriteBases[SprCar];
    std::set<int> models;
    int firstPast = -1;
    int laterPast = 0;
    for (int c = 0; c < doc.CarCount(); ++c) {
        const CarInfoRecord &car = doc.CarInfoTable[std::size_t(c)];
        models.insert(car.model);
        // A car's sprites end just before its running sprite sum. Once one car's run passes the car
        // sprites, every later car with sprites passes them too: the fault is the first car's.
        if (car.sprite > 0 && qint64(car.sprite_sum) > carSprites) {
            if (firstPast < 0)
                firstPast = c;
            else
                ++laterPast;
        }
    }
    if (firstPast >= 0) {
        const CarInfoRecord &car = doc.CarInfoTable[std::size_t(firstPast)];
        QString text = QStringLiteral("car %1 (model %2): its sprites %3 to %4 are not among the %5 car "
                                      "sprites")
                           .arg(firstPast)
                           .arg(car.model)
                           .arg(qint64(car.sprite_sum) - car.sprite)
                           .arg(qint64(car.sprite_sum) - 1)
                           .arg(carSprites);
        if (laterPast > 0)
            text += QStringLiteral("; the sprites of the %1 cars with sprites after it follow on past them "
                                   "too")
                        .arg(laterPast);
        findings.error(text + QLatin1Char('.'));
    }
    for (int r = 0; r < doc.RecycleList.count(); ++r) {
        const int model = doc.RecycleList[std::size_t(r)];
        if (!models.contains(model))
            findings.error(
                QStringLiteral("recycle list entry %1: model %2 has no car record.").arg(r).arg(model));
    }
}

void checkSurfaces(const StyleDocument &doc, Findings &findings) {
    const int tiles = tileCount(doc.TileStore);
    std::size_t list = 0;
    for (int w = 0; w < doc.SurfaceListsCount() && list < SurfaceListCount; ++w) {
        const int tile = doc.SurfaceLists[std::size_t(w)];
        if (tile == 0)
            ++list;
        else if (tile >= tiles)
            findings.error(QStringLiteral("surface list \"%1\": tile %2 is past the %3 tiles.")
                               .arg(SurfaceLabels[list])
                               .arg(tile)
                               .arg(tiles));
    }
}

// Why the runs of one delta would draw outside a w*h sprite, or an empty text.
QString deltaProblem(QByteArrayView bytes, int w, int h) {
    quint16 position = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (at + 3 > bytes.size())
            return QStringLiteral("ends inside a run header");
        position = quint16(position + qFromLittleEndian<quint16>(bytes.data() + at));
        const int length = quint8(bytes[at + 2]);
        if (at + 3 + length > bytes.size())
            return QStringLiteral("ends inside a run of %1 pixels").arg(length);
        const int x = position % 256;
        const int y = position / 256;
        if (y >= h || x + length > w)
            return QStringLiteral("draws %1 pixels at x %2, y %3, outside the sprite's %4*%5 pixels")
                .arg(length)
                .arg(x)
                .arg(y)
                .arg(w)
                .arg(h);
        position = quint16(position + length);
        at += 3 + length;
    }
    return QString();
}

void checkDeltas(const StyleDocument &doc, Findings &findings) {
    const int sprites = checkedSpriteCount(doc);
    std::map<int, int> firstEntry;
    qint64 offset = 0;
    for (int e = 0; e < doc.DeltaIndexCount(); ++e) {
        const DeltaIndexEntry &entry = doc.DeltaIndex[std::size_t(e)];
        const QString name = QStringLiteral("delta entry %1 (sprite %2)").arg(e).arg(entry.sprite);
        const bool exists = entry.sprite < sprites;
        if (!exists)
            findings.error(name + QStringLiteral(": the style has no sprite %1; it has %2 sprites.")
                                      .arg(entry.sprite)
                                      .arg(sprites));
        if (const auto [it, added] = firstEntry.emplace(entry.sprite, e); !added)
            findings.error(name + QStringLiteral(": the sprite already has delta entry %1, which the editor "
                                                 "shows instead.")
                                      .arg(it->second));
        for (int d = 0; d < entry.delta_count; ++d) {
            const qint64 size = entry.size[std::size_t(d)];
            if (size > 0 && offset + size > doc.DeltaStoreSize()) {
                findings.error(name +
                               QStringLiteral(": delta %1 (%2 bytes at %3) runs past the %4 bytes of the "
                                              "delta store.")
                                   .arg(d)
                                   .arg(size)
                                   .arg(offset)
                                   .arg(doc.DeltaStoreSize()));
                offset += size;
                continue;
            }
            if (exists) {
                const SpriteEntry &sprite = doc.SpriteIndex[entry.sprite];
                const QString problem =
                    deltaProblem(QByteArrayView(doc.DeltaStore).sliced(offset, size), sprite.w, sprite.h);
                if (!problem.isEmpty())
                    findings.error(name + QStringLiteral(": delta %1 %2.").arg(d).arg(problem));
            }
            offset += size;
        }
    }
}

} // namespace

QString CheckFinding::line() const {
    return (severity == CheckSeverity::Error ? QStringLiteral("error: ") : QStringLiteral("warning: ")) +
           text;
}

std::vector<CheckFinding> checkStyle(const StyleDocument &doc) {
    Findings findings;
    checkSprites(doc, findings);
    checkSpriteCounts(doc, findings);
    checkPalettes(doc, findings);
    checkCars(doc, findings);
    checkSurfaces(doc, findings);
    checkDeltas(doc, findings);
    return findings.take();
}
