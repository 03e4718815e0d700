#include "graphics/spritepages.h"

#include "graphics/spriteentries.h"
#include "platform/imagememory.h"

#include <algorithm>

namespace {

bool paintable(const QImage &overlay, const StyleDocument &doc, int sprite) {
    const SpriteEntry &entry = doc.SpriteIndex[static_cast<std::size_t>(sprite)];
    return spriteOnItsPage(doc, entry) && overlay.rect().contains(spriteRect(entry));
}

} // namespace

QImage buildSpriteOverlay(const StyleDocument &doc, bool borders, const std::function<void(int)> &painted) {
    return SpriteStrip(doc, borders).paintedWhole(painted);
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

SpriteStrip::SpriteStrip(const StyleDocument &doc, bool borders) : source_(doc), borders_(borders) {
    if (doc.SpriteStore.isNull())
        return;
    // The memory is taken now and filled page by page: the first touch of each of its pages costs
    // the system more than painting it.
    image_ = makeImage(doc.SpriteStore.height(), PageSide, QImage::Format_RGB32);
    const int pages = (image_.width() + PageSide - 1) / PageSide;
    pagePainted_.assign(std::size_t(pages), false);
    spritesOfPage_.resize(std::size_t(pages));
    for (int sprite = 0; sprite < doc.spriteCount(); ++sprite)
        if (paintable(image_, doc, sprite))
            spritesOfPage_[std::size_t(doc.SpriteIndex[std::size_t(sprite)].page())].push_back(sprite);
}

const QImage &SpriteStrip::painted(QRect area) const {
    const QRect within = area.intersected(image_.rect());
    if (within.isEmpty())
        return image_;
    for (int page = within.left() / PageSide; page <= within.right() / PageSide; ++page)
        paintPage(page);
    return image_;
}

const QImage &SpriteStrip::paintedWhole(const std::function<void(int)> &painted) const {
    paintSprites(image_.rect(), painted);
    return image_;
}

void SpriteStrip::paintSprites(QRect area, const std::function<void(int)> &painted) const {
    const QRect within = area.intersected(image_.rect());
    std::vector<bool> fresh(pagePainted_.size());
    for (int page = within.left() / PageSide; !within.isEmpty() && page <= within.right() / PageSide; ++page)
        if (!pagePainted_[std::size_t(page)]) {
            fillPage(page);
            fresh[std::size_t(page)] = pagePainted_[std::size_t(page)] = true;
        }
    for (int sprite = 0; sprite < source_.spriteCount(); ++sprite) {
        if (paintable(image_, source_, sprite) &&
            fresh[std::size_t(source_.SpriteIndex[std::size_t(sprite)].page())]) {
            paintSprite(image_, source_, sprite);
            if (borders_)
                outlineSprite(image_, source_, sprite);
        }
        if (painted)
            painted(sprite);
    }
}

bool SpriteStrip::pagePainted(int page) const {
    return page >= 0 && std::size_t(page) < pagePainted_.size() && pagePainted_[std::size_t(page)];
}

void SpriteStrip::repaintSprite(const StyleDocument &doc, int sprite, bool outline) {
    if (!paintable(image_, doc, sprite))
        return;
    paintPage(doc.SpriteIndex[std::size_t(sprite)].page());
    paintSprite(image_, doc, sprite);
    if (outline)
        outlineSprite(image_, doc, sprite);
    repainted_ = true;
}

bool SpriteStrip::shows(const StyleDocument &doc, bool borders) const {
    return !repainted_ && borders_ == borders && sameSpriteOverlay(source_, doc);
}

void SpriteStrip::paintPage(int page) const {
    if (page < 0 || std::size_t(page) >= pagePainted_.size() || pagePainted_[std::size_t(page)])
        return;
    fillPage(page);
    for (const int sprite : spritesOfPage_[std::size_t(page)]) {
        paintSprite(image_, source_, sprite);
        if (borders_)
            outlineSprite(image_, source_, sprite);
    }
    pagePainted_[std::size_t(page)] = true;
}

void SpriteStrip::fillPage(int page) const {
    const int left = page * PageSide;
    const int width = std::min(PageSide, image_.width() - left);
    for (int row = 0; row < image_.height(); ++row)
        std::fill_n(reinterpret_cast<QRgb *>(image_.scanLine(row)) + left, width, SpriteStripBackground);
}
