#include "graphics/palettesharing.h"

#include "graphics/tilenumbering.h"
#include "palette/palettelookup.h"

#include <QStringList>
#include <vector>

namespace {

constexpr int NamedAtMost = 8;

// "sprite 4", "sprites 4 and 5", "sprites 4, 5 and 6", "sprites 4, 5, ... and 12 more".
QString listed(const QString &one, const QString &many, const std::vector<int> &numbers) {
    if (numbers.size() == 1)
        return one + QLatin1Char(' ') + QString::number(numbers.front());
    QStringList names;
    const std::size_t named = std::min<std::size_t>(numbers.size(), NamedAtMost);
    for (std::size_t i = 0; i < named; ++i)
        names << QString::number(numbers[i]);
    if (numbers.size() > named)
        return many + QLatin1Char(' ') + names.join(QStringLiteral(", ")) +
               QStringLiteral(" and %1 more").arg(numbers.size() - named);
    const QString last = names.takeLast();
    return many + QLatin1Char(' ') + names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

} // namespace

std::optional<int> graphicPhysicalPalette(const StyleDocument &doc, Graphic graphic) {
    const int virtualPalette = graphic.kind == GraphicKind::Sprite ? spriteVirtualPalette(doc, graphic.number)
                                                                   : tileVirtualPalette(graphic.number);
    const std::optional<int> palette = physicalPaletteOf(doc, virtualPalette);
    // A number past the stored palettes shows black, whatever other graphics carry it.
    if (!palette || !isStoredPalette(*palette) || *palette >= doc.PhysicalPaletteCount)
        return std::nullopt;
    return palette;
}

QString paletteSharingLine(const StyleDocument &doc, Graphic graphic) {
    const std::optional<int> palette = graphicPhysicalPalette(doc, graphic);
    if (!palette)
        return QStringLiteral("this %1 shows no stored palette")
            .arg(graphic.kind == GraphicKind::Sprite ? QStringLiteral("sprite") : QStringLiteral("tile"));
    std::vector<int> sprites, tiles;
    for (int s = 0; s < doc.spriteCount(); ++s)
        if (Graphic{GraphicKind::Sprite, s} != graphic &&
            graphicPhysicalPalette(doc, {GraphicKind::Sprite, s}) == palette)
            sprites.push_back(s);
    for (int t = 0; t < tileCount(doc.TileStore); ++t)
        if (Graphic{GraphicKind::Tile, t} != graphic &&
            graphicPhysicalPalette(doc, {GraphicKind::Tile, t}) == palette)
            tiles.push_back(t);
    QStringList parts;
    if (!sprites.empty())
        parts << listed(QStringLiteral("sprite"), QStringLiteral("sprites"), sprites);
    if (!tiles.empty())
        parts << listed(QStringLiteral("tile"), QStringLiteral("tiles"), tiles);
    if (parts.isEmpty())
        return QStringLiteral("palette %1 shows nothing else").arg(*palette);
    return QStringLiteral("palette %1 also shows %2").arg(*palette).arg(parts.join(QStringLiteral(", ")));
}
