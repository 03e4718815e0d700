#include "graphics/spritepages.h"

#include "graphics/spriteentries.h"
#include "platform/imagememory.h"

namespace {

bool paintable(const QImage &overlay, const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
    return spriteOnItsPage(doc, entry) && overlay.rect().contains(spriteRect(entry));
}

} // namespace

QImage buildSpriteOverlay(const StyleDocument &doc, bool borders, const std::function<void(int)> &painted) {
    if (doc.SpriteStore.isNull())
        return QImage();
    QImage overlay = makeImage(doc.SpriteStore.height(), PageSide, QImage::Format_RGB32);
    overlay.fill(SpriteStripBackground);
    for (int sprite = 0; sprite < doc.spriteCount(); ++sprite) {
        paintSprite(overlay, doc, sprite);
        if (borders)
            outlineSprite(overlay, doc, sprite);
        if (painted)
            painted(sprite);
    }
    return overlay;
}

bool sameSpriteOverlay(const StyleDocument &a, const StyleDocument &b) {
    return a.SpriteIndexSize == b.SpriteIndexSize && a.SpriteIndex == b.SpriteIndex &&
           a.SpriteBases == b.SpriteBases && a.PaletteIndex == b.PaletteIndex &&
           a.PaletteBases == b.PaletteBases && a.PhysicalPaletteCount == b.PhysicalPaletteCount &&
           a.PhysicalPalettes == b.PhysicalPalettes && a.SpriteStore == b.SpriteStore;
}

void paintSprite(QImage &overlay, const StyleDocument &doc, int sprite) {
    if (!paintable(overlay, doc, sprite))
        return;
    const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
    const QList<QRgb> colours = spriteColours(doc, sprite);
    const QRgb *table = colours.constData();
    const int storeTop = entry.page() * PageSide + entry.y();
    const int left = entry.page() * PageSide + entry.x();
    for (int row = 0; row < entry.h; ++row) {
        const uchar *source = doc.SpriteStore.constScanLine(storeTop + row) + entry.x();
        auto *target = reinterpret_cast<QRgb *>(overlay.scanLine(entry.y() + row)) + left;
        for (int column = 0; column < entry.w; ++column)
            target[column] = table[source[column]];
    }
}

void outlineSprite(QImage &overlay, const StyleDocument &doc, int sprite) {
    if (!paintable(overlay, doc, sprite))
        return;
    const QRect rect = spriteRect(doc.SpriteIndex[static_cast<std::size_t>(sprite)]);
    auto *top = reinterpret_cast<QRgb *>(overlay.scanLine(rect.top()));
    auto *bottom = reinterpret_cast<QRgb *>(overlay.scanLine(rect.bottom()));
    for (int x = rect.left(); x <= rect.right(); ++x)
        top[x] = bottom[x] = SpriteOutlineColour;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(overlay.scanLine(y));
        line[rect.left()] = line[rect.right()] = SpriteOutlineColour;
    }
}
