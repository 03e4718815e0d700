#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <functional>
#include <vector>

// The page strip `spriteoverlay`: the pages of the sprite store side by side (page p at x offset
// 256 p), 256 rows high, true colour, every sprite painted in its own palette.

// Colour of the strip where no sprite is painted.
inline constexpr QRgb SpriteStripBackground = 0xff303030;
inline constexpr QRgb SpriteOutlineColour = 0xffff0000;

// Paints every sprite that lies on its page, in index order, each outlined in red when `borders`
// is set. `painted` is told each sprite number after it is drawn.
QImage buildSpriteOverlay(const StyleDocument &doc, bool borders,
                          const std::function<void(int)> &painted = {});
// Whether the two documents paint the same strip: the same sprite pixels, entries and palettes.
bool sameSpriteOverlay(const StyleDocument &a, const StyleDocument &b);
// Repaints one sprite's pixels, and its one-pixel red frame on its outermost pixels. Sprites off
// their page are left out.
void paintSprite(QImage &overlay, const StyleDocument &doc, int sprite);
void outlineSprite(QImage &overlay, const StyleDocument &doc, int sprite);

// The strip painted a page at a time, the first time something asks for that page: a window that
// opens a style of thousands of sprites touches only the pages it shows. Every page is painted
// from the document as it was when the strip was made, so a page painted late looks as it would
// have looked then; sprites repainted since go over it.
class SpriteStrip {
public:
    SpriteStrip() = default;
    // Takes the strip's memory at once (std::bad_alloc when it cannot be had); paints nothing yet.
    SpriteStrip(const StyleDocument &doc, bool borders);

    bool isNull() const { return image_.isNull(); }
    QSize size() const { return image_.size(); }
    // The strip, with every page that `area` touches painted.
    const QImage &painted(QRect area) const;
    // The whole strip, each page not yet painted painted now; see paintSprites.
    const QImage &paintedWhole(const std::function<void(int)> &painted = {}) const;
    // Paints the pages that `area` touches and that are not painted yet, sprite by sprite in index
    // order; `painted` is told every sprite number, whether its page was among them or not.
    void paintSprites(QRect area, const std::function<void(int)> &painted) const;
    // Whether `page` has been painted.
    bool pagePainted(int page) const;
    // Paints `sprite` of `doc` over the strip (its page painted first), outlined when `outline`.
    void repaintSprite(const StyleDocument &doc, int sprite, bool outline);
    // Whether the strip still shows what `doc` paints with `borders`: it was made from an equal
    // document and no sprite was repainted into it since.
    bool shows(const StyleDocument &doc, bool borders) const;

private:
    void paintPage(int page) const;
    void fillPage(int page) const;

    StyleDocument source_;
    bool borders_ = false;
    bool repainted_ = false;
    // The sprites that lie on each page, in index order.
    std::vector<std::vector<int>> spritesOfPage_;
    mutable QImage image_;
    mutable std::vector<bool> pagePainted_;
};
