#pragma once

#include "style/styledocument.h"

#include <QImage>
#include <functional>

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
