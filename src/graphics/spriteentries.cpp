#include "graphics/spriteentries.h"

#include "palette/palettelookup.h"
#include "platform/imagememory.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

const std::array<QString, SpriteKindCount> KindNames = {
    QStringLiteral("CAR"),        QStringLiteral("PED"),         QStringLiteral("CODE OBJECT"),
    QStringLiteral("MAP OBJECT"), QStringLiteral("USER OBJECT"), QStringLiteral("FONT")};

} // namespace

QString SpriteKind(const StyleDocument &doc, int sprite) {
    int end = 0;
    for (int kind = 0; kind < SprFont; ++kind) {
        end += doc.SpriteBases[static_cast<std::size_t>(kind)];
        if (sprite < end)
            return KindNames[static_cast<std::size_t>(kind)];
    }
    return KindNames[SprFont];
}

QString SpriteFileName(const StyleDocument &doc, int sprite) {
    return QStringLiteral("VYR2_%1_%2.bmp").arg(SpriteKind(doc, sprite)).arg(sprite);
}

bool isCarSprite(const StyleDocument &doc, int sprite) {
    return sprite < doc.SpriteBases[SprCar];
}

int carOfSprite(const StyleDocument &doc, int sprite) {
    if (sprite == 1)
        return 1;
    for (int car = 0; car < doc.CarCount(); ++car) {
        const quint32 sum = doc.CarInfoTable[static_cast<std::size_t>(car)].sprite_sum;
        if (sum == 0)
            break;
        if (qint64(sum) - 1 == sprite)
            return car;
    }
    return sprite;
}

bool spriteOnItsPage(const StyleDocument &doc, const SpriteEntry &entry) {
    return entry.w > 0 && entry.h > 0 && entry.page() < doc.spritePageCount() &&
           entry.x() + entry.w <= PageSide && entry.y() + entry.h <= PageSide;
}

std::optional<int> spriteAtPoint(const StyleDocument &doc, QPoint point) {
    for (int sprite = doc.spriteCount() - 1; sprite >= 0; --sprite) {
        const SpriteEntry &entry = entryOf(doc, sprite);
        if (spriteOnItsPage(doc, entry) && spriteRect(entry).contains(point))
            return sprite;
    }
    return std::nullopt;
}

std::optional<int> spritePhysicalPalette(const StyleDocument &doc, int sprite) {
    return physicalPaletteOf(doc, spriteVirtualPalette(doc, sprite));
}

QList<QRgb> spriteColours(const StyleDocument &doc, int sprite) {
    return ClutToPal(doc, spritePhysicalPalette(doc, sprite).value_or(-1));
}

QImage spriteGlyph(const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = entryOf(doc, sprite);
    if (entry.w == 0 || entry.h == 0)
        return QImage();
    QImage glyph = makeImage(entry.w, entry.h, QImage::Format_Indexed8);
    glyph.fill(0);
    glyph.setColorTable(spriteColours(doc, sprite));
    const int top = entry.page() * PageSide + entry.y();
    const int width = std::clamp(PageSide - entry.x(), 0, int(entry.w));
    for (int row = 0; row < entry.h && top + row < doc.SpriteStore.height(); ++row)
        std::memcpy(glyph.scanLine(row), doc.SpriteStore.constScanLine(top + row) + entry.x(),
                    static_cast<std::size_t>(width));
    return glyph;
}

QStringList spriteInfo(const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = entryOf(doc, sprite);
    const std::optional<int> palette = spritePhysicalPalette(doc, sprite);
    return {SpriteKind(doc, sprite),
            QString::number(sprite),
            QStringLiteral("file name: \"%1\"").arg(SpriteFileName(doc, sprite)),
            QStringLiteral("Page: %1").arg(entry.page()),
            QStringLiteral("X: %1").arg(entry.x()),
            QStringLiteral("Y: %1").arg(entry.y()),
            QStringLiteral("width: %1").arg(entry.w),
            QStringLiteral("height: %1").arg(entry.h),
            QStringLiteral("Virtual palette: %1").arg(spriteVirtualPalette(doc, sprite)),
            QStringLiteral("Physical palette: %1")
                .arg(palette ? QString::number(*palette) : QStringLiteral("none"))};
}
